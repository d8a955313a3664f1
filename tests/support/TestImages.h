#pragma once
// Small helpers for building and inspecting engine buffers in tests.

#include "engine/buffer/BitmapRep.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gelcoat::test {

BitmapRep makeBuffer(int width, int height);

// Fills every pixel from f(x, y) → packed R,G,B,A (R most significant).
BitmapRep makeBuffer(int width, int height, const std::function<std::uint32_t(int, int)>& f);

std::uint32_t pixel(const BitmapRep& rep, int x, int y);
void setPixel(BitmapRep& rep, int x, int y, std::uint32_t rgba);

// A deterministic pseudo-random generator for test shapes.
struct Lcg {
    std::uint32_t state;
    std::uint32_t next() { return state = state * 1664525u + 1013904223u; }
    int below(int n) { return int((next() >> 8) % std::uint32_t(n)); }
};

// Antialiased discs and rectangles of random flat colours on transparency.
BitmapRep randomShapes(int width, int height, std::uint32_t seed, bool opaqueEdges = false);

// Every alpha down the rows, premultiplied colour at or below it across:
// most pixels are partly covered, where unpremultiplying rounds.
BitmapRep coverRamp(int width, int height);

// A 21 × 21 opaque reference button whose every pixel differs, so that
// table lookups are traceable: hue near 0.59, value falling with the row.
BitmapRep syntheticBase();

// Installs syntheticBase() as the shading tables' source and refills them.
void useSyntheticBase();

// Collects engine log lines for the duration of a test.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string>& lines() const;
};

} // namespace gelcoat::test
