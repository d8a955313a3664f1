#include "tests/qtsupport/UrlCatcher.h"

#include <QDesktopServices>

UrlCatcher::UrlCatcher(const QStringList& schemes) : schemes_(schemes)
{
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

void UrlCatcher::open(const QUrl& url)
{
    urls.append(url);
}
