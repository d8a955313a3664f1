#include "views/slider/CircularSliderModel.h"

#include <cmath>

namespace gelcoat {

using namespace slider;

namespace {

// Stores `value` in `field` when it differs; true on a change.
template <typename T>
bool assign(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

bool CircularSliderModel::setEnabled(bool enabled)
{
    return assign(s_.enabled, enabled);
}

bool CircularSliderModel::setAppearance(std::int32_t appearance)
{
    return assign(s_.appearance, appearance == kInactive ? kAutomatic : appearance);
}

bool CircularSliderModel::setAllowsCenter(bool allows)
{
    if (!assign(s_.allowsCenter, allows))
        return false;
    constrainState();
    return true;
}

bool CircularSliderModel::setAllowsNonEdge(bool allows)
{
    if (!assign(s_.allowsNonEdge, allows))
        return false;
    constrainState();
    return true;
}

bool CircularSliderModel::setMaxDistance(float maxDistance)
{
    if (!std::isfinite(maxDistance) || maxDistance <= 0.0f)
        return false;
    if (!assign(s_.maxDistance, maxDistance))
        return false;
    constrainState();
    return true;
}

bool CircularSliderModel::setSnapBehavior(std::int32_t behavior)
{
    return assign(s_.snapBehavior, behavior);
}

bool CircularSliderModel::setSnapMarks(std::int32_t marks)
{
    return assign(s_.snapMarks, marks);
}

bool CircularSliderModel::setDrawSnapBehavior(std::int32_t behavior)
{
    return assign(s_.drawSnapBehavior, behavior);
}

bool CircularSliderModel::snapsNow() const
{
    // Fewer than one mark would make the step infinite: no snapping then.
    if (s_.snapMarks < 1)
        return false;
    switch (s_.snapBehavior) {
    case kAlways:
        return true;
    case kWhileShift:
        return shiftDown_ && shiftDown_();
    default:
        return false;
    }
}

bool CircularSliderModel::snap(float& angle) const
{
    if (!snapsNow())
        return false;
    float a = angle;
    if (a < 0.0f)
        a = float(double(a) + kTwoPi);
    const float step = float(kTwoPi / s_.snapMarks);
    // Truncation in float, as the marks are counted; trunc keeps huge
    // angles away from integer overflow.
    const float k = std::trunc(a / step);
    const float lo = k * step;
    const float hi = (k + 1.0f) * step;
    a = std::fabs(lo - a) < std::fabs(hi - a) ? lo : hi; // a tie goes up
    if (a > kPi)
        a = float(double(a) - kTwoPi); // back into (-pi, pi] like atan2
    angle = a;
    return true;
}

bool CircularSliderModel::constrain(float& angle, float& distance) const
{
    const float max = s_.maxDistance;
    bool changed = false;
    if (distance > max) {
        distance = max;
        changed = true;
    }
    if (distance < max && !s_.allowsNonEdge) {
        // Only the edge, or the centre when it is nearer than half way.
        if (distance < max * 0.5 && s_.allowsCenter) {
            if (distance != 0.0f) {
                angle = 0.0f;
                distance = 0.0f;
                changed = true;
            }
        } else {
            distance = max;
            changed = true;
        }
    }
    if (distance == 0.0f && !s_.allowsCenter) {
        angle = 0.0f;
        distance = 0.01f;
        changed = true;
    }
    if (snap(angle))
        changed = true;
    return changed;
}

bool CircularSliderModel::constrainState()
{
    float angle = s_.angle;
    float distance = s_.distance;
    const bool changed = constrain(angle, distance);
    s_.angle = angle;
    s_.distance = distance;
    return changed;
}

bool CircularSliderModel::store(float angle, float distance)
{
    constrain(angle, distance);
    if (angle == s_.angle && distance == s_.distance)
        return false;
    s_.angle = angle;
    s_.distance = distance;
    return true;
}

bool CircularSliderModel::setAngleAndDistance(float angle, float distance)
{
    if (!std::isfinite(angle) || !std::isfinite(distance))
        return false;
    float a = angle;
    if (s_.angleUnits == kCompassDegrees) {
        a = float(kHalfPi - (double(angle) / 180.0) * kPi);
        if (a < -kPi)
            a = float(double(a) + kTwoPi);
    }
    return store(a, distance);
}

void CircularSliderModel::getAngleAndDistance(float* angle, float* distance) const
{
    if (angle) {
        float a = s_.angle;
        if (s_.angleUnits == kCompassDegrees) {
            a = float(-(double(s_.angle) / kPi) * 180.0) + 90.0f;
            if (a < 0.0f)
                a += 360.0f;
        }
        *angle = a;
    }
    if (distance)
        *distance = s_.distance;
}

bool CircularSliderModel::setOffsets(float x, float y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    float angle = 0.0f;
    float distance = 0.0f;
    if (x != 0.0f || y != 0.0f) {
        const double dx = x;
        const double dy = y;
        angle = float(std::atan2(dy, dx));
        distance = float(std::sqrt(dx * dx + dy * dy));
    }
    return store(angle, distance);
}

void CircularSliderModel::getOffsets(float* x, float* y) const
{
    if (x)
        *x = float(double(s_.distance) * std::cos(double(s_.angle)));
    if (y)
        *y = float(double(s_.distance) * std::sin(double(s_.angle)));
}

} // namespace gelcoat
