#pragma once
// The sizes the document area may take.  Its width stays twice its height
// less 462, so that both image wells grow by as much in width as in height.

#include "window/layout/LayoutRule.h"

namespace gelcoat::layout {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The smallest document area.
inline constexpr Size kMinimumSize{666, 564};

// The size a resize to the proposed one ends at: the height grows by the
// mean of the height's growth and half the width's, the width follows it.
Size constrainedSize(double proposedWidth, double proposedHeight);

// The largest frame on that line within the frame the system offers for
// zooming (y-up), keeping the offered top edge when the height is cut.
Frame zoomFrame(const Frame& offered);
// The same for a frame stated y-down, as the window system offers it.
DownRect zoomFrame(const DownRect& offered);

} // namespace gelcoat::layout
