#include "views/drag/ImageDragPayload.h"

#include "views/resources/ViewImages.h"

#include <QFile>
#include <QMimeData>
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

// Files handed out by drags stay until the program ends: the receiver may
// read them after the drag is over.
QString writeDragFile(const QByteArray& bytes, const QString& suffix)
{
    static QTemporaryDir folder;
    static std::atomic<int> counter{0};
    if (!folder.isValid())
        return {};
    const QString path = folder.filePath(
        QStringLiteral("Gelcoat image %1.%2").arg(++counter).arg(suffix));
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

QMimeData* makeImageDragPayload(const QImage& image)
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
    const QString file = !tiff.isEmpty() ? writeDragFile(tiff, QStringLiteral("tiff"))
                                         : writeDragFile(png, QStringLiteral("png"));
    if (!file.isEmpty())
        payload->setUrls({QUrl::fromLocalFile(file)});
    return payload;
}

} // namespace gelcoat
