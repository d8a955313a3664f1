#include "document/settings/SettingsStepName.h"

#include "document/settings/SettingsKeys.h"

#include <QCoreApplication>

#include <cstring>

namespace gelcoat {

namespace {

// Each control by the keys of the fields it shows; a circle shows two.
struct ControlName {
    const char* const* keys[2];
    const char* name;
};

const ControlName kControlNames[] = {
    {{&colorHueKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Hue")},
    {{&colorSaturationKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Saturation")},
    {{&colorBrightnessKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Brightness")},
    {{&colorContrastKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Contrast")},
    {{&colorAlphaKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Opacity")},
    {{&aquaMarginKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Margin")},
    {{&useOriginalHueKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Original Hue")},
    {{&useOriginalSaturationKey, nullptr},
     QT_TRANSLATE_NOOP("SettingsStep", "Original Saturation")},
    {{&useOriginalBrightnessKey, nullptr},
     QT_TRANSLATE_NOOP("SettingsStep", "Original Brightness")},
    {{&useRainbowKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Rainbow")},
    {{&circularRainbowKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Type")},
    {{&rainbowXOffsetKey, &rainbowYOffsetKey}, QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Sweep")},
    {{&sourceBugXKey, &sourceBugYKey}, QT_TRANSLATE_NOOP("SettingsStep", "Rainbow Centre")},
    {{&shadowDensityKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Shadow Density")},
    {{&shadowSharpnessKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Shadow Sharpness")},
    {{&shadowXOffsetKey, &shadowYOffsetKey}, QT_TRANSLATE_NOOP("SettingsStep", "Shadow Offset")},
    {{&finalSizeKey, nullptr}, QT_TRANSLATE_NOOP("SettingsStep", "Final Size")},
};

bool fieldDiffers(const SettingField& f, const TintSettings& a, const TintSettings& b)
{
    switch (f.kind) {
    case SettingKind::Bool: return a.*f.boolField != b.*f.boolField;
    case SettingKind::Int: return a.*f.intField != b.*f.intField;
    case SettingKind::Float: return a.*f.floatField != b.*f.floatField;
    }
    return false;
}

const char* controlNameForKey(const char* key)
{
    for (const ControlName& control : kControlNames)
        for (const char* const* controlKey : control.keys)
            if (controlKey && std::strcmp(*controlKey, key) == 0)
                return control.name;
    return nullptr;
}

} // namespace

QString settingsStepName(const TintSettings& before, const TintSettings& after)
{
    const char* found = nullptr;
    for (const SettingField& field : settingFields()) {
        if (field.isDisplayOption || !fieldDiffers(field, before, after))
            continue;
        const char* name = controlNameForKey(field.key);
        if (!name || (found && name != found))
            return QCoreApplication::translate("SettingsStep", "Settings");
        found = name;
    }
    return found ? QCoreApplication::translate("SettingsStep", found) : QString();
}

QString presetStepName(TintPreset preset)
{
    switch (preset) {
    case TintPreset::Default: return QCoreApplication::translate("SettingsStep", "Default Settings");
    case TintPreset::Blue: return QCoreApplication::translate("SettingsStep", "Blue");
    case TintPreset::BlueHighlighted:
        return QCoreApplication::translate("SettingsStep", "Blue Highlighted");
    case TintPreset::Graphite: return QCoreApplication::translate("SettingsStep", "Graphite");
    case TintPreset::GraphiteHighlighted:
        return QCoreApplication::translate("SettingsStep", "Graphite Highlighted");
    case TintPreset::Inactive: return QCoreApplication::translate("SettingsStep", "Inactive");
    }
    return {};
}

} // namespace gelcoat
