#pragma once
// The hue, saturation and brightness rows in their two arrangements: with
// the use-original check boxes, or, for a simple stencil (whose own hue,
// saturation and brightness mean nothing), without them and with the
// sliders and the hue strip widened into their room.

class QWidget;

namespace Ui {
class TintDocument;
}

namespace gelcoat::layout {
class RecordedFrames;
}

namespace gelcoat {

// Arranges the rows of form, laid out in area from frames, for the stencil
// kind and the area's current size; true when any frame or check box
// changed.
bool arrangeTintingRows(Ui::TintDocument& form, const QWidget& area,
                        const layout::RecordedFrames& frames, bool simpleStencil);

} // namespace gelcoat
