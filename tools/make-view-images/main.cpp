// Writes the pictures of the views into a folder, at single and double
// resolution: the source well's bug marker, the rendering toggle switched
// on and off, the bright and dim arrows beside it, and the action pop-up
// button's gear.
//   gelcoat-make-view-images resources/images/views

#include "tools/common/ToolStart.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&)>;

// Draws a picture of the given point size at the given scale, antialiased.
QImage render(QSize points, int scale, const Drawing& draw)
{
    QImage image(points * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    draw(painter);
    return image;
}

// A round marker, its hot spot at the centre: a white ring with a thin dark
// rim around a glossy red core, readable on every interior.
void drawBug(QPainter& p)
{
    const QPointF c(8.0, 8.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(QPointF(8.0, 8.6), 7.3, 7.3);

    p.setPen(QPen(QColor(40, 40, 40, 210), 1.0));
    QLinearGradient ring(0, 1, 0, 15);
    ring.setColorAt(0, QColor(255, 255, 255));
    ring.setColorAt(1, QColor(222, 226, 232));
    p.setBrush(ring);
    p.drawEllipse(c, 6.5, 6.5);

    QRadialGradient core(QPointF(7.2, 6.6), 5.2, QPointF(7.0, 6.0));
    core.setColorAt(0.0, QColor(255, 150, 120));
    core.setColorAt(0.55, QColor(226, 52, 30));
    core.setColorAt(1.0, QColor(150, 16, 8));
    p.setPen(QPen(QColor(110, 12, 6), 0.6));
    p.setBrush(core);
    p.drawEllipse(c, 3.9, 3.9);

    QLinearGradient gloss(0, 4.3, 0, 8.0);
    gloss.setColorAt(0, QColor(255, 255, 255, 220));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(5.6, 4.5, 4.8, 3.0));
}

QPainterPath arrowPath()
{
    QPainterPath path;
    path.moveTo(2.5, 7.0);
    path.lineTo(14.0, 7.0);
    path.lineTo(14.0, 2.5);
    path.lineTo(25.5, 10.0);
    path.lineTo(14.0, 17.5);
    path.lineTo(14.0, 13.0);
    path.lineTo(2.5, 13.0);
    path.closeSubpath();
    return path;
}

// The arrow pointing from the source well towards the result: a gel shape
// in blue when rendering is on, in pale grey when it is off.
void drawArrow(QPainter& p, bool bright)
{
    const QPainterPath path = arrowPath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, bright ? 45 : 20));
    p.drawPath(path.translated(0.0, 0.8));

    QLinearGradient body(0, 2.5, 0, 17.5);
    body.setColorAt(0.0, bright ? QColor(120, 190, 255) : QColor(226, 226, 226));
    body.setColorAt(0.5, bright ? QColor(40, 120, 230) : QColor(190, 190, 190));
    body.setColorAt(1.0, bright ? QColor(70, 160, 255) : QColor(208, 208, 208));
    p.setPen(QPen(bright ? QColor(18, 60, 140) : QColor(150, 150, 150), 1.0,
                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(body);
    p.drawPath(path);

    // Gloss over the upper half.
    p.save();
    p.setClipRect(QRectF(0, 0, 28, 10));
    QLinearGradient gloss(0, 2.5, 0, 10);
    gloss.setColorAt(0, QColor(255, 255, 255, bright ? 200 : 170));
    gloss.setColorAt(1, QColor(255, 255, 255, bright ? 40 : 30));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    QTransform inset;
    inset.translate(1.2, 1.0);
    inset.scale(0.92, 0.9);
    p.drawPath(inset.map(path));
    p.restore();
}

// The action pop-up button: a gear with a small triangle saying a menu
// drops down.  The mirrored picture has the triangle on the left, for a
// button whose menu opens leftwards.
void drawActionMenu(QPainter& p, bool mirrored)
{
    if (mirrored) {
        p.translate(30.0, 0.0);
        p.scale(-1.0, 1.0);
    }
    const QPointF c(11.0, 11.0);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        // Alternating outer and inner radii give square-ish teeth.
        const double a0 = (i - 0.5) * M_PI / teeth;
        const double a1 = (i + 0.5) * M_PI / teeth;
        const double r = (i % 2 == 0) ? 7.6 : 5.7;
        const QPointF p0 = c + QPointF(std::cos(a0) * r, std::sin(a0) * r);
        const QPointF p1 = c + QPointF(std::cos(a1) * r, std::sin(a1) * r);
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 2.3, 2.3);
    gear = gear.subtracted(hole);

    QPainterPath triangle;
    triangle.moveTo(22.0, 9.5);
    triangle.lineTo(28.0, 9.5);
    triangle.lineTo(25.0, 13.5);
    triangle.closeSubpath();

    // A pale halo keeps the dark gear and triangle readable on a dark
    // window; on a light one it vanishes into the background.
    p.setPen(QPen(QColor(255, 255, 255, 120), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(gear);
    p.drawPath(triangle);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawPath(gear.translated(0.0, 0.8));
    QLinearGradient metal(0, 3, 0, 19);
    metal.setColorAt(0, QColor(120, 124, 130));
    metal.setColorAt(1, QColor(58, 60, 64));
    p.setPen(QPen(QColor(40, 40, 44), 0.7));
    p.setBrush(metal);
    p.drawPath(gear);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(55, 57, 60));
    p.drawPath(triangle);
}

// One gel drop of the rendering toggle: a glossy disk of the given colour
// with a dark rim, lit from the top left.
void drawGelDrop(QPainter& p, QPointF c, double r, QColor colour)
{
    QRadialGradient body(c + QPointF(-0.25 * r, -0.35 * r), 1.3 * r, c + QPointF(0.1 * r, 0.35 * r));
    body.setColorAt(0.0, colour.lighter(150));
    body.setColorAt(0.6, colour);
    body.setColorAt(1.0, colour.darker(160));
    p.setPen(QPen(colour.darker(230), 0.8));
    p.setBrush(body);
    p.drawEllipse(c, r, r);

    QLinearGradient gloss(0, c.y() - r, 0, c.y());
    gloss.setColorAt(0, QColor(255, 255, 255, 215));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(c.x() - 0.62 * r, c.y() - 0.9 * r, 1.24 * r, 0.8 * r));
}

