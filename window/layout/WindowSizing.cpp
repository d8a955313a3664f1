#include "window/layout/WindowSizing.h"

#include <algorithm>

namespace gelcoat::layout {

Size constrainedSize(double proposedWidth, double proposedHeight)
{
    const Growth growth = growthOf(proposedWidth, proposedHeight);
    const int k = (growth.dH + growth.half) / 2;
    const int height = std::max(kBaseHeight + k, kMinimumSize.height);
    return {2 * height - (2 * kBaseHeight - kBaseWidth), height};
}

Frame zoomFrame(const Frame& offered)
{
    const Growth growth = growthOf(offered.width, offered.height);
    const int heightFromWidth = kBaseHeight + growth.half;
    const int widthFromHeight = kBaseWidth + 2 * growth.dH;
    Frame zoomed = offered;
    if (float(widthFromHeight) > offered.width) {
        zoomed.height = float(heightFromWidth);
        zoomed.y = offered.y + (offered.height - float(heightFromWidth));
    } else if (float(heightFromWidth) > offered.height) {
        zoomed.width = float(widthFromHeight);
    }
    return zoomed;
}

DownRect zoomFrame(const DownRect& offered)
{
    // Any height turns the frame y-up; the rule keeps its top edge.
    const int height = offered.y + offered.height;
    return downRect(zoomFrame(upFrame(offered, height)), height);
}

} // namespace gelcoat::layout
