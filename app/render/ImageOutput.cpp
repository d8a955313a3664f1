#include "app/render/ImageOutput.h"

#include "document/export/PngWriter.h"
#include "document/intake/TiffCodec.h"

namespace gelcoat {

OutputKind outputKindForPath(const QByteArray& path)
{
    const QByteArray lower = path.toLower();
    if (lower.endsWith(".tif") || lower.endsWith(".tiff"))
        return OutputKind::Tiff;
    if (lower.endsWith(".png"))
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
