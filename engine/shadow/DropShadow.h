#pragma once
// The drop shadow: the source's alpha spread over a disk, offset by whole
// pixels and scaled by a density, as black with the spread alpha. Also
// reports how far beyond each edge the shadow would need to reach.

#include "engine/buffer/BitmapRep.h"
#include "engine/buffer/StageStatus.h"

#include <cstdint>

namespace gelcoat {

inline constexpr int kMaxShadowRadius = 20;

// Disk radius for a sharpness: 100 gives 1, 5 or less gives 20. Sharpness
// above 105 (beyond the controls) gives 0, a kernel of the pixel alone.
int shadowRadiusForSharpness(float sharpness);

// floor(n / (density / 100)) with n the kernel's bounding square area.
float shadowDivisor(int radius, float density);

// Float offsets truncated toward zero, saturating instead of overflowing.
std::int32_t truncatedOffset(float offset);

struct ShadowReport {
    bool needsWarning = false;
    std::int32_t top = 0, bottom = 0, left = 0, right = 0;
};

// report may be null: the shadow is then computed without a report.
StageStatus shadowImage(const BitmapRep& image, BitmapRep& stencil, float density,
                        float sharpness, std::int32_t xOffset, std::int32_t yOffset,
                        ShadowReport* report);

} // namespace gelcoat
