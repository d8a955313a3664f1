#include "engine/draw/Draw.h"
#include "engine/draw/CompositeKernels.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <cstring>

namespace gelcoat {

namespace {

bool sameEngineSize(const BitmapRep& a, const BitmapRep& b)
{
    return isEngineFormat(a) && isEngineFormat(b) && a.pixelsWide() == b.pixelsWide() &&
           a.pixelsHigh() == b.pixelsHigh();
}

} // namespace

bool copyPixels(const BitmapRep& src, BitmapRep& dst)
{
    if (!sameEngineSize(src, dst))
        return false;
    const std::size_t rowBytes = std::size_t(src.pixelsWide()) * 4;
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            std::memcpy(dst.row(y), src.row(y), rowBytes);
    }, 256);
    return true;
}

bool compositeSourceOver(const BitmapRep& src, BitmapRep& dst)
{
    return compositeSourceOver(src, dst, dst);
}

bool compositeSourceOver(const BitmapRep& src, const BitmapRep& below, BitmapRep& out)
{
    if (!sameEngineSize(src, below) || !sameEngineSize(src, out))
        return false;
    const int W = src.pixelsWide();
    parallelFor(src.pixelsHigh(), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            compositeRowBytes(src.row(y), below.row(y), out.row(y), W);
    }, 32);
    return true;
}

void fillPixels(BitmapRep& dst, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    if (!isEngineFormat(dst))
        return;
    for (int y = 0; y < dst.pixelsHigh(); ++y) {
        std::uint8_t* p = dst.row(y);
        for (int x = 0; x < dst.pixelsWide(); ++x, p += 4) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
            p[3] = a;
        }
    }
}

bool drawRotated(const BitmapRep& src, BitmapRep& dst, int degrees)
{
    if (!isEngineFormat(src) || !isEngineFormat(dst))
        return false;
    const int W = src.pixelsWide();
    const int H = src.pixelsHigh();
    const bool swapped = degrees == 90 || degrees == 270;
    if (degrees != 90 && degrees != 180 && degrees != 270)
        return true;
    const int outW = swapped ? H : W;
    const int outH = swapped ? W : H;
    for (int y = 0; y < outH && y < dst.pixelsHigh(); ++y) {
        std::uint8_t* d = dst.row(y);
        for (int x = 0; x < outW && x < dst.pixelsWide(); ++x) {
            int sx, sy;
            if (degrees == 90) {
                sx = W - 1 - y;
                sy = x;
            } else if (degrees == 180) {
                sx = W - 1 - x;
                sy = H - 1 - y;
            } else {
                sx = y;
                sy = H - 1 - x;
            }
            std::memcpy(d + 4 * x, src.row(sy) + 4 * sx, 4);
        }
    }
    return true;
}

} // namespace gelcoat
