#include "app/viewbridge/DragTiffEncoder.h"

#include "app/viewbridge/BitmapImage.h"
#include "views/drag/ImageDragPayload.h"
#include "document/intake/TiffCodec.h"

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
