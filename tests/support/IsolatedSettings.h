#pragma once
// A user-defaults store of its own for each test: an empty INI folder that
// disappears afterwards.

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace gelcoat::test {

class IsolatedSettings {
public:
    explicit IsolatedSettings(const char* application)
    {
        QCoreApplication::setOrganizationName(QStringLiteral("GelcoatTests"));
        QCoreApplication::setApplicationName(QString::fromLatin1(application));
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
        QSettings().clear();
    }
    bool isValid() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

} // namespace gelcoat::test
