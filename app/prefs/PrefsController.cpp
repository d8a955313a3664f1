#include "app/prefs/PrefsController.h"

#include "ui_Preferences.h"

#include "shared/KPCocoaExtra.h"

namespace gelcoat {

PrefsController& PrefsController::sharedPrefsController()
{
    // Kept for the life of the process, like the windows that read it.
    static PrefsController* shared = new PrefsController;
    return *shared;
}

PrefsController::PrefsController()
{
    Preferences::shared();
}

PrefsController::~PrefsController()
{
    delete preferencesWindow_.data();
}

QAbstractButton* PrefsController::showTooltipsCheckbox() const
{
    return ui_ ? ui_->showTooltipsCheckbox : nullptr;
}

QAbstractButton* PrefsController::showRainbowStripCheckbox() const
{
    return ui_ ? ui_->showRainbowStripCheckbox : nullptr;
}

QButtonGroup* PrefsController::flatteningDefaultMatrix() const
{
    return ui_ ? ui_->flatteningDefaultMatrix : nullptr;
}

QSpinBox* PrefsController::vectorSideField() const
{
    return ui_ ? ui_->vectorSideField : nullptr;
}

void PrefsController::loadWindow()
{
    preferencesWindow_ = new QDialog(nullptr);
    ui_ = std::make_unique<Ui::Preferences>();
    ui_->setupUi(preferencesWindow_);
    // Closing hides the window; it stays loaded with the controls as left.
    preferencesWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    // An open preferences window alone does not keep the program running.
    preferencesWindow_->setAttribute(Qt::WA_QuitOnClose, false);
    preferencesWindow_->setFocusPolicy(Qt::StrongFocus);
    KPTransformIntoKPPanel(preferencesWindow_); // Ctrl+W closes it

    QButtonGroup* matrix = ui_->flatteningDefaultMatrix;
    for (QAbstractButton* cell : matrix->buttons())
        matrix->setId(cell, cell->property("tag").toInt());

    ui_->showTooltipsCheckbox->setChecked(showTooltips());
    ui_->showRainbowStripCheckbox->setChecked(showRainbowStrip());
    if (QAbstractButton* cell = matrix->button(flatteningChoice()))
        cell->setChecked(true);
    ui_->vectorSideField->setRange(1, kMaxVectorSide);
    ui_->vectorSideField->setValue(Preferences::shared().vectorSide());

    connect(ui_->showTooltipsCheckbox, &QAbstractButton::toggled, this,
            &PrefsController::showTooltipsChanged);
    connect(ui_->showRainbowStripCheckbox, &QAbstractButton::toggled, this,
            &PrefsController::showRainbowStripChanged);
    connect(ui_->vectorSideField, &QSpinBox::valueChanged, this,
            &PrefsController::vectorSideChanged);
    connect(matrix, &QButtonGroup::idToggled, this, [this](int tag, bool on) {
        if (on)
            flatteningDefaultChanged(tag);
    });

    fixEnabling();
    preferencesWindow_->adjustSize();
    preferencesWindow_->setFixedSize(preferencesWindow_->size());
}

void PrefsController::showWindow()
{
    const bool firstShow = !preferencesWindow_;
    if (firstShow)
        loadWindow();
    preferencesWindow_->show();
    // Centred once shown, when the frame round it is known.
    if (firstShow)
        KPCenterOnPrimaryScreen(preferencesWindow_);
    preferencesWindow_->raise();
    preferencesWindow_->activateWindow();
    // No control starts focused.
    preferencesWindow_->setFocus(Qt::OtherFocusReason);
}

void PrefsController::closeWindow()
{
    if (preferencesWindow_)
        preferencesWindow_->close();
}

void PrefsController::showTooltipsChanged(bool state)
{
    Preferences::shared().setShowTooltips(state);
}

void PrefsController::showRainbowStripChanged(bool state)
{
    Preferences::shared().setShowRainbowStrip(state);
}

void PrefsController::flatteningDefaultChanged(int tag)
{
    Preferences::shared().setFlatteningChoice(tag);
}

void PrefsController::vectorSideChanged(int side)
{
    Preferences::shared().setVectorSide(side);
}

} // namespace gelcoat
