#pragma once
// The shadow's two loops over whole rows. Integer sums and one IEEE
// division per pixel: every vector target gives the same bytes.

#include <cstdint>

namespace gelcoat {

// acc[i] += hi[i] − lo[i] for i < n, modulo 2^32.
void addDifferences(std::uint32_t* acc, const std::uint32_t* hi, const std::uint32_t* lo, std::int64_t n);

// Pixel x of out becomes 0, 0, 0, floor(acc[x] / D) capped to 0–255; a sum
// of 0 stays 0 even when the divisor is 0 or not a number. Each sum is below
// 2^24, so it converts to float exactly.
void writeShadowRow(const std::uint32_t* acc, std::uint8_t* out, int W, float D);

} // namespace gelcoat
