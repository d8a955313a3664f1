#pragma once
// Pictures of widgets written by the Qt Test cases, for looking at by hand.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

// Saves a picture of the widget beside the test executable, under
// <folder>/<name>.png (directly beside it when the folder is empty), and
// returns the path, or an empty string when the picture was not written.
inline QString saveScreenshot(QWidget* widget, const QString& name,
                              const QString& folder = QStringLiteral("screens"))
{
    QDir dir(QCoreApplication::applicationDirPath());
    QString file = name + QStringLiteral(".png");
    if (!folder.isEmpty()) {
        dir.mkpath(folder);
        file = folder + QLatin1Char('/') + file;
    }
    const QString path = dir.filePath(file);
    return widget->grab().save(path) ? path : QString();
}
