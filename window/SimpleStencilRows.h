#pragma once
// The hue, saturation and brightness rows in their two arrangements: with
// the use-original check boxes, or, for a simple stencil (whose own hue,
// saturation and brightness mean nothing), without them and with the
// sliders and the hue strip widened into their room as far as the contrast
// slider reaches.

#include <QRectF>
#include <QSize>

#include <array>

class QWidget;

namespace Ui {
class TintDocument;
}

namespace gelcoat {

class SimpleStencilRows {
public:
    // Records the rows' frames as the form has them, before any resize.
    explicit SimpleStencilRows(Ui::TintDocument& form);

    // The document area's size the recorded frames belong to.
    QSize baseSize() const { return baseSize_; }

    // Arranges the rows for the stencil kind and the area's growth over the
    // base size; true when any frame or check box changed.
    bool arrange(bool simpleStencil, int dW, int dH);

private:
    Ui::TintDocument& form_;
    QSize baseSize_;
    std::array<QWidget*, 4> rowViews_{};  // hue slider, hue strip, saturation, brightness
    std::array<QRectF, 4> rowFrames_{};   // y-up, in the area
    QRectF contrastSliderFrame_;
    std::array<QWidget*, 3> checkBoxes_{};
};

} // namespace gelcoat
