#pragma once
// Source-over compositing of premultiplied RGBA bytes: each byte is
// src + below × (255 − src alpha) / 255, rounded to nearest and kept within
// a byte. Integer arithmetic: every vector target gives the same bytes.

#include <cstdint>

namespace gelcoat {

// One row of `pixels` pixels; out may be below.
void compositeRowBytes(const std::uint8_t* src, const std::uint8_t* below, std::uint8_t* out, int pixels);

} // namespace gelcoat
