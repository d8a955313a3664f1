#pragma once
// Shading tables sampled once per process from the reference gel button
// picture: hue, saturation and value along the right half of the button,
// one column per horizontal distance from its centre, each column only
// along the disk's chord.

#include "engine/buffer/BitmapRep.h"

#include <functional>
#include <optional>

namespace gelcoat {

inline constexpr int aquaArraySize = 10; // N: the button's radius in pixels
inline constexpr int aquaSubarraySize[aquaArraySize + 1] = {20, 20, 20, 18, 18, 18,
                                                            16, 14, 12, 10, 4};

struct AquaTables {
    float hue[aquaArraySize + 1][2 * aquaArraySize + 1];
    float saturation[aquaArraySize + 1][2 * aquaArraySize + 1];
    float value[aquaArraySize + 1][2 * aquaArraySize + 1];
};

// The whole reference picture as an engine-format buffer, or nothing when
// the resource is missing. Installed by whoever owns the resources.
using BaseImageProvider = std::function<std::optional<BitmapRep>()>;
void setBaseImageProvider(BaseImageProvider provider);

// Fills the tables from the base picture's 21 × 21 region at its lower-left
// corner. Leaves them unfilled (and logs once) when that fails.
void initializeAquaArrays();
bool aquaArraysInitialized();
const AquaTables& aquaTables();

// Forgets the tables so that the next gloss rendering samples again.
void resetAquaArraysForTesting();

// Adds the bilinearly interpolated table values at the given distances (in
// table units) to the three accumulators; the hue entries get hueAdjustment
// added before weighting. Requires the tables to be initialised.
void addValuesForDistances(float left, float right, float top, float bottom, float* hue,
                           float* saturation, float* value, float hueAdjustment);

} // namespace gelcoat

#include "engine/shading/AquaLookupInline.h"
