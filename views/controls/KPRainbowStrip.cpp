#include "views/controls/KPRainbowStrip.h"

#include <QPaintEvent>
#include <QPainter>

namespace gelcoat {

KPRainbowStrip::KPRainbowStrip(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted, so nothing beneath needs drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KPRainbowStrip::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const int columns = width();
    const QRect dirty = event->rect();
    for (int i = 0; i < columns; ++i) {
        const QRect column(i, 0, 1, height());
        if (!column.intersects(dirty))
            continue;
        // Red at the left edge, just short of red again at the right.
        painter.fillRect(column, QColor::fromHsvF(float(i) / float(columns), 1.0f, 1.0f));
    }
}

} // namespace gelcoat
