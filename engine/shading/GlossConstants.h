#pragma once
// The fixed numbers of the gloss stage's per-pixel formula, named once for
// the kernel and for the tests that check it.

namespace gelcoat {

// Subtracted (in double) from the sampled hue: the reference button's own
// hue, so that a user hue of 0 means "no shift".
inline constexpr double kButtonHue = 0.59;

// The value contrast pivots around: the button's mid-tone brightness.
inline constexpr double kContrastPivot = 0.85;

// A pixel with no edge distances (outside the shape, partly covered) gets
// this share of its value and of its alpha.
inline constexpr float kPartialPixelShare = 0.5f;

// The edge distances an outside pixel is shaded with: on the left and top
// edge of a button far wider and taller than the tables.
inline constexpr int kOutsideNearDistance = 1;
inline constexpr int kOutsideFarDistance = 100;

} // namespace gelcoat
