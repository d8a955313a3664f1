#pragma once
// An application identity and a delegate with a settable name and version,
// for the shared library's Qt Test cases.  install() hands both to the
// library, as an application does at start.

#include "shared/KPApplicationDelegate.h"

#include <QString>

inline KPApplicationIdentity testIdentity()
{
    return {.name = QStringLiteral("Gelcoat"),
            .version = QStringLiteral("2.0"),
            .identifier = QStringLiteral("org.example.gelcoat"),
            .webSite = QStringLiteral("https://www.example.org/"),
            .supportAddress = QStringLiteral("support@example.org"),
            .creditLine = QStringLiteral("A. Tester (%@)"),
            .noticeLine = QStringLiteral("Notice for testing")};
}

class TestDelegate : public KPApplicationDelegateInterface {
public:
    explicit TestDelegate(const QString& name = QStringLiteral("Gelcoat"),
                          const QString& version = QStringLiteral("2.0"))
        : name(name), version(version)
    {
    }
    void install(const KPApplicationIdentity& identity = testIdentity())
    {
        KPSetApplicationIdentity(identity);
        KPApplicationDelegate = this;
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
