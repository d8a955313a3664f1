#pragma once
// Mouse tracking of a circular slider as a state machine: the widget feeds
// it the press, each move, each change of Shift or Option, and the release,
// with points already in the view's y-up coordinates; the machine moves the
// model's value and says when to send the action and when to redraw.

#include "views/slider/CircularSliderGeometry.h"
#include "views/slider/CircularSliderModel.h"

namespace gelcoat {

struct SliderModifiers {
    bool shift = false;
    bool option = false; // Alt on this platform
    bool operator==(const SliderModifiers&) const = default;
};

// What one step asks of the widget.
struct SliderStep {
    bool sendAction = false;
    bool redisplay = false;
};

class CircularSliderTracker {
public:
    explicit CircularSliderTracker(CircularSliderModel& model) : model_(model) {}

    // The view's size; geometry is worked out from it at every step.
    void setBounds(double width, double height);

    // A left-button press. Tracking begins when the ball or the legal
    // region was hit and the slider is enabled.
    SliderStep press(SliderPoint p, SliderModifiers modifiers);
    SliderStep drag(SliderPoint p, SliderModifiers modifiers);
    // Shift or Option changed without the mouse moving: the last position
    // is applied again under the new modifiers.
    SliderStep modifiersChanged(SliderModifiers modifiers);
    SliderStep release(SliderPoint p, SliderModifiers modifiers);
    // The mouse grab went away before the release: ends like a release at
    // the last position, so that the action reports the value shown.
    SliderStep cancel();

    bool isTracking() const { return tracking_; }
    // The modifiers of the latest event while tracking.
    SliderModifiers modifiers() const { return modifiers_; }

    // Moves the value to the point p of the view, constrained and snapped.
    bool setBallToClosestFit(SliderPoint p);

private:
    bool follow(SliderPoint raw);
    SliderStep finish();

    CircularSliderModel& model_;
    double width_ = 0.0;
    double height_ = 0.0;
    bool tracking_ = false;
    bool ballGrabbed_ = false;
    SliderPoint grab_;    // press point minus ball centre when the ball was hit
    SliderPoint lastRaw_; // reused when only the modifiers change
    bool fine_ = false;   // Option: the ball moves a tenth of the mouse
    SliderPoint anchor_;
    SliderModifiers modifiers_;
};

} // namespace gelcoat
