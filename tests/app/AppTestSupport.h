#pragma once
// Helpers shared by the application shell's Qt Test cases.

#include "delegate/AppDelegate.h"
#include "qtsupport/Screenshot.h"

#include <QSettings>

// The program's identity, empty settings, and no version check at launch.
inline void startWithCleanSettings()
{
    gelcoat::AppDelegate::setUpApplication();
    QSettings().clear();
    QSettings().setValue(QStringLiteral("DoVersionCheck"), QStringLiteral("NO"));
}
