#include "window/SimpleStencilRows.h"

#include "ui_TintDocument.h"

#include "window/layout/RecordedFrames.h"

#include "views/paint/UpCoordinates.h"

#include <utility>

namespace gelcoat {

bool arrangeTintingRows(Ui::TintDocument& form, const QWidget& area, bool simpleStencil)
{
    // The area's size, not its growth: growthOf(int, int) takes the growth.
    const layout::Growth growth = layout::growthOf(double(area.width()), double(area.height()));
    const layout::TintingRows rows = layout::tintingRows(simpleStencil, growth);
    const std::pair<QWidget*, layout::Frame> placed[] = {
        {form.hueSlider, rows.hueSlider},
        {form.hueStrip, rows.hueStrip},
        {form.saturationSlider, rows.saturationSlider},
        {form.brightnessSlider, rows.brightnessSlider},
    };
    bool changed = false;
    for (const auto& [view, frame] : placed) {
        const kp::UpRect up{frame.x, frame.y, frame.width, frame.height};
        const QRect wanted = kp::toQtRect(up, area.height()).toRect();
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
