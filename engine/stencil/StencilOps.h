#pragma once
// Preparation of a stencil for the shading and shadow stages: the source in
// HSV codes, and each shape pixel's distances to the shape's edges.

#include "engine/buffer/BitmapRep.h"
#include "engine/buffer/StageStatus.h"

namespace gelcoat {

// Alpha at or above this marks a pixel as part of the shape.
inline constexpr int kInsideAlpha = 127;
// Edge distances are capped here; 0 marks an outside pixel.
inline constexpr int kMaxEdgeDistance = 254;

// Rewrites a premultiplied colour buffer in place as hue, saturation and
// value codes of the un-premultiplied colour, alpha kept.
StageStatus hsvConvertImage(BitmapRep& image);

// Writes each inside pixel's left, right, top and bottom distance (1–254,
// the pixel itself counted) and zeros for outside pixels. Only the source's
// alpha bytes are read.
StageStatus analyzeImage(const BitmapRep& source, BitmapRep& stencil);

} // namespace gelcoat
