#pragma once
// Helpers shared by the application shell's Qt Test cases.

#include "app/delegate/AppDelegate.h"
#include "tests/qtsupport/Screenshot.h"
#include "tests/qtsupport/TestSettings.h"

#include <QSettings>

// The program's identity, empty settings of the test's own, and no version
// check at launch.
inline void startWithCleanSettings()
{
    useTemporarySettings();
    gelcoat::AppDelegate::setUpApplication();
    QSettings().clear();
    QSettings().setValue(QStringLiteral("DoVersionCheck"), QStringLiteral("NO"));
}
