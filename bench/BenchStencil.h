#pragma once
// The benchmark stencil: large antialiased flat-colour shapes covering
// about two thirds of a square, the kind of picture users render.

#include "engine/buffer/BitmapRep.h"

#include <QString>

namespace gelcoat::bench {

BitmapRep makeBenchStencil(int side);

// Writes the stencil as PNG (straight alpha) for other programs; false on failure.
bool writeBenchStencil(int side, const QString& path);

// Share of pixels whose alpha is at least half.
double coverage(const BitmapRep& stencil);

} // namespace gelcoat::bench
