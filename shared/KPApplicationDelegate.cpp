#include "shared/KPApplicationDelegate.h"

KPApplicationDelegateInterface* KPApplicationDelegate = nullptr;

namespace {

KPApplicationIdentity& identityRecord()
{
    static KPApplicationIdentity identity;
    return identity;
}

} // namespace

void KPSetApplicationIdentity(const KPApplicationIdentity& identity)
{
    identityRecord() = identity;
}

const KPApplicationIdentity& KPCurrentApplicationIdentity()
{
    return identityRecord();
}

QString KPCurrentApplicationName()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationName()
                                 : identityRecord().name;
}

QString KPCurrentApplicationVersion()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationVersion()
                                 : identityRecord().version;
}

QString KPCurrentApplicationIdentifier()
{
    return KPApplicationDelegate ? KPApplicationDelegate->applicationBundleIdentifier()
                                 : identityRecord().identifier;
}
