#include "shared/UpGeometry.h"

namespace kp {

QRectF toQtRect(const UpRect& r, double viewHeight)
{
    return QRectF(r.x, viewHeight - r.y - r.h, r.w, r.h);
}

UpRect fromQtRect(const QRectF& r, double viewHeight)
{
    return {r.x(), viewHeight - r.y() - r.height(), r.width(), r.height()};
}

QPointF toQtPoint(const QPointF& up, double viewHeight)
{
    return QPointF(up.x(), viewHeight - up.y());
}

QPointF fromQtPoint(const QPointF& qt, double viewHeight)
{
    // The flip is its own inverse.
    return toQtPoint(qt, viewHeight);
}

} // namespace kp
