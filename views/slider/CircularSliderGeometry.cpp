#include "views/slider/CircularSliderGeometry.h"

#include <cmath>

namespace gelcoat {

CircularSliderGeometry CircularSliderGeometry::forBounds(double width, double height)
{
    CircularSliderGeometry g;
    g.circleX = 10.5;
    g.circleY = 10.5;
    g.circleWidth = width - 21.0;
    g.circleHeight = height - 21.0;
    g.half = g.circleWidth * 0.5;
    g.centre = {g.circleX + g.half, g.circleY + g.half};
    g.travel = g.half - 3.0;
    return g;
}

SliderPoint CircularSliderGeometry::ballCentre(const CircularSliderModel& model) const
{
    float x = 0.0f;
    float y = 0.0f;
    model.getOffsets(&x, &y);
    const double max = model.state().maxDistance;
    return {centre.x + x / max * travel, centre.y + y / max * travel};
}

bool CircularSliderGeometry::inRegion(SliderPoint p, bool allowsCenter, bool allowsNonEdge) const
{
    const double r = std::hypot(p.x - centre.x, p.y - centre.y);
    if (r < 4.0)
        return allowsCenter;
    if (!allowsNonEdge && r < half - 6.0)
        return false;
    return r < half + 1.0;
}

void CircularSliderGeometry::offsetsAt(SliderPoint p, float maxDistance, float* x, float* y) const
{
    *x = float((p.x - centre.x) / travel * maxDistance);
    *y = float((p.y - centre.y) / travel * maxDistance);
}

} // namespace gelcoat
