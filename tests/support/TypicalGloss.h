#pragma once
// The gloss settings the tests and benchmarks use as their typical case:
// source hue kept, a linear rainbow sweep, saturation raised.

#include "engine/shading/Gloss.h"

namespace gelcoat::test {

inline AquifyParameters typicalGloss()
{
    AquifyParameters p;
    p.useOriginalHue = true;
    p.rainbow = true;
    p.xOffset = 0.07f;
    p.yOffset = 0.1f;
    p.hue = 0.59f;
    p.saturation = 1.5f;
    p.margin = 50;
    return p;
}

} // namespace gelcoat::test
