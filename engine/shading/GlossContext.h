#pragma once
// What the gloss stage's per-pixel code shares between its scalar and its
// vector form.

#include "shading/AquaTables.h"
#include "shading/Gloss.h"

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

// A pixel whose four distances all exceed the button's radius maps to the
// centre of the button in both table columns it reads: xpos 0 and the
// middle of a 20-sample chord. Its shading is then exactly the centre
// entry, added to the rainbow hue; the other three taps weigh 0.
inline bool deepInside(float left, float right, float top, float bottom)
{
    constexpr float N = float(aquaArraySize);
    return left > N && right > N && top > N && bottom > N;
}

bool glossAvx2Available();

// Renders the eight pixels from column x when each is either clear (no
// distances, no alpha) or deep inside the shape, with exactly the scalar
// stage's arithmetic; returns false, writing nothing, otherwise.
bool aquifyEightAvx2(const GlossContext& c, const std::uint8_t* img, const std::uint8_t* ana,
                     std::uint8_t* out, int x, float dy);

} // namespace gelcoat
