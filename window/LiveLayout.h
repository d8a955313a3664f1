#pragma once
// The form's controls placed for the document area's current size: each
// control at the frame the form gives it, moved by the area's growth as its
// rule says, so that controls the growth does not move keep their distance
// to the bottom edge, as everything below the image wells should.

#include "window/layout/RecordedFrames.h"

#include <vector>

class QWidget;

namespace gelcoat {

class LiveLayout {
public:
    // Records the frame of every control of the area; the area must still
    // be at the size its form is drawn for.
    explicit LiveLayout(QWidget& area);

    void place();
    const layout::RecordedFrames& frames() const { return frames_; }

private:
    QWidget& area_;
    std::vector<QWidget*> views_;
    layout::RecordedFrames frames_;
};

} // namespace gelcoat
