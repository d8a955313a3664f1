#include "window/layout/LayoutRule.h"

#include <cmath>

namespace gelcoat::layout {

Frame upFrame(const DownRect& r, int height)
{
    return {float(r.x), float(height - r.y - r.height), float(r.width), float(r.height)};
}

DownRect downRect(const Frame& f, int height)
{
    const auto whole = [](double v) { return int(std::lround(v)); };
    return {whole(f.x), whole(double(height) - f.y - f.height), whole(f.width), whole(f.height)};
}

Growth growthOf(double width, double height)
{
    return growthBy(int(width - kBaseWidth), int(height - kBaseHeight));
}

Growth growthBy(int dW, int dH) { return {dW, dH, dW / 2}; }

Frame resizeFrame(const Frame& recorded, const Growth& growth, int mode)
{
    const int half = growth.half;
    int dx = 0, dy = 0, dw = 0, dh = 0;
    switch (mode) {
    case FollowTopAtCentre: dx = half; dy = growth.dH; break;
    case GrowLeftWell: dw = half; dh = growth.dH; break;
    case GrowRightWell: dx = half; dw = half; dh = growth.dH; break;
    case CentreBetweenWells: dx = half; dy = growth.dH / 2; break;
    case SpanBothHalves: dw = 2 * half; break;
    case MoveWithRightHalf: dx = half; break;
    case StretchLeftHalf: dw = half; break;
    case StretchRightHalf: dx = half; dw = half; break;
    case MoveToRightEdge: dx = 2 * half; break;
    case OneQuarterAlong: dx = half + half / 4; break;
    case OneHalfAlong: dx = half + (2 * half) / 4; break;
    case ThreeQuartersAlong: dx = half + (3 * half) / 4; break;
    default: return recorded;
    }
    // Each increment becomes a float and is added in single precision.
    return {recorded.x + float(dx), recorded.y + float(dy), recorded.width + float(dw),
            recorded.height + float(dh)};
}

} // namespace gelcoat::layout
