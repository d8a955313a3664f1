#include "KPApplicationDelegate.h"

#include "BuildSettings.h"

KPApplicationDelegateInterface* KPApplicationDelegate = nullptr;

QString KPCurrentApplicationName()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationName()
                                 : QString::fromUtf8(gelcoat::build::applicationName);
}

QString KPCurrentApplicationVersion()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationVersion()
                                 : QString::fromUtf8(gelcoat::build::applicationVersion);
}

QString KPCurrentApplicationIdentifier()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationBundleIdentifier()
                                 : QString::fromUtf8(gelcoat::build::applicationIdentifier);
}
