#include "window/SimpleStencilRows.h"

#include "ui_TintDocument.h"

#include "window/layout/RecordedFrames.h"

#include <utility>

namespace gelcoat {

bool arrangeTintingRows(Ui::TintDocument& form, const QWidget& area,
                        const layout::RecordedFrames& frames, bool simpleStencil)
{
    const layout::TintingRows rows =
        frames.tintingRows(simpleStencil, area.width(), area.height());
    const std::pair<QWidget*, layout::DownRect> placed[] = {
        {form.hueSlider, rows.hueSlider},
        {form.hueStrip, rows.hueStrip},
        {form.saturationSlider, rows.saturationSlider},
        {form.brightnessSlider, rows.brightnessSlider},
    };
    bool changed = false;
    for (const auto& [view, r] : placed) {
        const QRect wanted(r.x, r.y, r.width, r.height);
        if (view->geometry() != wanted) {
            view->setGeometry(wanted);
            changed = true;
        }
    }
    for (QWidget* box : {static_cast<QWidget*>(form.useOriginalHueButton),
                         static_cast<QWidget*>(form.useOriginalSaturationButton),
                         static_cast<QWidget*>(form.useOriginalBrightnessButton)}) {
        // Hidden, not invisible: nothing is visible before the window shows.
        if (box->isHidden() != simpleStencil) {
            box->setHidden(simpleStencil);
            changed = true;
        }
    }
    return changed;
}

} // namespace gelcoat
