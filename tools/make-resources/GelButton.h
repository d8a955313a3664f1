#pragma once
// The reference gel button: a 21 × 21 picture of a round blue gel button
// whose right half the shading tables sample, one column per horizontal
// distance from the centre, each column along its chord of the disk.

#include <cstdint>
#include <string>
#include <vector>

namespace gelcoat::resources {

inline constexpr int kButtonSide = 21;
inline constexpr int kButtonRadius = 10;
// Chord length (in pixels, one less than the samples) of each column from
// the centre (0) to the rim (10), as the tables read them.
inline constexpr int kButtonChord[kButtonRadius + 1] = {20, 20, 20, 18, 18, 18,
                                                        16, 14, 12, 10, 4};
// The button's own hue, a mid blue, as a fraction of a turn.
inline constexpr double kButtonHue = 0.59;

// Premultiplied RGBA, rows top first, kButtonSide × kButtonSide, opaque.
std::vector<std::uint8_t> makeGelButtonPixels();

// True when (x, y) is one of the pixels the shading tables read.
bool isSampledButtonPixel(int x, int y);

// Checks every sampled pixel of an RGBA raster of the button's size:
// opaque, hue within 0.01 of kButtonHue, some saturation, value above 0.
// Returns one message per offending pixel.
std::vector<std::string> checkGelButtonPixels(const std::vector<std::uint8_t>& rgba);

} // namespace gelcoat::resources
