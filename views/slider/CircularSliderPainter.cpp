#include "views/slider/CircularSliderPainter.h"

#include "views/paint/UpCoordinates.h"
#include "views/paint/WhiteLevel.h"
#include "views/resources/ViewImages.h"
#include "views/slider/CircularSliderImages.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace gelcoat {

namespace {

QPainterPath oval(const UpRect& r, double viewHeight)
{
    QPainterPath path;
    path.addEllipse(toQtRect(r, viewHeight));
    return path;
}

// The disc, ring, disc with a hole, or ring with a centre dot, by the
// positions that are legal.
QPainterPath basePath(const CircularSliderState& s, const CircularSliderGeometry& g,
                      double width, double height)
{
    const UpRect circle{g.circleX, g.circleY, g.circleWidth, g.circleHeight};
    const UpRect inner = circle.insetBy(5.0); // the ring is 5 points wide
    const UpRect dot = circle.insetBy(int(width) / 2 - 14);
    QPainterPath path = oval(circle, height);
    path.setFillRule(Qt::WindingFill);
    if (s.allowsCenter && s.allowsNonEdge)
        return path;
    if (s.allowsNonEdge) {
        path.addPath(oval(dot, height).toReversed());
    } else {
        path.addPath(oval(inner, height).toReversed());
        if (s.allowsCenter)
            path.addPath(oval(dot, height));
    }
    return path;
}

void paintTicks(QPainter& painter, const SliderPaintInput& in, const CircularSliderGeometry& g)
{
    QPainterPath path;
    for (const SliderSegment& t : tickSegments(g, in.model->state().snapMarks)) {
        path.moveTo(toQtPoint({t.from.x, t.from.y}, in.height));
        path.lineTo(toQtPoint({t.to.x, t.to.y}, in.height));
    }
    painter.setOpacity(1.0); // ticks carry their own alpha
    painter.strokePath(path, QPen(whiteLevel(0.0, tickAlpha(in.enabled)), 1.0));
}

} // namespace

void paintCircularSlider(QPainter& painter, const SliderPaintInput& in)
{
    const CircularSliderState& s = in.model->state();
    const auto g = CircularSliderGeometry::forBounds(in.width, in.height);
    const double alpha = sliderOpacity(in.enabled);
    const bool big = in.look.images == SliderImageSize::Big;
    const qreal ratio = paintPixelRatio(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    QImage base;
    QImage knob;
    if (in.look.images != SliderImageSize::None) {
        base = sliderBaseImage(s.allowsCenter, s.allowsNonEdge, big, ratio);
        knob = sliderKnobImage(in.look.tint, in.highlighted, big, ratio);
    }

    painter.setOpacity(alpha);
    if (!base.isNull()) {
        painter.drawImage(QRectF(0, 0, in.width, in.height), base);
    } else {
        const QPainterPath path = basePath(s, g, in.width, in.height);
        painter.fillPath(path, whiteLevel(0.8, 1.0));
        painter.strokePath(path, QPen(whiteLevel(0.4, 1.0), 1.0));
    }

    if (sliderShowsTicks(s, in.shiftDown, in.highlighted))
        paintTicks(painter, in, g);

    painter.setOpacity(alpha);
    const double R = in.look.ballRadius + (knob.isNull() ? 0 : 4);
    const QRectF ball = toQtRect(ballRect(g, *in.model, R), in.height);
    if (!knob.isNull()) {
        painter.drawImage(ball, knob);
    } else {
        QPainterPath path;
        path.addEllipse(ball);
        painter.fillPath(path, whiteLevel(in.highlighted ? 0.4 : 0.6, 1.0));
        painter.strokePath(path, QPen(whiteLevel(0.0, 1.0), 1.0));
    }
    painter.setOpacity(1.0);
}

} // namespace gelcoat
