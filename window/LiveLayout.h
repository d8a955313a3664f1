#pragma once
// The form's controls placed for the document area's current size: each
// laid-out view at its recorded frame moved by the area's growth, turned
// from y-up so that controls the growth does not move keep their distance
// to the bottom edge, as everything below the image wells should.

#include "window/layout/RecordedFrames.h"

#include <array>

class QWidget;

namespace gelcoat {

class LiveLayout {
public:
    // Finds every laid-out view among area's children once; the area must
    // still be at the size its form is drawn for.
    explicit LiveLayout(QWidget& area);

    void place();

private:
    QWidget& area_;
    std::array<QWidget*, layout::kLaidOutViewCount> views_{};
};

} // namespace gelcoat
