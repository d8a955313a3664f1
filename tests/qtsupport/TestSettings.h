#pragma once
// Points the user settings and the desktop's per-user folders (settings,
// data, cache, state) of a Qt Test process at an empty temporary folder of
// its own, removed when the process ends, so that a case run by hand, outside
// ctest, never reads or writes a user's real preferences.  Call it first in
// initTestCase, before anything opens a QSettings.

void useTemporarySettings();
