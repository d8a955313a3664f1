#include "views/slider/CircularSliderLook.h"

#include <algorithm>
#include <cmath>

namespace gelcoat {

using namespace slider;

std::int32_t sliderTint(std::int32_t appearance, bool systemGraphite, bool windowActive,
                        bool enabled)
{
    std::int32_t t = appearance;
    if (t == kAutomatic)
        t = systemGraphite ? kGraphite : kBlue;
    if ((t == kBlue || t == kGraphite) && (!windowActive || !enabled))
        t = kInactive;
    return t;
}

SliderLook sliderLook(std::int32_t tint, double width, double height)
{
    SliderLook look;
    look.tint = tint;
    const auto vectorRadius = std::int32_t(std::ceil(width / 10.0));
    if (tint == kVector) {
        look.ballRadius = vectorRadius;
    } else if (width == 80.0 && height == 80.0) {
        look.images = SliderImageSize::Big;
        look.ballRadius = 8;
    } else if (width == 60.0 && height == 60.0) {
        look.images = SliderImageSize::Small;
        look.ballRadius = 6;
    } else {
        look.ballRadius = vectorRadius;
        look.nonStandardSize = true;
    }
    return look;
}

bool sliderShowsTicks(const CircularSliderState& s, bool shiftDown, bool highlighted)
{
    if (s.snapMarks == 0)
        return false;
    return s.drawSnapBehavior == kAlways
        || (s.drawSnapBehavior == kWhileShift && shiftDown && highlighted);
}

std::vector<SliderSegment> tickSegments(const CircularSliderGeometry& g, std::int32_t marks)
{
    std::vector<SliderSegment> ticks;
    if (marks <= 0)
        return ticks;
    // Beyond this many the marks merge into a solid band at any size; the
    // cap keeps an absurd count from stalling every paint.
    marks = std::min(marks, kMaxDrawnTicks);
    ticks.reserve(std::size_t(marks));
    const float step = float(kTwoPi / marks);
    const double w = g.circleWidth;
    const double h = g.circleHeight;
    const double mx = g.circleX + w / 2;
    const double my = g.circleY + h / 2;
    float theta = 0.0f; // accumulated in float, as the marks were laid out
    for (std::int32_t i = 0; i < marks; ++i) {
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        ticks.push_back({{mx + c * (w + 10) / 2, my + s * (h + 10) / 2},
                         {mx + c * ((w + 10) / 2 + 5), my + s * ((h + 10) / 2 + 5)}});
        theta += step;
    }
    return ticks;
}

UpRect ballRect(const CircularSliderGeometry& g, const CircularSliderModel& model, double R)
{
    const SliderPoint c = g.ballCentre(model);
    return {std::round(c.x - R), std::round(c.y - R), 2 * R, 2 * R};
}

} // namespace gelcoat
