#pragma once
// Helpers shared by the application shell's Qt Test cases.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

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
