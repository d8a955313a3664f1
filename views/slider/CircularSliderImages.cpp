#include "slider/CircularSliderImages.h"

#include "slider/CircularSliderModel.h"

#include <QHash>

namespace gelcoat {

namespace {

QImage cachedImage(const QString& name, qreal pixelRatio)
{
    if (name.isEmpty())
        return {};
    static QHash<QString, QImage> cache; // main thread only
    const bool doubled = pixelRatio > 1.0;
    const QString file = name + (doubled ? QStringLiteral("@2x") : QString());
    const auto found = cache.constFind(file);
    if (found != cache.constEnd())
        return *found;
    QImage image(QLatin1String(kSliderImageFolder) + file + QStringLiteral(".png"));
    if (image.isNull())
        return doubled ? cachedImage(name, 1.0) : QImage();
    image.setDevicePixelRatio(doubled ? 2.0 : 1.0);
    cache.insert(file, image);
    return image;
}

} // namespace

QString sliderBaseImageName(bool allowsCenter, bool allowsNonEdge, bool big)
{
    const char* shape = allowsCenter ? (allowsNonEdge ? "Circular" : "Target")
                                     : (allowsNonEdge ? "Ring" : "Donut");
    return QStringLiteral("%1%2Slider").arg(big ? "big" : "small", shape);
}

QString sliderKnobImageName(std::int32_t tint, bool highlighted, bool big)
{
    QString colour;
    switch (tint) {
    case slider::kBlue:
        colour = highlighted ? QStringLiteral("BlueHighlighted") : QStringLiteral("Blue");
        break;
    case slider::kGraphite:
        colour = highlighted ? QStringLiteral("GraphiteHighlighted") : QStringLiteral("Graphite");
        break;
    case slider::kInactive:
        colour = QStringLiteral("Inactive"); // no highlighted look
        break;
    default:
        return {};
    }
    return QStringLiteral("%1%2Knob").arg(big ? "big" : "small", colour);
}

QImage sliderBaseImage(bool allowsCenter, bool allowsNonEdge, bool big, qreal pixelRatio)
{
    return cachedImage(sliderBaseImageName(allowsCenter, allowsNonEdge, big), pixelRatio);
}

QImage sliderKnobImage(std::int32_t tint, bool highlighted, bool big, qreal pixelRatio)
{
    return cachedImage(sliderKnobImageName(tint, highlighted, big), pixelRatio);
}

} // namespace gelcoat
