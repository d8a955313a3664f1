#include "tools/make-slider-images/SliderArt.h"

#include "views/slider/CircularSliderImages.h"
#include "views/slider/CircularSliderModel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>

namespace {

QImage canvas(double side, int scale)
{
    QImage image(int(side * scale), int(side * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDevicePixelRatio(1.0);
    return image;
}

QPainterPath circle(double cx, double cy, double r)
{
    QPainterPath p;
    p.addEllipse(QPointF(cx, cy), r, r);
    return p;
}

// The legal positions as a shape: disc, ring, disc with a hole, or ring
// with a centre dot. Odd-even filling makes the holes.
QPainterPath baseShape(double side, bool centre, bool nonEdge)
{
    const double c = side / 2.0;
    const double outer = (side - 21.0) / 2.0; // the view inset by 10.5
    const double inner = outer - 5.0;
    const double dot = 3.5;
    QPainterPath shape = circle(c, c, outer);
    shape.setFillRule(Qt::OddEvenFill);
    if (centre && nonEdge)
        return shape;
    if (nonEdge) {
        shape.addPath(circle(c, c, dot));
    } else {
        shape.addPath(circle(c, c, inner));
        if (centre)
            shape.addPath(circle(c, c, dot));
    }
    return shape;
}

// A recessed well lit from above: a light lip below every edge outside,
// a darker floor at the top, a shadow inside under the upper walls, and a
// fine dark outline.
QImage drawBase(double side, bool centre, bool nonEdge, int scale)
{
    QImage image = canvas(side, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPainterPath shape = baseShape(side, centre, nonEdge);
    const double c = side / 2.0;
    const double outer = (side - 21.0) / 2.0;

    // Lip: the light catching the lower rim.
    p.fillPath(shape.translated(0, 0.9), QColor(255, 255, 255, 190));
    p.fillPath(shape.translated(0, -0.6), QColor(0, 0, 0, 28));

    QLinearGradient floor(0, c - outer, 0, c + outer);
    floor.setColorAt(0.0, QColor(150, 153, 158));
    floor.setColorAt(0.45, QColor(196, 198, 202));
    floor.setColorAt(1.0, QColor(232, 233, 235));
    p.fillPath(shape, floor);

    // Inner shadow under the upper walls.
    p.save();
    p.setClipPath(shape);
    for (int i = 0; i < 3; ++i) {
        const double drop = 0.8 + i * 0.9;
        p.strokePath(shape.translated(0, drop), QPen(QColor(0, 0, 0, 46 - i * 12), 1.6));
    }
    p.restore();

    p.strokePath(shape, QPen(QColor(72, 74, 80, 200), 0.9));
    p.end();
    return image;
}

struct KnobColours {
    QColor glow;   // lit bottom of the ball
    QColor body;   // its edges
    QColor rim;
    int glossAlpha;
};

KnobColours knobColours(std::int32_t tint, bool highlighted)
{
    if (tint == gelcoat::slider::kBlue)
        return highlighted ? KnobColours{{64, 148, 232}, {10, 52, 138}, {6, 34, 96}, 215}
                           : KnobColours{{124, 200, 255}, {26, 96, 206}, {14, 58, 142}, 240};
    if (tint == gelcoat::slider::kGraphite)
        return highlighted ? KnobColours{{150, 162, 178}, {58, 68, 84}, {38, 44, 56}, 205}
                           : KnobColours{{206, 214, 224}, {104, 116, 132}, {66, 74, 88}, 235};
    return {{250, 250, 250}, {178, 178, 180}, {124, 124, 128}, 235}; // inactive
}

// A glossy gel ball: soft shadow, a body glowing from below, a bright
// gloss cap on top and a thin rim.
QImage drawKnob(double side, double radius, std::int32_t tint, bool highlighted, int scale)
{
    QImage image = canvas(side, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const KnobColours k = knobColours(tint, highlighted);
    const double c = side / 2.0;

    for (int i = 0; i < 4; ++i)
        p.fillPath(circle(c, c + 1.0, radius + 1.6 - i * 0.5), QColor(0, 0, 0, 14 + i * 6));

    QRadialGradient body(QPointF(c, c + radius * 0.55), radius * 1.35, QPointF(c, c + radius * 0.7));
    body.setColorAt(0.0, k.glow);
    body.setColorAt(0.55, k.glow.darker(112));
    body.setColorAt(1.0, k.body);
    p.fillPath(circle(c, c, radius), body);

    QPainterPath gloss;
    gloss.addEllipse(QRectF(c - radius * 0.66, c - radius * 0.92, radius * 1.32, radius * 0.95));
    QLinearGradient shine(0, c - radius * 0.92, 0, c);
    shine.setColorAt(0.0, QColor(255, 255, 255, k.glossAlpha));
    shine.setColorAt(1.0, QColor(255, 255, 255, 24));
    p.fillPath(gloss, shine);

    p.strokePath(circle(c, c, radius - 0.35), QPen(k.rim, 0.7));
    p.end();
    return image;
}

} // namespace

std::vector<SliderPicture> sliderPictures()
{
    std::vector<SliderPicture> pictures;
    struct Size {
        bool big;
        double view;
        double knob;
        double ball;
    };
    // Knob squares are 2 x (hit radius + 4); the ball a little over the hit radius.
    const Size sizes[] = {{true, 80, 24, 8.6}, {false, 60, 20, 6.8}};
    struct Shape {
        bool centre;
        bool nonEdge;
    };
    const Shape shapes[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const Size& size : sizes) {
        for (const Shape& shape : shapes) {
            pictures.push_back({gelcoat::sliderBaseImageName(shape.centre, shape.nonEdge, size.big),
                                [size, shape](int scale) {
                                    return drawBase(size.view, shape.centre, shape.nonEdge, scale);
                                }});
        }
        for (std::int32_t tint :
             {gelcoat::slider::kBlue, gelcoat::slider::kGraphite, gelcoat::slider::kInactive}) {
            for (bool highlighted : {false, true}) {
                if (highlighted && tint == gelcoat::slider::kInactive)
                    continue; // no highlighted look
                const QString name = gelcoat::sliderKnobImageName(tint, highlighted, size.big);
                pictures.push_back({name, [size, tint, highlighted](int scale) {
                                        return drawKnob(size.knob, size.ball, tint, highlighted,
                                                        scale);
                                    }});
            }
        }
    }
    return pictures;
}
