#include "views/resources/ViewImages.h"

#include <QHash>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace gelcoat {

Q_LOGGING_CATEGORY(lcViews, "gelcoat.views")

namespace {

// Misses are kept too, so each is tried and reported once.
QImage cachedFile(const QString& path)
{
    static QHash<QString, QImage> cache;
    const auto found = cache.constFind(path);
    if (found != cache.constEnd())
        return *found;
    const QImage image(path);
    cache.insert(path, image);
    return image;
}

} // namespace

QImage viewImage(const QString& folder, const QString& name, qreal pixelRatio)
{
    const QString base = QStringLiteral(":/images/%1/%2").arg(folder, name);
    if (pixelRatio > 1.0) {
        QImage dense = cachedFile(base + QStringLiteral("@2x.png"));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return dense;
        }
    }
    static QHash<QString, bool> reported;
    const QImage image = cachedFile(base + QStringLiteral(".png"));
    if (image.isNull() && !std::exchange(reported[base], true))
        qCWarning(lcViews) << "The picture" << name << "is missing from the program's resources";
    return image;
}

qreal paintPixelRatio(const QPainter& painter)
{
    const QTransform& toDevice = painter.deviceTransform();
    const qreal scale = std::hypot(toDevice.m11(), toDevice.m12());
    return std::max(scale, painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
}

} // namespace gelcoat
