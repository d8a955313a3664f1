#include "views/imageview/GelcoatImageView.h"

#include "views/paint/WhiteLevel.h"
#include "views/text/ViewFonts.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace gelcoat {

namespace {

constexpr double interiorInset = 4.0;
constexpr double shrinkMargin = 4.0;   // 2 points inside the interior on every side
constexpr double checkerCell = 8.0;

struct BoundsColours {
    double inner;
    double outer;
};

BoundsColours boundsColours(int style)
{
    switch (style) {
    case GelcoatImageView::Dark: return {0.9, 0.55};
    case GelcoatImageView::Black: return {0.65, 0.25};
    case GelcoatImageView::White: return {0.35, 0.75};
    case GelcoatImageView::Checkered: return {0.35, 0.65};
    default: return {0.25, 0.65};
    }
}

} // namespace

GelcoatImageView::GelcoatImageView(QWidget* parent) : QWidget(parent) {}

void GelcoatImageView::setInteriorStyle(int style)
{
    change(interiorStyle_, style);
}

void GelcoatImageView::setShowsSize(bool shows)
{
    change(showsSize_, shows);
}

void GelcoatImageView::setShowsSizeOnLeft(bool onLeft)
{
    change(sizeOnLeft_, onLeft);
}

void GelcoatImageView::setShowsBounds(bool shows)
{
    change(showsBounds_, shows);
}

void GelcoatImageView::setShrinksIfNecessary(bool shrinks)
{
    change(shrinksIfNecessary_, shrinks);
}

std::optional<double> GelcoatImageView::interiorLevel(int style)
{
    switch (style) {
    case Light: return 0.95;
    case Dark: return 0.35;
    case Black: return 0.0;
    case White:
    case Checkered: return 1.0;
    default: return std::nullopt;
    }
}

void GelcoatImageView::setImage(const QImage& image)
{
    image_ = image;
    standIn_ = QImage();
    update();
}

void GelcoatImageView::setStandIn(const QImage& picture, const QSize& imageSize)
{
    standIn_ = imageSize.isEmpty() ? QImage() : picture;
    standInFor_ = imageSize;
    update();
}

QSizeF GelcoatImageView::imagePointSize() const
{
    return image_.isNull() ? QSizeF() : image_.deviceIndependentSize();
}

QSizeF GelcoatImageView::shrinkRoom() const
{
    // The interior lies 4 points inside the bounds.
    return {std::max(0.0, width() - 8.0 - shrinkMargin), std::max(0.0, height() - 8.0 - shrinkMargin)};
}

UpRect GelcoatImageView::upBounds() const
{
    return {0.0, 0.0, double(width()), double(height())};
}

UpRect GelcoatImageView::interiorRect() const
{
    return upBounds().insetBy(interiorInset);
}

void GelcoatImageView::fillUp(QPainter& painter, const UpRect& r, const QColor& color) const
{
    if (r.isEmpty())
        return;
    painter.fillRect(toQtRect(r, height()), color);
}

void GelcoatImageView::frameUp(QPainter& painter, const UpRect& r, const QColor& color) const
{
    if (r.isEmpty())
        return;
    fillUp(painter, {r.x, r.y, r.w, 1.0}, color);
    if (r.h > 1.0)
        fillUp(painter, {r.x, r.top() - 1.0, r.w, 1.0}, color);
    fillUp(painter, {r.x, r.y + 1.0, 1.0, r.h - 2.0}, color);
    if (r.w > 1.0)
        fillUp(painter, {r.right() - 1.0, r.y + 1.0, 1.0, r.h - 2.0}, color);
}

void GelcoatImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    UpRect r = upBounds();
    drawFrameAndBevel(painter, r);
    const UpRect interior = interiorRect();
    drawInterior(painter, interior);

    painter.setClipRect(toQtRect(interior, height()));
    const UpRect drawn = drawImage(painter, interior);
    if (showsBounds_ && !image_.isNull())
        drawImageBounds(painter, drawn);
    drawInnerShadow(painter, interior);
    drawOverlaidContent(painter);
    if (showsSize_ && !image_.isNull())
        drawSizeLabel(painter);
}

