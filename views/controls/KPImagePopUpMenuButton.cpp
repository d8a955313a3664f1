#include "views/controls/KPImagePopUpMenuButton.h"

#include "views/resources/ViewImages.h"
#include "views/text/ViewFonts.h"

#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace gelcoat {

namespace {

constexpr int menuDrop = 25;          // the menu's top, below the button's top: just under it
constexpr int menuTitleExtra = 42;    // menu width beyond its widest title

} // namespace

int mirroredMenuShift(const QList<double>& titleWidths, int buttonWidth)
{
    int widest = 0;
    for (double width : titleWidths) {
        if (width > widest)
            widest = int(std::ceil(width));
    }
    return buttonWidth - (widest + menuTitleExtra);
}

QImage pictureInPalette(const QImage& picture, const QColor& ink, const QColor& paper)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const auto mix = [](int from, int to, int lightness) {
        return from + ((to - from) * lightness + 127) / 255;
    };
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int lightness = qGray(row[x]);
            row[x] = qRgba(mix(ink.red(), paper.red(), lightness),
                           mix(ink.green(), paper.green(), lightness),
                           mix(ink.blue(), paper.blue(), lightness), qAlpha(row[x]));
        }
    }
    return out;
}

KPImagePopUpMenuButton::KPImagePopUpMenuButton(QWidget* parent) : QAbstractButton(parent)
{
    // A right click pops the menu too; no separate context menu.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void KPImagePopUpMenuButton::setImageName(const QString& name)
{
    imageName_ = name;
    updateGeometry();
    update();
}

void KPImagePopUpMenuButton::setImage(const QImage& image)
{
    image_ = image;
    updateGeometry();
    update();
}

void KPImagePopUpMenuButton::setMenu(QMenu* menu)
{
    if (menu_)
        disconnect(menu_, nullptr, this, nullptr);
    menu_ = menu;
    if (menu_)
        connect(menu_, &QMenu::aboutToHide, this, &KPImagePopUpMenuButton::finishedRunningMenu);
}

QImage KPImagePopUpMenuButton::image(qreal pixelRatio) const
{
    if (!image_.isNull() || imageName_.isEmpty())
        return image_;
    return viewImage(QStringLiteral("views"), imageName_, pixelRatio);
}

QSize KPImagePopUpMenuButton::sizeHint() const
{
    const QImage shown = image();
    return shown.isNull() ? QSize(24, 24) : shown.deviceIndependentSize().toSize();
}

QPoint KPImagePopUpMenuButton::menuPosition() const
{
    // The button's origin (a button's coordinates run downwards from its
    // top-left corner), 25 points lower.
    int x = 0;
    if (menu_ && imageName_.contains(QLatin1String("mirror"))) {
        const QFontMetricsF metrics(smallSystemFont());
        QList<double> widths;
        for (const QAction* action : menu_->actions())
            widths.append(metrics.horizontalAdvance(action->text()));
        x = mirroredMenuShift(widths, width());
    }
    return mapToGlobal(QPoint(x, menuDrop));
}

void KPImagePopUpMenuButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QImage shown = image(paintPixelRatio(painter));
    if (shown.isNull())
        return;
    const QPalette& colours = palette();
    if (image_.isNull()) {
        const qreal ratio = shown.devicePixelRatio();
        shown = pictureInPalette(shown, colours.color(QPalette::WindowText),
                                 colours.color(QPalette::Window));
        shown.setDevicePixelRatio(ratio);
    }
    if (isDown() || !isEnabled()) {
        // Darken (pressed) or fade into the window (disabled) only where
        // the picture is.
        shown = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QColor fade = colours.color(QPalette::Window);
        fade.setAlpha(140);
        QPainter tinter(&shown);
        tinter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        tinter.fillRect(QRectF(QPointF(), shown.deviceIndependentSize()),
                        isDown() ? QColor(0, 0, 0, 90) : fade);
    }
    const QSizeF size = shown.deviceIndependentSize();
    painter.drawImage(QPointF((width() - size.width()) * 0.5, (height() - size.height()) * 0.5), shown);
}

void KPImagePopUpMenuButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        event->ignore();
        return;
    }
    event->accept();
    popUpMenu();
}

void KPImagePopUpMenuButton::mouseMoveEvent(QMouseEvent* event)
{
    // The button never tracks the mouse by itself.
    event->accept();
}

void KPImagePopUpMenuButton::mouseReleaseEvent(QMouseEvent* event)
{
    // Nor does it send its own action: only the menu's items act.
    event->accept();
}

void KPImagePopUpMenuButton::popUpMenu()
{
    if (!menu_)
        return;
    menu_->setFont(smallSystemFont());
    setDown(true);
    // Non-blocking; the menu's closing removes the highlight.
    menu_->popup(menuPosition());
}

void KPImagePopUpMenuButton::finishedRunningMenu()
{
    setDown(false);
}

} // namespace gelcoat
