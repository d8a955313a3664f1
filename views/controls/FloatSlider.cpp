#include "views/controls/FloatSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>

namespace gelcoat {

FloatSlider::FloatSlider(QWidget* parent) : FloatSlider(Qt::Horizontal, parent) {}

FloatSlider::FloatSlider(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent)
{
    setRange(0, kScaleSteps);
    setSingleStep(kScaleSteps / 100);
    setPageStep(kScaleSteps / 10);
    connect(this, &QAbstractSlider::valueChanged, this, &FloatSlider::handleMoved);
}

void FloatSlider::setFloatValue(float value)
{
    value_ = value;
    placeHandle();
}

void FloatSlider::setFloatMinimum(double minimum) { setFloatRange(minimum, maximum_); }
void FloatSlider::setFloatMaximum(double maximum) { setFloatRange(minimum_, maximum); }

void FloatSlider::setFloatRange(double minimum, double maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    placeHandle();
}

float FloatSlider::floatValueAt(const QPoint& point) const { return valueAtScale(scaleAt(point)); }

int FloatSlider::scalePosition(float value) const
{
    const double span = maximum_ - minimum_;
    if (!(span > 0.0) || !std::isfinite(value))
        return 0;
    const double fraction = (double(value) - minimum_) / span;
    if (!(fraction > 0.0))
        return 0;
    if (fraction >= 1.0)
        return kScaleSteps;
    return int(std::lround(fraction * kScaleSteps));
}

float FloatSlider::valueAtScale(int position) const
{
    if (position <= 0)
        return float(minimum_);
    if (position >= kScaleSteps)
        return float(maximum_);
    return float(minimum_ + (maximum_ - minimum_) * (double(position) / kScaleSteps));
}

// The handle's centre goes where the mouse is, as QSlider places it while
// dragging.
int FloatSlider::scaleAt(const QPoint& point) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option,
                                                 QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option,
                                                 QStyle::SC_SliderHandle, this);
    const bool horizontal = orientation() == Qt::Horizontal;
    const int length = horizontal ? handle.width() : handle.height();
    const int start = horizontal ? groove.x() : groove.y();
    const int end = (horizontal ? groove.right() : groove.bottom()) - length + 1;
    const int at = (horizontal ? point.x() : point.y()) - length / 2 - start;
    return QStyle::sliderValueFromPosition(minimum(), maximum(), at, end - start,
                                           option.upsideDown);
}

void FloatSlider::placeHandle()
{
    placing_ = true;
    setValue(scalePosition(value_));
    placing_ = false;
}

void FloatSlider::handleMoved(int position)
{
    if (placing_)
        return;
    value_ = valueAtScale(position);
    emit floatValueEdited(value_);
}

// A press beside the handle jumps it to the press and starts dragging from
// there, rather than paging towards the mouse.
void FloatSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled()) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option,
                                                     QStyle::SC_SliderHandle, this);
        if (!handle.contains(event->position().toPoint()))
            setValue(scaleAt(event->position().toPoint()));
    }
    QSlider::mousePressEvent(event);
}

} // namespace gelcoat
