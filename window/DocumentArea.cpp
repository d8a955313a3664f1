#include "window/DocumentArea.h"

#include "window/layout/LayoutRule.h"

namespace gelcoat {

QSize DocumentArea::sizeHint() const { return {layout::kBaseWidth, layout::kBaseHeight}; }

} // namespace gelcoat
