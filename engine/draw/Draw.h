#pragma once
// Drawing on premultiplied RGBA buffers: copy, source-over compositing and
// high-quality resampling, the operations the render pipeline builds its
// composite and final image with.

#include "engine/buffer/BitmapRep.h"

#include <span>

namespace gelcoat {

// Replaces every pixel of dst (alpha included) by src; sizes must match.
bool copyPixels(const BitmapRep& src, BitmapRep& dst);

// dst = src + dst × (255 − srcA) / 255 per byte, rounded to nearest.
bool compositeSourceOver(const BitmapRep& src, BitmapRep& dst);
// The same with the result written to out (which may be below).
bool compositeSourceOver(const BitmapRep& src, const BitmapRep& below, BitmapRep& out);

// Fills dst with one opaque premultiplied colour.
void fillPixels(BitmapRep& dst, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);

// Resamples src to exactly dst's size with a Lanczos-3 filter on the
// premultiplied samples, replacing every pixel of dst. Colour never exceeds
// alpha, and an axis whose size does not change is copied untouched, so a
// same-size resample is the identity.
bool resamplePixels(const BitmapRep& src, BitmapRep& dst);

// The same into each of dsts, any sizes, sharing the work they have in
// common; each gets the bytes resamplePixels(src, *dst) would give.
bool resamplePixels(const BitmapRep& src, std::span<BitmapRep* const> dsts);

// Draws src at its natural size into dst, rotated counter-clockwise (as
// seen on screen) by 90, 180 or 270 degrees; any other angle draws nothing.
bool drawRotated(const BitmapRep& src, BitmapRep& dst, int degrees);

} // namespace gelcoat
