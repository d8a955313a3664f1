#include "views/drop/DroppedImage.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace gelcoat {

bool mimeDataOffersImage(const QMimeData* data)
{
    if (!data)
        return false;
    if (data->hasImage())
        return true;
    const QStringList types = data->formats();
    if (std::any_of(types.begin(), types.end(),
                    [](const QString& type) { return type.startsWith(QLatin1String("image/")); }))
        return true;
    const QList<QUrl> urls = data->hasUrls() ? data->urls() : QList<QUrl>();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace gelcoat
