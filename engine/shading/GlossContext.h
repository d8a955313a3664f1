#pragma once
// What the gloss stage's row kernel reads besides the pixels.

#include "engine/shading/AquaTables.h"
#include "engine/shading/Gloss.h"

#include <cstdint>

namespace gelcoat {

struct Shading {
    float hue, saturation, value;
};

struct GlossContext {
    const AquifyParameters& p;
    const AquaTables& tables;
    float mf; // margin factor: distances times mf are table units
    float halfW, halfH;
    float xOffset, yOffset;  // doubled for the circular sweep
    float codeFraction[256]; // code / 255 in double, rounded to single
    const float* dxForColumn; // (x − cx) / halfW for every column
    Shading centre;           // the tables at the button's centre
};

// Renders one row of W pixels: y picks the rainbow's row offset. The best
// vector code the processor runs is chosen once; every choice gives the
// same bytes.
void aquifyRow(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
               std::uint8_t* out, int y, int W);

} // namespace gelcoat
