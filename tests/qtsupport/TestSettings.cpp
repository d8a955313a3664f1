#include "tests/qtsupport/TestSettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

void useTemporarySettings()
{
    static QTemporaryDir home;
    if (!home.isValid())
        qFatal("Cannot make a temporary folder for the test's settings: %s",
               qPrintable(home.errorString()));
    const QString config = home.filePath(QStringLiteral("config"));
    // QStandardPaths reads these on every call, so changing them after the
    // application object exists still takes effect.
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", home.filePath(QStringLiteral("cache")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("state")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
}