void GelcoatImageView::drawFrameAndBevel(QPainter& painter, UpRect r) const
{
    frameUp(painter, r, whiteLevel(0.85));
    r = r.insetBy(1.0);
    frameUp(painter, r, Qt::white);
    r = r.insetBy(1.0);
    frameUp(painter, r, Qt::white);
    r = r.insetBy(1.0);

    fillUp(painter, {r.x, r.top() - 1.0, r.w, 1.0}, whiteLevel(0.45));
    fillUp(painter, {r.x, r.top() - 2.0, 1.0, 1.0}, whiteLevel(0.6));
    fillUp(painter, {r.right() - 1.0, r.top() - 2.0, 1.0, 1.0}, whiteLevel(0.6));
    fillUp(painter, {r.x, r.y, 1.0, r.h - 2.0}, whiteLevel(0.72));
    fillUp(painter, {r.right() - 1.0, r.y, 1.0, r.h - 2.0}, whiteLevel(0.72));
    fillUp(painter, {r.x + 1.0, r.y, r.w - 2.0, 1.0}, whiteLevel(0.86));
}

void GelcoatImageView::drawInterior(QPainter& painter, const UpRect& interior) const
{
    if (interiorStyle_ == Checkered)
        drawCheckerboard(painter, interior);
    else if (const std::optional<double> level = interiorLevel(interiorStyle_))
        fillUp(painter, interior, whiteLevel(*level));
    // Otherwise the parent's background shows through.
}

void GelcoatImageView::drawCheckerboard(QPainter& painter, const UpRect& interior) const
{
    fillUp(painter, interior, Qt::white);
    if (interior.isEmpty())
        return;
    // Anchored at the floored centre so the pattern stays symmetric as the
    // view is resized.
    const double cx = std::floor(interior.x + interior.w * 0.5);
    const double cy = std::floor(interior.y + interior.h * 0.5);
    const int firstI = int(std::floor((interior.x - cx) / checkerCell));
    const int lastI = int(std::ceil((interior.right() - cx) / checkerCell)) - 1;
    const int firstJ = int(std::floor((interior.y - cy) / checkerCell));
    const int lastJ = int(std::ceil((interior.top() - cy) / checkerCell)) - 1;
    const QColor grey = whiteLevel(0.8);
    for (int j = firstJ; j <= lastJ; ++j) {
        for (int i = firstI; i <= lastI; ++i) {
            if ((i + j) % 2 == 0)
                continue;
            const double x0 = std::max(cx + checkerCell * i, interior.x);
            const double x1 = std::min(cx + checkerCell * (i + 1), interior.right());
            const double y0 = std::max(cy + checkerCell * j, interior.y);
            const double y1 = std::min(cy + checkerCell * (j + 1), interior.top());
            if (x1 > x0 && y1 > y0)
                fillUp(painter, {x0, y0, x1 - x0, y1 - y0}, grey);
        }
    }
}

UpRect GelcoatImageView::drawImage(QPainter& painter, const UpRect& interior)
{
    lastDrawnImageScaleFactor_ = 1.0f;
    const bool standingIn = !standIn_.isNull();
    if (image_.isNull() && !standingIn)
        return {};
    const QImage& picture = standingIn ? standIn_ : image_;
    const QSizeF size = standingIn ? QSizeF(standInFor_) : imagePointSize();
    const double w = size.width();
    const double h = size.height();
    const double roomW = interior.w - shrinkMargin;
    const double roomH = interior.h - shrinkMargin;

    UpRect drawn;
    if (shrinksIfNecessary_ && (w > roomW || h > roomH) && roomW > 0.0 && roomH > 0.0) {
        const double s = std::max(w / roomW, h / roomH);
        const double dw = std::round(w / s);
        const double dh = std::round(h / s);
        drawn = {interior.x + std::floor((interior.w - dw) * 0.5),
                 interior.y + std::floor((interior.h - dh) * 0.5), dw, dh};
        lastDrawnImageScaleFactor_ = float(s);
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(toQtRect(drawn, height()), picture, QRectF(picture.rect()));
        painter.restore();
    } else {
        drawn = {interior.x + std::floor((interior.w - w) * 0.5),
                 interior.y + std::floor((interior.h - h) * 0.5), w, h};
        painter.save();
        if (standingIn)
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(toQtRect(drawn, height()), picture, QRectF(picture.rect()));
        painter.restore();
    }
    return drawn;
}

