// The handlers of the user's changes to the window's controls. Each converts
// its control's value into the setting's units; the document compares it
// with what it holds, and on a change stores it, marks itself edited and
// remakes the stages it touches. Only then do the other controls that show
// the setting follow.

#include "window/TintDocumentWindow.h"

#include "window/intake/StencilCommands.h"

#include "window/ScalarControl.h"
#include "ui_TintDocument.h"

#include "document/model/TintDocument.h"

#include <QButtonGroup>
#include <QMimeData>

namespace gelcoat {

void TintDocumentWindow::connectUserSignals()
{
    Ui::TintDocument& f = *form_;
    for (const ScalarControl& control : controls_.scalars) {
        const ScalarControl* c = &control;
        connect(c->slider, &FloatSlider::floatValueEdited, this, [this, c] { sliderChanged(*c); });
        connect(c->field, &QLineEdit::editingFinished, this, [this, c] { valueFieldChanged(*c); });
    }
    for (const SwitchControl& control : controls_.switches) {
        const SwitchControl* c = &control;
        connect(c->box, &QAbstractButton::clicked, this,
                [this, c](bool state) { switchChanged(*c, state); });
    }
    connect(rainbowTypes_, &QButtonGroup::idClicked, this, &TintDocumentWindow::rainbowTypeChanged);
    for (const CircleControl& control : controls_.circles) {
        const CircleControl* c = &control;
        connect(c->circle, &KPCircularSlider::activated, this, [this, c] { circleChanged(*c); });
        for (FloatValueField* field : {c->angleField, c->radiusField})
            connect(field, &QLineEdit::editingFinished, this,
                    [this, c] { circleFieldChanged(*c); });
    }
    connect(f.sourceImageWell, &BugImageView::sourceBugChanged, this,
            &TintDocumentWindow::sourceBugChanged);
    // The document decodes a drop; a refused one leaves its stencil shown.
    connect(f.sourceImageWell, &BugImageView::dataDropped, stencilCommands_,
            &StencilCommands::takePictureFrom);
    connect(stencilCommands_, &StencilCommands::dropTakenIn, this, [this](bool taken) {
        if (!taken)
            showSourceImage();
    });
    connect(f.shadowWarningButton, &QAbstractButton::clicked, stencilCommands_,
            &StencilCommands::adjustSourceSizeForShadow);
    connect(f.gelcoatButton, &QAbstractButton::clicked, this, &TintDocumentWindow::gelcoatChanged);
}

void TintDocumentWindow::sliderChanged(const ScalarControl& control)
{
    const float value = control.slider->floatValue();
    if (!document_->changeSetting([&](TintSettings& s) { s.*control.setting = value; }))
        return;
    showDerivedControls();
    control.field->setFloatValue(fieldFromSetting(value, control.factor));
}

void TintDocumentWindow::valueFieldChanged(const ScalarControl& control)
{
    // No clamping: a typed value beyond the slider's scale is kept, and the
    // slider shows it as far as its scale goes.
    const float value = settingFromField(*control.field, control.factor);
    if (!document_->changeSetting([&](TintSettings& s) { s.*control.setting = value; }))
        return;
    showDerivedControls();
    control.slider->setFloatValue(value);
}

void TintDocumentWindow::switchChanged(const SwitchControl& control, bool state)
{
    if (document_->changeSetting([&](TintSettings& s) { s.*control.setting = state; }))
        showDerivedControls();
}

void TintDocumentWindow::rainbowTypeChanged(int tag)
{
    document_->changeSetting([&](TintSettings& s) { s.circularRainbow = tag != 0; });
}

void TintDocumentWindow::circleChanged(const CircleControl& control)
{
    float x = 0.0f;
    float y = 0.0f;
    control.circle->getOffsets(&x, &y);
    if (!document_->changeSetting([&](TintSettings& s) {
            s.*control.xOffset = x;
            s.*control.yOffset = y;
        }))
        return;
    showCircleFields(control);
}

// Both fields are read whichever was edited. They keep what was typed even
// where the circle held the point back; the next refresh shows the point as
// stored.
void TintDocumentWindow::circleFieldChanged(const CircleControl& control)
{
    control.circle->setAngleAndDistance(
        settingFromField(*control.angleField, kAngleFactor),
        settingFromField(*control.radiusField, control.radiusFactor));
    float x = 0.0f;
    float y = 0.0f;
    control.circle->getOffsets(&x, &y);
    document_->changeSetting([&](TintSettings& s) {
        s.*control.xOffset = x;
        s.*control.yOffset = y;
    });
}

void TintDocumentWindow::sourceBugChanged()
{
    int x = 0;
    int y = 0;
    form_->sourceImageWell->getBugXY(&x, &y);
    document_->changeSetting([&](TintSettings& s) { moveBug(s, {x, y}); });
}

void TintDocumentWindow::gelcoatChanged(bool state)
{
    document_->gelcoatChanged(state);
}

} // namespace gelcoat
