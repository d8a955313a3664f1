#pragma once
// The controls of the document window that follow its size, each with the
// frame the window description gives it (y-up, in a document area of the
// base size) and the way it follows the growth.  First the 58 the window
// records, in the order it records them; then the titles of the left-half
// rows, which never move in y-up terms but, with Qt's origin at the top,
// must be placed again to keep their distance from the bottom edge.

#include "window/layout/LayoutRule.h"

#include <array>
#include <optional>
#include <string_view>

namespace gelcoat::layout {

struct LaidOutView {
    std::string_view outlet;   // the object name in the window description
    Frame frame;
    int mode;
};

inline constexpr int kRecordedViewCount = 58;
inline constexpr int kLaidOutViewCount = kRecordedViewCount + 4;
const std::array<LaidOutView, kLaidOutViewCount>& laidOutViews();

// The recorded view of an outlet, if it is laid out.
std::optional<LaidOutView> laidOutView(std::string_view outlet);

struct PlacedView {
    std::string_view outlet;
    Frame frame;
};

// Every laid-out view placed for a document area that grew by `growth`.
std::array<PlacedView, kLaidOutViewCount> placeViews(const Growth& growth);

// The hue, saturation and brightness rows change with the stencil: a
// simple stencil has no use for the use-original check boxes, so its three
// sliders take the width of the contrast slider, which spans the whole row,
// and the hue strip keeps its width difference from the hue slider.
struct TintingRows {
    Frame hueSlider;
    Frame hueStrip;
    Frame saturationSlider;
    Frame brightnessSlider;
    bool operator==(const TintingRows&) const = default;
};
TintingRows tintingRows(bool simpleStencil, const Growth& growth);

} // namespace gelcoat::layout
