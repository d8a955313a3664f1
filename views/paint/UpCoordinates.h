#pragma once
// The views lay themselves out in the shared library's y-up coordinates
// (origin at the bottom left, as their layout rules are stated) and convert
// to Qt's only where they paint or read the mouse.

#include "shared/UpGeometry.h"

namespace gelcoat {

using kp::fromQtPoint;
using kp::fromQtRect;
using kp::toQtPoint;
using kp::toQtRect;
using kp::UpRect;

} // namespace gelcoat
