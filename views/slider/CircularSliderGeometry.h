#pragma once
// Where things are in a circular slider of a given size, shared by mouse
// tracking and drawing. View points, origin at the bottom left, y up.

#include "views/slider/CircularSliderModel.h"

namespace gelcoat {

struct SliderPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const SliderPoint&) const = default;
};

struct CircularSliderGeometry {
    // The circle's rectangle is the bounds inset by 10.5; only its width
    // counts, the view being square.
    double circleX = 0.0;
    double circleY = 0.0;
    double circleWidth = 0.0;
    double circleHeight = 0.0;
    double half = 0.0;
    SliderPoint centre;
    double travel = 0.0; // where a value at the maximum distance puts the ball

    static CircularSliderGeometry forBounds(double width, double height);

    // Ball centre for the model's current value, not rounded.
    SliderPoint ballCentre(const CircularSliderModel& model) const;
    // Whether a click at p may move the ball there.
    bool inRegion(SliderPoint p, bool allowsCenter, bool allowsNonEdge) const;
    // Caller-unit offsets of the view point p.
    void offsetsAt(SliderPoint p, float maxDistance, float* x, float* y) const;
};

} // namespace gelcoat
