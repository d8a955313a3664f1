#pragma once
// A preview renders a reduced copy of the stencil. Settings measured in
// stencil pixels are scaled with it, so that the preview looks like the
// exact result shrunk: the bevel's width, the shadow's offsets and blur
// radius and the bug's position. The result is the reduced copy at its own
// size (final size 100 %).

#include "document/settings/TintSettings.h"

namespace gelcoat {

// scale: preview pixels per stencil pixel, in (0, 1].
TintSettings previewSettings(const TintSettings& exact, double scale);

} // namespace gelcoat
