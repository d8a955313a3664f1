#pragma once
// Views, panels and screens do their arithmetic with the origin at the
// bottom left and y growing upwards, as the layout rules are stated; Qt has
// y growing downwards.  These helpers are the one place that converts.

#include <QPointF>
#include <QRectF>

namespace kp {

// A rectangle in y-up view coordinates: (x, y) is its bottom-left corner.
struct UpRect {
    double x = 0.0;
    double y = 0.0;
    double w = 0.0;
    double h = 0.0;

    // Shrinks by d on every side (a negative d grows it).
    UpRect insetBy(double d) const { return {x + d, y + d, w - 2.0 * d, h - 2.0 * d}; }
    double top() const { return y + h; }
    double right() const { return x + w; }
    bool isEmpty() const { return w <= 0.0 || h <= 0.0; }
    bool operator==(const UpRect&) const = default;
};

// Converts between a y-up rectangle or point and Qt's y-down coordinates of
// a view whose height is viewHeight.
QRectF toQtRect(const UpRect& r, double viewHeight);
UpRect fromQtRect(const QRectF& r, double viewHeight);
QPointF toQtPoint(const QPointF& up, double viewHeight);
QPointF fromQtPoint(const QPointF& qt, double viewHeight);

} // namespace kp
