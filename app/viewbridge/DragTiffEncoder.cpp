#include "DragTiffEncoder.h"

#include "BitmapImage.h"
#include "drag/ImageDragPayload.h"
#include "intake/TiffCodec.h"

namespace gelcoat {

QByteArray encodeImageAsLzwTiff(const QImage& image)
{
    const std::optional<BitmapRep> bitmap = bitmapFromImage(image);
    if (!bitmap)
        return {};
    return encodeTiff(*bitmap, TiffCompression::Lzw, TiffAlphaKind::Associated);
}

void installDragTiffEncoder()
{
    setDragTiffEncoder(encodeImageAsLzwTiff);
}

} // namespace gelcoat
