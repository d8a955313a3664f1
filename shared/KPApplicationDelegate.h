#pragma once
// What the shared library asks of the running application.  The
// application's delegate implements this and records itself in
// KPApplicationDelegate on construction (and clears it on destruction);
// the about panel and the version checker read it.

#include <QString>

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

// The delegate's answers, or the build settings while there is no delegate.
QString KPCurrentApplicationName();
QString KPCurrentApplicationVersion();
QString KPCurrentApplicationIdentifier();
