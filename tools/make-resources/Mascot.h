#pragma once
// Moss, the start picture's mascot: a small, friendly creature of moss in a
// few flat colours on a transparent background. Every part is its own
// opaque shape, set apart from its neighbours by a thin transparent gap, so
// that a gel rendering bevels each part separately.

#include <QImage>

namespace gelcoat::resources {

// The whole creature, 256 × 256, with room around it for a drop shadow.
QImage drawMoss();

// Moss's left foot (the one on the left of the picture) on its own, whole,
// at twice its size in the start picture: 144 × 120, with room around it
// for a drop shadow.
QImage drawLeftFoot();

} // namespace gelcoat::resources
