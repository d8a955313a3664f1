#include "app/delegate/ProgramIdentity.h"

#include "BuildSettings.h"

namespace gelcoat {

const KPApplicationIdentity& programIdentity()
{
    static const KPApplicationIdentity identity{
        .name = QString::fromUtf8(build::applicationName),
        .version = QString::fromUtf8(build::applicationVersion),
        .identifier = QString::fromUtf8(build::applicationIdentifier),
        .webSite = QString::fromUtf8(build::makerWebSite),
        .supportAddress = QString::fromUtf8(build::supportAddress),
        .creditLine = QString::fromUtf8(build::creditLine),
        .noticeLine = QString::fromUtf8(build::noticeLine),
    };
    return identity;
}

} // namespace gelcoat
