#pragma once
// Paints a circular slider: base, tick marks, ball, in that order, with the
// standard-size pictures or with vector paths.

#include "views/slider/CircularSliderLook.h"
#include "views/slider/CircularSliderModel.h"

class QPainter;

namespace gelcoat {

struct SliderPaintInput {
    double width = 0.0;
    double height = 0.0;
    const CircularSliderModel* model = nullptr;
    SliderLook look;
    bool enabled = true;
    bool highlighted = false;
    bool shiftDown = false;
};

void paintCircularSlider(QPainter& painter, const SliderPaintInput& in);

} // namespace gelcoat