// The rendering toggle: three overlapping gel drops, red, green and blue,
// under a soft shadow; off, the same drops in greys, so that the button
// reads as switched off while keeping its shape.
void drawGelcoatToggle(QPainter& p, bool on)
{
    const double r = 8.6;
    const QPointF centres[] = {{18.0, 11.2}, {11.8, 22.4}, {24.2, 22.4}};
    const QColor lit[] = {QColor(226, 38, 30), QColor(38, 170, 52), QColor(34, 96, 226)};
    const QColor unlit[] = {QColor(188, 188, 188), QColor(168, 168, 168), QColor(150, 150, 150)};
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, on ? 50 : 28));
    for (const QPointF& c : centres)
        p.drawEllipse(c + QPointF(0.0, 1.0), r + 0.4, r + 0.4);
    for (int i = 0; i < 3; ++i)
        drawGelDrop(p, centres[i], r, on ? lit[i] : unlit[i]);
}

struct Picture {
    const char* name;
    QSize points;
    Drawing draw;
};

} // namespace

int main(int argc, char** argv)
{
    const char* tool = "gelcoat-make-view-images";
    return runPictureTool<QGuiApplication>(argc, argv, tool, [tool](const QDir& dir) {
        const Picture pictures[] = {
            {"sourceBug", {16, 16}, drawBug},
            {"arrow", {28, 20}, [](QPainter& p) { drawArrow(p, true); }},
            {"arrowDim", {28, 20}, [](QPainter& p) { drawArrow(p, false); }},
            {"actionMenu", {30, 22}, [](QPainter& p) { drawActionMenu(p, false); }},
            {"actionMenu_mirror", {30, 22}, [](QPainter& p) { drawActionMenu(p, true); }},
            {"gelcoatOn", {36, 36}, [](QPainter& p) { drawGelcoatToggle(p, true); }},
            {"gelcoatOff", {36, 36}, [](QPainter& p) { drawGelcoatToggle(p, false); }},
        };
        for (const Picture& picture : pictures) {
            const auto draw = [&picture](int scale) {
                return render(picture.points, scale, picture.draw);
            };
            if (!saveAtBothScales(dir, QString::fromLatin1(picture.name), draw, tool))
                return 1;
        }
        return 0;
    });
}
