#include "views/drag/ImageDragPayload.h"

#include "views/resources/ViewImages.h"

#include <QBuffer>
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

TiffEncoder& installedEncoder()
{
    static TiffEncoder encoder;
    return encoder;
}

QByteArray pngData(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return bytes;
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

void setDragTiffEncoder(TiffEncoder encoder)
{
    installedEncoder() = std::move(encoder);
}

bool hasDragTiffEncoder()
{
    return bool(installedEncoder());
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
    QByteArray tiff;
    if (installedEncoder())
        tiff = installedEncoder()(image);
    else if (static bool warned = false; !std::exchange(warned, true))
        qCWarning(lcViews) << "No TIFF writer installed; dragging pictures as PNG only";
    const QByteArray png = pngData(image);

    auto* payload = new QMimeData;
    if (!tiff.isEmpty())
        payload->setData(QStringLiteral("image/tiff"), tiff);
    if (!png.isEmpty())
        payload->setData(QStringLiteral("image/png"), png);
    const QString file = png.isEmpty() ? QString() : writeDragFile(png, dragFileName(fileName));
    if (!file.isEmpty())
        payload->setUrls({QUrl::fromLocalFile(file)});
    return payload;
}

} // namespace gelcoat
