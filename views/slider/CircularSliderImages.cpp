#include "views/slider/CircularSliderImages.h"

#include "views/resources/ViewImages.h"
#include "views/slider/CircularSliderModel.h"

namespace gelcoat {

namespace {

QImage sliderImage(const QString& name, qreal pixelRatio)
{
    if (name.isEmpty())
        return {};
    return viewImage(QStringLiteral("controls"), name, pixelRatio);
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
    return sliderImage(sliderBaseImageName(allowsCenter, allowsNonEdge, big), pixelRatio);
}

QImage sliderKnobImage(std::int32_t tint, bool highlighted, bool big, qreal pixelRatio)
{
    return sliderImage(sliderKnobImageName(tint, highlighted, big), pixelRatio);
}

} // namespace gelcoat
