#include "SimpleStencilRows.h"

#include "ui_TintDocument.h"


namespace gelcoat {

namespace {
enum Row { HueSlider, HueStrip, SaturationSlider, BrightnessSlider };

QRectF resizeFrame(QRectF frame, int dW, int, int)
{
    frame.setWidth(frame.width() + dW / 2);
    return frame;
}
} // namespace

SimpleStencilRows::SimpleStencilRows(Ui::TintDocument& form)
    : form_(form), baseSize_(form.hueSlider->parentWidget()->size())
{
    rowViews_ = {form.hueSlider, form.hueStrip, form.saturationSlider, form.brightnessSlider};
    for (size_t i = 0; i < rowViews_.size(); ++i)
        rowFrames_[i] = rowViews_[i]->geometry();
    contrastSliderFrame_ = form.contrastSlider->geometry();
    checkBoxes_ = {form.useOriginalHueButton, form.useOriginalSaturationButton,
                   form.useOriginalBrightnessButton};
}

bool SimpleStencilRows::arrange(bool simpleStencil, int dW, int dH)
{
    std::array<QRectF, 4> frames = rowFrames_;
    if (simpleStencil) {
        const double width = contrastSliderFrame_.width();
        const double stripShortfall =
            rowFrames_[HueSlider].width() - rowFrames_[HueStrip].width();
        for (Row row : {HueSlider, SaturationSlider, BrightnessSlider})
            frames[row].setWidth(width);
        frames[HueStrip].setWidth(width - stripShortfall);
    }
    bool changed = false;
    for (size_t i = 0; i < frames.size(); ++i) {
        const QRect frame = resizeFrame(frames[i], dW, dH, 9).toRect();
        if (rowViews_[i]->geometry() != frame) {
            rowViews_[i]->setGeometry(frame);
            changed = true;
        }
    }
    for (QWidget* box : checkBoxes_) {
        // Hidden, not invisible: nothing is visible before the window shows.
        if (box->isHidden() != simpleStencil) {
            box->setHidden(simpleStencil);
            changed = true;
        }
    }
    return changed;
}

} // namespace gelcoat
