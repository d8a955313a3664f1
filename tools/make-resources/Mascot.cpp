#include "tools/make-resources/Mascot.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace gelcoat::resources {

namespace {

// The palette: a few flat colours, distinct enough in hue that a rendering
// that keeps each part's own hue keeps the parts apart.
const QColor kMossGreen(78, 138, 52);     // body
const QColor kBellyGreen(196, 210, 104);  // belly
const QColor kSproutGreen(40, 146, 104);  // the sprout on the head
const QColor kBark(128, 84, 46);          // feet
const QColor kBlush(222, 116, 112);       // cheeks
const QColor kPupil(28, 34, 52);          // eyes

constexpr qreal kGap = 4.0;      // between large parts
constexpr qreal kSmallGap = 3.0; // around small parts

QImage blankCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void setUp(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
}

// Clears a band of the given width around the shape, so that what lies
// under it stops short of the shape's outline.
void clearAround(QPainter& p, const QPainterPath& shape, qreal gap)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, 2.0 * gap, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(shape);
    p.restore();
}

void clearShape(QPainter& p, const QPainterPath& shape)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(shape);
    p.restore();
}

void clearStroke(QPainter& p, const QPainterPath& line, qreal width)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    p.restore();
}

void fillShape(QPainter& p, const QPainterPath& shape, const QColor& colour)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shape);
    p.restore();
}

QPainterPath ellipse(qreal cx, qreal cy, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), rx, ry);
    return path;
}

QPainterPath circle(qreal cx, qreal cy, qreal r)
{
    return ellipse(cx, cy, r, r);
}

// A foot in its own coordinates, centred on the origin, about 60 × 46: a
// rounded pad with three toes in front.
QPainterPath footShape()
{
    QPainterPath foot = ellipse(0, -4, 30, 18);
    foot = foot.united(circle(-19, 9, 10));
    foot = foot.united(circle(0, 13, 11));
    foot = foot.united(circle(19, 9, 10));
    return foot.simplified();
}

// The clefts between the toes.
QPainterPath toeClefts()
{
    QPainterPath clefts;
    clefts.moveTo(-9.5, 23);
    clefts.lineTo(-9.5, 10);
    clefts.moveTo(9.5, 23);
    clefts.lineTo(9.5, 10);
    return clefts;
}

// Paints a foot placed by the given transform, whose scale is given too so
// that the clefts keep their width relative to the foot.
void paintFoot(QPainter& p, const QTransform& place, qreal scale)
{
    fillShape(p, place.map(footShape()), kBark);
    clearStroke(p, place.map(toeClefts()), kSmallGap * scale);
}

// The left foot turns a little outward, the right one mirrors it.
QTransform leftFootPlacement(qreal cx, qreal cy, qreal scale)
{
    QTransform t;
    t.translate(cx, cy);
    t.rotate(8);
    t.scale(scale, scale);
    return t;
}

QTransform rightFootPlacement(qreal cx, qreal cy, qreal scale)
{
    QTransform t;
    t.translate(cx, cy);
    t.rotate(-8);
    t.scale(-scale, scale);
    return t;
}

} // namespace

QImage drawMoss()
{
    QImage image = blankCanvas(256, 256);
    QPainter p(&image);
    setUp(p);
    // Room below for the drop shadow, which falls a few pixels downward.
    p.translate(0, 5);

    // Feet first: the body stands in front of them.
    paintFoot(p, leftFootPlacement(86, 212, 1.0), 1.0);
    paintFoot(p, rightFootPlacement(170, 212, 1.0), 1.0);

    // The body: a soft mound with a bumpy, mossy crown and two stubby arms.
    QPainterPath body;
    body.addRoundedRect(QRectF(30, 58, 196, 146), 64, 64);
    body = body.united(circle(64, 78, 26));
    body = body.united(circle(97, 58, 25));
    body = body.united(circle(128, 52, 26));
    body = body.united(circle(159, 58, 25));
    body = body.united(circle(192, 78, 26));
    body = body.united(circle(30, 140, 17));
    body = body.united(circle(226, 140, 17));
    body = body.simplified();
    clearAround(p, body, kGap);
    fillShape(p, body, kMossGreen);

    // A sprout on the head: a short stem and two leaves.
    QPainterPath sprout;
    {
        QPainterPath stem;
        stem.addRoundedRect(QRectF(124, 14, 8, 26), 4, 4);
        QPainterPath leftLeaf = ellipse(0, 0, 17, 9);
        QTransform lt;
        lt.translate(111, 18);
        lt.rotate(-28);
        QPainterPath rightLeaf = ellipse(0, 0, 20, 10);
        QTransform rt;
        rt.translate(147, 14);
        rt.rotate(24);
        sprout = stem.united(lt.map(leftLeaf)).united(rt.map(rightLeaf)).simplified();
    }
    clearAround(p, sprout, kGap);
    fillShape(p, sprout, kSproutGreen);

    // The belly: a lighter patch of moss, part of the body's surface (no
    // gap), so that it only changes the colour.
    const QPainterPath belly = ellipse(128, 172, 40, 24);
    fillShape(p, belly, kBellyGreen);

    // Rosy cheeks, a blush of colour on the body's surface.
    const QPainterPath cheeks = ellipse(72, 132, 12, 8).united(ellipse(184, 132, 12, 8));
    fillShape(p, cheeks, kBlush);

    // Eyes: round openings with a dark pupil in each, looking a little
    // toward each other.
    clearShape(p, ellipse(100, 102, 16, 19));
    clearShape(p, ellipse(156, 102, 16, 19));
    fillShape(p, circle(103, 107, 10.5), kPupil);
    fillShape(p, circle(153, 107, 10.5), kPupil);

    // A small, open smile.
    QPainterPath smile;
    smile.moveTo(112, 123);
    smile.lineTo(144, 123);
    smile.cubicTo(144, 134, 137, 140, 128, 140);
    smile.cubicTo(119, 140, 112, 134, 112, 123);
    smile.closeSubpath();
    clearStroke(p, smile, 2.0);
    clearShape(p, smile);

    p.end();
    return image;
}

QImage drawLeftFoot()
{
    QImage image = blankCanvas(144, 120);
    QPainter p(&image);
    setUp(p);
    paintFoot(p, leftFootPlacement(72, 53, 2.0), 2.0);
    p.end();
    return image;
}

} // namespace gelcoat::resources
