#include "document/settings/SettingsStepName.h"

#include "document/settings/SettingsKeys.h"

#include <QCoreApplication>

#include <cstring>

namespace gelcoat {

QString settingsStepName(const TintSettings& before, const TintSettings& after)
{
    const char* found = nullptr;
    for (const SettingField& field : settingFields()) {
        if (field.isDisplayOption() || !differs(field, before, after))
            continue;
        // Two controls changed at once (a script's settings, say) make one
        // step that neither name fits.
        if (!field.stepName || (found && std::strcmp(field.stepName, found) != 0))
            return QCoreApplication::translate("SettingsStep", "Settings");
        found = field.stepName;
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
