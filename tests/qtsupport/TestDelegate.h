#pragma once
// An application delegate with a settable name and version, for the shared
// library's Qt Test cases.  Install it in KPApplicationDelegate.

#include "KPApplicationDelegate.h"

#include <QString>

class TestDelegate : public KPApplicationDelegateInterface {
public:
    explicit TestDelegate(const QString& name = QStringLiteral("Gelcoat"),
                          const QString& version = QStringLiteral("2.0"))
        : name(name), version(version)
    {
    }
    QString applicationName() const override { return name; }
    QString applicationVersion() const override { return version; }
    QString applicationBundleIdentifier() const override
    {
        return QStringLiteral("org.example.gelcoat");
    }

    QString name;
    QString version;
};
