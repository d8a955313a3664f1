#pragma once
// What the shared library asks of the running application.  At start the
// application hands over its identity (KPSetApplicationIdentity); its
// delegate implements KPApplicationDelegateInterface and records itself in
// KPApplicationDelegate on construction (and clears it on destruction).  The
// about panel and the version checker read both.

#include <QString>

// The application as the user and the maker's web site know it.
struct KPApplicationIdentity {
    QString name;
    QString version;
    // Matched as a prefix against the lines of the published version list.
    QString identifier;
    // The maker's web site: scheme, host and a trailing slash.
    QString webSite;
    QString supportAddress;
    // The about panel's credit line; a "%@" in it takes the support address.
    QString creditLine;
    // The about panel's notice line.
    QString noticeLine;
};

// Replaces the identity the library reads; every field is empty until the
// application has called it.
void KPSetApplicationIdentity(const KPApplicationIdentity& identity);
const KPApplicationIdentity& KPCurrentApplicationIdentity();

class KPApplicationDelegateInterface {
public:
    virtual ~KPApplicationDelegateInterface() = default;
    virtual QString applicationName() const = 0;
    virtual QString applicationVersion() const = 0;
    // Matched as a prefix against the lines of the published version list.
    virtual QString applicationBundleIdentifier() const = 0;
};

// The application delegate; null until one exists.
extern KPApplicationDelegateInterface* KPApplicationDelegate;

// The delegate's answers, or the identity's while there is no delegate.
QString KPCurrentApplicationName();
QString KPCurrentApplicationVersion();
QString KPCurrentApplicationIdentifier();
