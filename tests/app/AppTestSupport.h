#pragma once
// Helpers shared by the application shell's Qt Test cases.

#include "delegate/AppDelegate.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QWidget>

// The program's identity, empty settings, and no version check at launch.
inline void startWithCleanSettings()
{
    gelcoat::AppDelegate::setUpApplication();
    QSettings().clear();
    QSettings().setValue(QStringLiteral("DoVersionCheck"), QStringLiteral("NO"));
}

// Saves a picture of the widget beside the test executable, under
// screens/<name>.png, and returns the path.
inline QString saveScreenshot(QWidget* widget, const QString& name)
{
    QDir dir(QCoreApplication::applicationDirPath());
    dir.mkpath(QStringLiteral("screens"));
    const QString path = dir.filePath(QStringLiteral("screens/") + name + QStringLiteral(".png"));
    widget->grab().save(path);
    return path;
}
