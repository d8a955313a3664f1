#include "window/TooltipStore.h"

#include "ui_TintDocument.h"

#include "document/settings/PreferenceNotifications.h"
#include "document/settings/Preferences.h"

namespace gelcoat {

namespace {

struct Store {
    std::array<QString, kTooltipSlotCount> texts;
    bool filled = false;
};

Store& store()
{
    static Store shared;
    return shared;
}

void showTooltipsPreference(const Ui::TintDocument& form)
{
    if (Preferences::shared().showTooltips())
        addTooltipsToViews(form);
    else
        removeTooltipsFromViews(form);
}

} // namespace

std::array<QWidget*, kTooltipSlotCount> tooltipSlots(const Ui::TintDocument& f)
{
    return {f.gelcoatButton, f.destImageWell, f.sourceImageWell, f.useOriginalHueButton,
            f.useOriginalSaturationButton, f.useOriginalBrightnessButton, f.hueWell,
            f.hueSlider, f.hueValueField, f.useRainbowCheckbox, f.rainbowTypeRadio,
            f.rainbowCircle, f.rainbowAngleValueField, f.rainbowRadiusValueField,
            f.saturationSlider, f.saturationValueField, f.brightnessSlider,
            f.brightnessValueField, f.contrastSlider, f.contrastValueField, f.aquaMarginSlider,
            f.aquaMarginValueField, f.alphaSlider, f.alphaValueField, f.shadowDensitySlider,
            f.shadowDensityValueField, f.shadowSharpnessSlider, f.shadowSharpnessValueField,
            f.shadowWarningButton, f.shadowCircle, f.shadowAngleValueField,
            f.shadowRadiusValueField, f.finalSizeSlider, f.finalSizeValueField,
            f.sourceActionButton, f.destActionButton};
}

void saveTooltipsForLater(const Ui::TintDocument& form)
{
    Store& s = store();
    if (s.filled)
        return;
    const auto controls = tooltipSlots(form);
    for (int i = 0; i < kTooltipSlotCount; ++i)
        s.texts[i] = controls[i]->toolTip();
    s.filled = true;
}

void removeTooltipsFromViews(const Ui::TintDocument& form)
{
    for (QWidget* control : tooltipSlots(form))
        control->setToolTip(QString());
}

void addTooltipsToViews(const Ui::TintDocument& form)
{
    const auto controls = tooltipSlots(form);
    for (int i = 0; i < kTooltipSlotCount; ++i)
        controls[i]->setToolTip(store().texts[i]);
}

QString storedTooltip(int slot)
{
    return slot >= 0 && slot < kTooltipSlotCount ? store().texts[slot] : QString();
}

void setUpTooltips(QWidget& window, const Ui::TintDocument& form)
{
    saveTooltipsForLater(form);
    const auto controls = tooltipSlots(form);
    for (int i = 0; i < kTooltipSlotCount; ++i)
        controls[i]->setAccessibleDescription(store().texts[i]);
    if (!Preferences::shared().showTooltips())
        removeTooltipsFromViews(form);
    QObject::connect(&PreferenceNotifications::center(),
                     &PreferenceNotifications::showTooltipsChanged, &window,
                     [&form] { showTooltipsPreference(form); });
}

} // namespace gelcoat
