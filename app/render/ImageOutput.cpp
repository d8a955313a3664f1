#include "app/render/ImageOutput.h"

#include "document/intake/TiffCodec.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace gelcoat {

namespace {

QByteArray encodePng(const BitmapRep& image)
{
    const QImage view(image.bitmapData(), image.pixelsWide(), image.pixelsHigh(),
                      image.bytesPerRow(), QImage::Format_RGBA8888_Premultiplied);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib level 2 instead of 6: a few per cent larger, several times faster.
    writer.setQuality(75);
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

QByteArray encodeResultImage(const BitmapRep& image, OutputKind kind)
{
    return kind == OutputKind::Png
               ? encodePng(image)
               : encodeTiff(image, TiffCompression::LzwPredictor, TiffAlphaKind::Associated);
}

QByteArray encodeStageImage(const BitmapRep& buffer)
{
    return encodeTiff(buffer, TiffCompression::None, TiffAlphaKind::Unspecified);
}

} // namespace gelcoat
