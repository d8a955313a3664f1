#include "document/intake/StandardLayout.h"

namespace gelcoat {

std::optional<BitmapRep> standardBitmap(SourcePicture picture)
{
    BitmapRep& in = picture.pixels;
    if (in.isNull() || in.isPlanar() || in.bitsPerSample() != 8)
        return std::nullopt;
    if (isEngineFormat(in))
        return std::move(in);
    const int samples = in.samplesPerPixel();
    if (samples != 1 && samples != 3)
        return std::nullopt;
    std::optional<BitmapRep> out = BitmapRep::makeUninitialized(in.pixelsWide(), in.pixelsHigh());
    if (!out)
        return std::nullopt;
    for (int y = 0; y < in.pixelsHigh(); ++y) {
        const std::uint8_t* s = in.row(y);
        std::uint8_t* d = out->row(y);
        for (int x = 0; x < in.pixelsWide(); ++x, s += samples, d += 4) {
            d[0] = s[0];
            d[1] = s[samples == 3 ? 1 : 0];
            d[2] = s[samples == 3 ? 2 : 0];
            d[3] = 255;
        }
    }
    return out;
}

bool isBlackMask(const BitmapRep& rgba)
{
    if (!isEngineFormat(rgba))
        return false;
    for (int y = 0; y < rgba.pixelsHigh(); ++y) {
        const std::uint8_t* p = rgba.row(y);
        for (int x = 0; x < rgba.pixelsWide(); ++x, p += 4)
            if (p[0] | p[1] | p[2])
                return false;
    }
    return true;
}

} // namespace gelcoat
