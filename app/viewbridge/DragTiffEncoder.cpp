#include "DragTiffEncoder.h"

#include "buffer/BitmapRep.h"
#include "drag/ImageDragPayload.h"
#include "intake/TiffCodec.h"

#include <cstring>

namespace gelcoat {

QByteArray encodeImageAsLzwTiff(const QImage& image)
{
    if (image.isNull())
        return {};
    // Qt's premultiplied RGBA8888 has the engine's byte order: R, G, B, A.
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    std::optional<BitmapRep> rep = BitmapRep::makeUninitialized(rgba.width(), rgba.height());
    if (!rep)
        return {};
    const std::size_t rowBytes = std::size_t(rgba.width()) * 4;
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(rep->row(y), rgba.constScanLine(y), rowBytes);
    return encodeTiff(*rep, TiffCompression::Lzw, TiffAlphaKind::Associated);
}

void installDragTiffEncoder()
{
    setDragTiffEncoder(encodeImageAsLzwTiff);
}

} // namespace gelcoat