void GelcoatImageView::drawImageBounds(QPainter& painter, const UpRect& drawn) const
{
    const BoundsColours colours = boundsColours(interiorStyle_);
    frameUp(painter, drawn.insetBy(-1.0), whiteLevel(colours.inner));
    frameUp(painter, drawn.insetBy(-2.0), whiteLevel(colours.outer));
}

void GelcoatImageView::drawInnerShadow(QPainter& painter, UpRect i) const
{
    const auto shade = [](double alpha) { return QColor::fromRgbF(0, 0, 0, float(alpha)); };
    const auto topRow = [&](double alpha) { fillUp(painter, {i.x, i.top() - 1.0, i.w, 1.0}, shade(alpha)); };

    topRow(0.31);
    i.h -= 1.0;
    topRow(0.17);
    i.h -= 1.0;
    topRow(0.09);
    fillUp(painter, {i.x, i.y, 1.0, i.h - 1.0}, shade(0.09));
    fillUp(painter, {i.right() - 1.0, i.y, 1.0, i.h - 1.0}, shade(0.09));
    i = {i.x + 1.0, i.y, i.w - 2.0, i.h - 1.0};
    topRow(0.06);
    i.h -= 1.0;
    frameUp(painter, i, shade(0.03));
    i = i.insetBy(1.0);
    topRow(0.02);
    i.h -= 1.0;
    frameUp(painter, i, shade(0.01));
    i = i.insetBy(1.0);
    frameUp(painter, i, shade(0.005));
}

void GelcoatImageView::drawSizeLabel(QPainter& painter) const
{
    const QSizeF size = imagePointSize();
    const QString text = QStringLiteral("%1 x %2").arg(int(size.width())).arg(int(size.height()));
    const QFont font = toolTipFont();
    const QFontMetricsF metrics(font);

    const double labelW = std::ceil(metrics.horizontalAdvance(text)) + 6.0;
    const double labelH = std::ceil(metrics.capHeight()) + 5.0;
    const UpRect b = upBounds();
    const UpRect label{sizeOnLeft_ ? b.x + 8.0 : b.right() - labelW - 8.0, b.y + 8.0, labelW, labelH};

    frameUp(painter, label, QColor::fromRgbF(0, 0, 0, 0.3f));
    fillUp(painter, label.insetBy(1.0), QColor::fromRgbF(0.94f, 0.96f, 1.0f));

    // The text's box starts at (x + 3, y + 1); its baseline sits a descent higher.
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);   // the default text colour, on a light label
    const QPointF baseline = toQtPoint({label.x + 3.0, label.y + 1.0 + metrics.descent()}, height());
    painter.drawText(baseline, text);
    painter.restore();

    const QColor shadow = QColor::fromRgbF(0, 0, 0, 0.15f);
    const QColor faint = QColor::fromRgbF(0, 0, 0, 0.09f);
    fillUp(painter, {label.x, label.y - 1.0, label.w, 1.0}, shadow);
    fillUp(painter, {label.x, label.y - 2.0, label.w, 1.0}, faint);
    fillUp(painter, {label.x - 1.0, label.y - 2.0, 1.0, label.h}, faint);
    fillUp(painter, {label.right(), label.y - 2.0, 1.0, label.h}, faint);
}

void GelcoatImageView::drawOverlaidContent(QPainter&) {}

} // namespace gelcoat
