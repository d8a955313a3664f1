#include "document/export/ImageEncoders.h"

#include "document/export/PngWriter.h"
#include "document/image/BitmapImage.h"
#include "document/intake/TiffCodec.h"

namespace gelcoat {

QByteArray encodeImageAsLzwTiff(const QImage& image)
{
    const std::optional<BitmapRep> bitmap = bitmapFromImage(image);
    if (!bitmap)
        return {};
    return encodeTiff(*bitmap, TiffCompression::Lzw, TiffAlphaKind::Associated);
}

QByteArray encodeImageAsPng(const QImage& image)
{
    return encodePng(image);
}

} // namespace gelcoat
