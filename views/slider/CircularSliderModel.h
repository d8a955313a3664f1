#pragma once
// The value of a circular slider: a point inside a circle given as an angle
// and a distance from the centre, with the rules that keep it legal (centre
// allowed or not, only the edge or anywhere) and the snapping of its angle.
// Plain C++: the widget feeds it, tests drive it without a window.

#include <cstdint>
#include <functional>

namespace gelcoat {

// The numeric codes are those of the archive; the names are ours.
namespace slider {
// appearance
inline constexpr std::int32_t kAutomatic = 0; // knob colour follows the system
inline constexpr std::int32_t kBlue = 1;
inline constexpr std::int32_t kGraphite = 2;
inline constexpr std::int32_t kVector = 3;    // vector paths at any size
inline constexpr std::int32_t kInactive = -1; // a drawing tint only, never stored
// angle units
inline constexpr std::int32_t kRadians = 0;
inline constexpr std::int32_t kCompassDegrees = 1; // 0 at the top, clockwise
// snap behaviour and tick-drawing behaviour
inline constexpr std::int32_t kNever = 0;
inline constexpr std::int32_t kAlways = 1;
inline constexpr std::int32_t kWhileShift = 2; // snap: Shift down; ticks: Shift down while tracking

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kHalfPi = 1.5707963267948966;
} // namespace slider

// Every stored field, in the order the archive writes them.
struct CircularSliderState {
    bool continuous = true;
    bool enabled = true;
    bool allowsCenter = true;
    bool allowsNonEdge = true;
    float maxDistance = 1.0f;
    std::int32_t ballRadius = 0; // hit radius in points, set by drawing
    std::int32_t appearance = slider::kAutomatic;
    float angle = 0.0f; // radians, 0 to the right, counter-clockwise, y up
    float distance = 1.0f;
    std::int32_t snapMarks = 8;
    std::int32_t snapBehavior = slider::kNever;
    std::int32_t drawSnapBehavior = slider::kNever;
    std::int32_t angleUnits = slider::kRadians;

    bool operator==(const CircularSliderState&) const = default;
};

class CircularSliderModel {
public:
    // Answers whether Shift is down right now (for snapping only while
    // Shift is held); without one, Shift counts as up.
    using ShiftQuery = std::function<bool()>;

    const CircularSliderState& state() const { return s_; }
    // Takes a decoded state as it is: a stored angle is not re-constrained.
    void restore(const CircularSliderState& state) { s_ = state; }
    void setShiftQuery(ShiftQuery query) { shiftDown_ = std::move(query); }

    // Setters return true when they changed something drawn, so that the
    // caller redisplays; given the stored value they do nothing.
    bool setEnabled(bool enabled);
    bool setAppearance(std::int32_t appearance); // -1 stores 0
    bool setAllowsCenter(bool allows);
    bool setAllowsNonEdge(bool allows);
    // Ignores a distance that is not a finite number above 0: every
    // position is a fraction of it.
    bool setMaxDistance(float maxDistance);
    bool setSnapBehavior(std::int32_t behavior);
    bool setSnapMarks(std::int32_t marks);
    bool setDrawSnapBehavior(std::int32_t behavior);
    // Plain stores: nothing is converted or redrawn.
    void setAngleUnits(std::int32_t units) { s_.angleUnits = units; }
    void setContinuous(bool continuous) { s_.continuous = continuous; }
    void setBallRadius(std::int32_t radius) { s_.ballRadius = radius; }

    // The value in interface units (angleUnits) and caller units; these
    // constrain and snap, and return whether the stored value changed.
    // Values that are not finite numbers are ignored.
    bool setAngleAndDistance(float angle, float distance);
    void getAngleAndDistance(float* angle, float* distance) const;
    bool setOffsets(float x, float y);
    void getOffsets(float* x, float* y) const;

    // Make (angle, distance) legal; return whether either was changed.
    bool constrain(float& angle, float& distance) const;
    // Moves the angle (internal radians) to the nearest snap mark when
    // snapping applies now; returns true whenever it snapped, even in place.
    bool snap(float& angle) const;
    bool constrainState();

    bool snapsNow() const;

private:
    bool store(float angle, float distance);

    CircularSliderState s_;
    ShiftQuery shiftDown_;
};

} // namespace gelcoat
