#include "views/drag/ImageDragPayload.h"

#include "views/resources/ViewImages.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <atomic>
#include <utility>

namespace gelcoat {

namespace {

DragEncoders& installedEncoders()
{
    static DragEncoders encoders;
    return encoders;
}

QByteArray encoded(const ImageEncoder& encoder, const QImage& image, const char* type)
{
    if (encoder)
        return encoder(image);
    qCWarning(lcViews) << "No" << type << "writer installed; dragging pictures without it";
    return {};
}

// The folder of this run's dragged files in the user's cache folder (the
// system's temporary folder when there is none). It and its files stay
// until the program ends, as a receiver may read a file after the drag is
// over; the folder's destructor then removes them.
QTemporaryDir& dragFolder()
{
    static QTemporaryDir folder = [] {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (!cache.isEmpty() && QDir().mkpath(cache)) {
            QTemporaryDir inCache(cache + QStringLiteral("/drag-XXXXXX"));
            if (inCache.isValid())
                return inCache;
        }
        return QTemporaryDir();
    }();
    return folder;
}

// Each drag's file in a folder of its own, so that it has exactly its name
// while an earlier drag's file of the same name may still be read.
QString writeDragFile(const QByteArray& bytes, const QString& name)
{
    static std::atomic<int> counter{0};
    QTemporaryDir& folder = dragFolder();
    if (!folder.isValid())
        return {};
    const QString place = folder.filePath(QString::number(++counter));
    if (!QDir().mkpath(place))
        return {};
    const QString path = place + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

} // namespace

void setDragEncoders(DragEncoders encoders)
{
    installedEncoders() = std::move(encoders);
}

QString dragFileName(const QString& name)
{
    QString file = name.trimmed();
    file.replace(u'/', u'-');
    if (file.isEmpty())
        file = QStringLiteral("Gelcoat image");
    if (!file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        file += QStringLiteral(".png");
    return file;
}

QMimeData* makeImageDragPayload(const QImage& image, const QString& fileName)
{
    if (image.isNull())
        return nullptr;
    const QByteArray tiff = encoded(installedEncoders().tiff, image, "TIFF");
    const QByteArray png = encoded(installedEncoders().png, image, "PNG");
    if (tiff.isEmpty() && png.isEmpty())
        return nullptr;

    auto* payload = new QMimeData;
    if (!tiff.isEmpty())
        payload->setData(QStringLiteral("image/tiff"), tiff);
    if (!png.isEmpty())
        payload->setData(QStringLiteral("image/png"), png);
    const QString name = dragFileName(fileName);
    const QString file = !png.isEmpty()
                             ? writeDragFile(png, name)
                             : writeDragFile(tiff, name.chopped(4) + QStringLiteral(".tiff"));
    if (!file.isEmpty())
        payload->setUrls({QUrl::fromLocalFile(file)});
    return payload;
}

} // namespace gelcoat
