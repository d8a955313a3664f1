#include "app/render/ImageOutput.h"

#include "app/render/PngOutput.h"

#include "document/intake/TiffCodec.h"

namespace gelcoat {

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
               ? encodePngImage(image)
               : encodeTiff(image, TiffCompression::LzwPredictor, TiffAlphaKind::Associated);
}

QByteArray encodeStageImage(const BitmapRep& buffer)
{
    return encodeTiff(buffer, TiffCompression::None, TiffAlphaKind::Unspecified);
}

} // namespace gelcoat
