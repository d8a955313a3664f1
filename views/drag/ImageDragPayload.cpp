#include "views/drag/ImageDragPayload.h"

#include "views/resources/ViewImages.h"

#include <QBuffer>
#include <QFile>
#include <QMimeData>
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

void setDragTiffEncoder(TiffEncoder encoder)
{
    installedEncoder() = std::move(encoder);
}

bool hasDragTiffEncoder()
{
    return bool(installedEncoder());
}

QMimeData* makeImageDragPayload(const QImage& image)
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
    const QString file = !tiff.isEmpty() ? writeDragFile(tiff, QStringLiteral("tiff"))
                                         : writeDragFile(png, QStringLiteral("png"));
    if (!file.isEmpty())
        payload->setUrls({QUrl::fromLocalFile(file)});
    return payload;
}

} // namespace gelcoat
