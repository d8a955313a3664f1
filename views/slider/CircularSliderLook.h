#pragma once
// The drawing decisions of a circular slider that need no painter: which
// knob tint, images or vector paths, the ball's hit radius, the opacity,
// the tick marks and the ball's rectangle. View points, y up.

#include "views/paint/UpCoordinates.h"
#include "views/slider/CircularSliderGeometry.h"
#include "views/slider/CircularSliderModel.h"

#include <cstdint>
#include <vector>

namespace gelcoat {

enum class SliderImageSize { None, Small, Big }; // None: vector paths

struct SliderLook {
    std::int32_t tint = 0;  // 1 blue, 2 graphite, -1 inactive, other: vector ball
    SliderImageSize images = SliderImageSize::None;
    std::int32_t ballRadius = 0;
    bool nonStandardSize = false; // vector only because of the size
};

// The knob tint: automatic follows the system's colour variant; blue and
// graphite turn inactive in a window that is not active and when disabled.
std::int32_t sliderTint(std::int32_t appearance, bool systemGraphite, bool windowActive,
                        bool enabled);
// Images at exactly 80x80 and 60x60, vector paths otherwise or for tint 3.
SliderLook sliderLook(std::int32_t tint, double width, double height);

inline double sliderOpacity(bool enabled)
{
    return enabled ? 1.0 : 0.6;
}

bool sliderShowsTicks(const CircularSliderState& s, bool shiftDown, bool highlighted);
inline double tickAlpha(bool enabled)
{
    return enabled ? 0.52 : 0.25;
}

struct SliderSegment {
    SliderPoint from;
    SliderPoint to;
};
inline constexpr std::int32_t kMaxDrawnTicks = 3600;
// One radial segment a mark, from 5 to 10 points outside the circle.
std::vector<SliderSegment> tickSegments(const CircularSliderGeometry& g, std::int32_t marks);

// The ball's square of side 2R, on whole points, for the model's value.
UpRect ballRect(const CircularSliderGeometry& g, const CircularSliderModel& model, double R);

} // namespace gelcoat
