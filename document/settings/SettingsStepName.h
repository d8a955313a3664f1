#pragma once
// What an undoable change of the settings is called in the Edit menu
// ("Undo Hue", "Redo Shadow Offset"): the control that shows the fields
// the change touched, as the settings table names it.

#include "document/settings/TintSettings.h"

#include <QString>

namespace gelcoat {

// The name of the one control whose fields differ between before and
// after, translated; "Settings" when the fields of several differ, and
// empty when none does. Display options do not count.
QString settingsStepName(const TintSettings& before, const TintSettings& after);

// The name of a preset's command without its mnemonic ("Graphite",
// "Default Settings"), translated.
QString presetStepName(TintPreset preset);

} // namespace gelcoat
