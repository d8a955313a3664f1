#pragma once
// The bitmap pictures of the circular slider at its two standard sizes: four
// bases by legal positions and knobs by tint and highlight. Loaded once per
// name (and scale) for the whole process.

#include <QImage>
#include <QString>

#include <cstdint>

namespace gelcoat {

// Resource names, e.g. "bigTargetSlider" or "smallGraphiteHighlightedKnob";
// an empty name for a tint that has no knob picture.
QString sliderBaseImageName(bool allowsCenter, bool allowsNonEdge, bool big);
QString sliderKnobImageName(std::int32_t tint, bool highlighted, bool big);

// The picture for a device pixel ratio (the double-resolution file above
// 1 when there is one), or a null image when it cannot be loaded.
QImage sliderBaseImage(bool allowsCenter, bool allowsNonEdge, bool big, qreal pixelRatio = 1.0);
QImage sliderKnobImage(std::int32_t tint, bool highlighted, bool big, qreal pixelRatio = 1.0);

} // namespace gelcoat
