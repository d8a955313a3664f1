#pragma once
// The application-delegate base every program of the maker shares: the
// program's identity from the build settings, the about panel, version
// checking, the read-me, web-page and support-mail commands, and a way to
// bring the program to the front before it shows a panel.

#include "shared/KPApplicationDelegate.h"

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

namespace gelcoat {

class KPAppDelegate : public QObject, public KPApplicationDelegateInterface {
    Q_OBJECT
public:
    // Hands the program's identity to the shared library and records itself
    // as KPApplicationDelegate.
    explicit KPAppDelegate(QObject* parent = nullptr);
    ~KPAppDelegate() override;

    // The delegate recorded in KPApplicationDelegate, if it is one of ours.
    static KPAppDelegate* current();

    // From the program's identity.
    QString applicationName() const override;
    QString applicationVersion() const override;
    QString applicationBundleIdentifier() const override;

    // Link text in the about panel's body -> the address it opens. Every
    // program supplies its own; this one logs and throws std::logic_error.
    virtual QMap<QString, QString> aboutURLDictionary() const;

    // "mailto:<support>?subject=<name>%20<version>".
    QString supportEmailURL() const;
    // The maker's web site with a path below it.
    static QUrl makerPage(const QString& path = QString());

    // Deferred activation. The slot named `member` runs on target (or on
    // this delegate) now when the program is active, else once the program
    // becomes active or 0.1 s have passed, whichever comes first.
    void activateAndPerformSelector(const char* member, QObject* target = nullptr);
    void setActivationSelector(const char* member, QObject* target);
    // Tests decide whether the program counts as active.
    void setActiveQueryForTesting(std::function<bool()> query);

public slots:
    void serviceActivationSelector();
    void applicationDidBecomeActive();

    void showAbout();
    void checkVersionNow();
    void automaticVersionChecking();
    void activeShowAbout();
    void activeCheckVersionNow();
    void activeAutomaticVersionChecking();

    void showReadMe();
    void showProductHomePage();
    void showQuillSoftwarePage();
    void sendQuillSoftwareEmail();

private:
    bool isActive() const;
    void perform(const char* member, QObject* target);
    void runMenuCommand(const char* member);

    QByteArray pendingMember_;
    QPointer<QObject> pendingTarget_;
    bool pendingHasTarget_ = false;
    std::function<bool()> activeQuery_;
};

} // namespace gelcoat
