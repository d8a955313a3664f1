#pragma once
// The seven display options that new documents take from the user
// defaults, with the fallbacks registered once per process.

#include "document/settings/TintSettings.h"

namespace gelcoat {

// Registers "YES"/"NO" strings for the six switches and the integer 3 for
// the result background; later calls do nothing.
void registerDefaults();

// Reads the six switches with boolForKey and the background with
// integerForKey into the display fields.
void readDisplayDefaults(TintSettings& settings);

// Writes the display options that differ between before and after, so that
// documents made later start with them.
void writeChangedDisplayDefaults(const TintSettings& before, const TintSettings& after);

} // namespace gelcoat
