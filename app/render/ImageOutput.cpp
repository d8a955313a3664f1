#include "ImageOutput.h"

#include "intake/TiffCodec.h"
#include "io/RegularFile.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace gelcoat {

namespace {

bool saveAtomically(const QByteArray& bytes, const QString& path, QString* error)
{
    QString reason;
    if (writeFileAtomically(path, bytes, &reason))
        return true;
    *error = QStringLiteral("could not write \"%1\": %2").arg(path, reason);
    return false;
}

QByteArray encodePng(const BitmapRep& image)
{
    const QImage view(image.bitmapData(), image.pixelsWide(), image.pixelsHigh(),
                      image.bytesPerRow(), QImage::Format_RGBA8888_Premultiplied);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(view))
        return {};
    return bytes;
}

} // namespace

OutputKind outputKindForPath(const QString& path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(u".tif") || lower.endsWith(u".tiff"))
        return OutputKind::Tiff;
    if (lower.endsWith(u".png"))
        return OutputKind::Png;
    return OutputKind::Unknown;
}

bool writeResultImage(const BitmapRep& image, const QString& path, QString* error)
{
    const QByteArray bytes = outputKindForPath(path) == OutputKind::Png
                                 ? encodePng(image)
                                 : encodeTiff(image, TiffCompression::Lzw, TiffAlphaKind::Associated);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("could not encode the image for \"%1\"").arg(path);
        return false;
    }
    return saveAtomically(bytes, path, error);
}

bool writeStageImage(const BitmapRep& buffer, const QString& path, QString* error)
{
    const QByteArray bytes = encodeTiff(buffer, TiffCompression::None, TiffAlphaKind::Unspecified);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("could not encode the stage buffer for \"%1\"").arg(path);
        return false;
    }
    return saveAtomically(bytes, path, error);
}

} // namespace gelcoat
