#include "app/delegate/VersionCheckAvailability.h"

#include "shared/KPApplicationDelegate.h"

#include <QUrl>

namespace gelcoat {

bool isPlaceholderWebSite(const QString& site)
{
    const QUrl url(site);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return true;
    const QString host = url.host().toLower();
    for (const char* reserved : {"example.org", "example.com", "example.net"}) {
        const QString name = QString::fromLatin1(reserved);
        if (host == name || host.endsWith(QLatin1Char('.') + name))
            return true;
    }
    for (const char* suffix : {".example", ".test", ".invalid"})
        if (host.endsWith(QString::fromLatin1(suffix)))
            return true;
    return false;
}

bool versionCheckingAvailable()
{
    return !isPlaceholderWebSite(KPCurrentApplicationIdentity().webSite);
}

} // namespace gelcoat
