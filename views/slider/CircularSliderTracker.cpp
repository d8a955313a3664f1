#include "views/slider/CircularSliderTracker.h"

#include <cmath>

namespace gelcoat {

void CircularSliderTracker::setBounds(double width, double height)
{
    width_ = width;
    height_ = height;
}

bool CircularSliderTracker::setBallToClosestFit(SliderPoint p)
{
    const auto g = CircularSliderGeometry::forBounds(width_, height_);
    float x = 0.0f;
    float y = 0.0f;
    g.offsetsAt(p, model_.state().maxDistance, &x, &y);
    return model_.setOffsets(x, y);
}

SliderStep CircularSliderTracker::press(SliderPoint p, SliderModifiers modifiers)
{
    SliderStep step;
    const CircularSliderState& s = model_.state();
    if (tracking_ || !s.enabled)
        return step;
    modifiers_ = modifiers;
    const auto g = CircularSliderGeometry::forBounds(width_, height_);
    const SliderPoint exact = g.ballCentre(model_);
    const SliderPoint ball{std::round(exact.x), std::round(exact.y)};
    ballGrabbed_ = std::hypot(p.x - ball.x, p.y - ball.y) <= s.ballRadius + 1;
    const bool inRegion = g.inRegion(p, s.allowsCenter, s.allowsNonEdge);

    SliderPoint effective = p;
    grab_ = {};
    if (ballGrabbed_) {
        // The ball stays under the mouse where it was taken, without a jump.
        grab_ = {p.x - ball.x, p.y - ball.y};
        effective = {p.x - grab_.x, p.y - grab_.y};
    } else if (inRegion) {
        step.redisplay = setBallToClosestFit(p);
        step.sendAction = s.continuous;
    }
    fine_ = modifiers.option;
    anchor_ = effective;
    if (!ballGrabbed_ && !inRegion)
        return step;

    tracking_ = true;
    lastRaw_ = p;
    step.redisplay = true; // the highlighted knob
    return step;
}

bool CircularSliderTracker::follow(SliderPoint raw)
{
    lastRaw_ = raw;
    SliderPoint p = raw;
    if (ballGrabbed_)
        p = {p.x - grab_.x, p.y - grab_.y};
    if (modifiers_.option && !fine_) {
        fine_ = true;
        anchor_ = p;
    } else if (!modifiers_.option) {
        fine_ = false;
    }
    if (fine_)
        p = {anchor_.x + (p.x - anchor_.x) / 10.0, anchor_.y + (p.y - anchor_.y) / 10.0};
    return setBallToClosestFit(p);
}

SliderStep CircularSliderTracker::drag(SliderPoint p, SliderModifiers modifiers)
{
    if (!tracking_)
        return {};
    modifiers_ = modifiers;
    const bool moved = follow(p);
    return {model_.state().continuous, moved};
}

SliderStep CircularSliderTracker::modifiersChanged(SliderModifiers modifiers)
{
    if (!tracking_)
        return {};
    modifiers_ = modifiers;
    follow(lastRaw_);
    // Tick marks may depend on Shift: always redraw.
    return {model_.state().continuous, true};
}

SliderStep CircularSliderTracker::release(SliderPoint p, SliderModifiers modifiers)
{
    if (!tracking_)
        return {};
    modifiers_ = modifiers;
    follow(p);
    return finish();
}

SliderStep CircularSliderTracker::cancel()
{
    if (!tracking_)
        return {};
    return finish();
}

SliderStep CircularSliderTracker::finish()
{
    tracking_ = false;
    fine_ = false;
    return {true, true};
}

} // namespace gelcoat
