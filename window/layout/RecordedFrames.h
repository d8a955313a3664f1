#pragma once
// The frames the form gives its controls, recorded once while the document
// area is at the base size the form is drawn for, and each control's rule
// for following the area's growth.  The form is the one place that states
// where a control goes; only the rules are kept here.

#include "window/layout/LayoutRule.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gelcoat::layout {

// The rule a control follows, by its object name; Fixed for any control
// without one, which keeps its distance from the bottom edge.
int resizeRule(std::string_view outlet);

// The hue, saturation and brightness rows change with the stencil: a
// simple stencil has no use for the use-original check boxes, so its three
// sliders take the width of the contrast slider, which spans the whole row,
// and the hue strip keeps its width difference from the hue slider.
struct TintingRows {
    DownRect hueSlider;
    DownRect hueStrip;
    DownRect saturationSlider;
    DownRect brightnessSlider;
    bool operator==(const TintingRows&) const = default;
};

class RecordedFrames {
public:
    // Records a control at the frame the form gives it (y-down, in the
    // document area of the base size).
    void record(std::string_view outlet, const DownRect& inForm);
    std::size_t size() const { return views_.size(); }

    // The recorded frame of a control, y-up; nothing for one not recorded.
    std::optional<Frame> recorded(std::string_view outlet) const;

    // Every recorded control, in recording order, placed for a document
    // area of the given size.
    std::vector<DownRect> place(int areaWidth, int areaHeight) const;

    // The tinting rows for the stencil kind and the area's size.
    TintingRows tintingRows(bool simpleStencil, int areaWidth, int areaHeight) const;

private:
    struct View {
        std::string outlet;
        Frame frame;
        int mode;
    };
    std::vector<View> views_;
};

} // namespace gelcoat::layout
