#pragma once
// The gloss stage: maps every shape pixel onto the sampled gel button by
// its edge distances, then applies the user's hue, saturation, brightness,
// contrast and opacity, an optional rainbow sweep, and optionally the
// source's own hue, saturation or brightness.

#include "engine/buffer/BitmapRep.h"
#include "engine/buffer/StageStatus.h"

namespace gelcoat {

struct AquifyParameters {
    bool useOriginalHue = false;
    bool useOriginalSaturation = false; // the "saturation" flag
    bool useOriginalBrightness = false; // the "brightness" flag
    bool rainbow = false;
    bool circular = false;
    float xCenter = 0, yCenter = 0; // sweep centre from the image centre, y down
    float xOffset = 0, yOffset = 0; // turns across half the width / height
    float hue = 0;                  // fraction of a turn
    float saturation = 1;           // multiplier
    float brightness = 0;           // added to the value
    float margin = 50;              // bevel parameter, 0–100
    float contrast = 1;             // multiplier of the distance from kContrastPivot
    float alpha = 1;                // multiplier of the source alpha
};

// image: HSV source layout; analysis: edge distances; stencil: output in
// premultiplied colour layout. All three at least the image's size.
StageStatus aquifyImage(const BitmapRep& image, const BitmapRep& analysis, BitmapRep& stencil,
                        const AquifyParameters& params);

// Brings any hue into [0, 1). Hues within ±kHueWrapLimit step by whole
// turns exactly as the stage always has; larger or non-finite ones, which
// would never finish stepping, are reduced first.
inline constexpr float kHueWrapLimit = 64.0f;
float wrapHue(float hue);

} // namespace gelcoat
