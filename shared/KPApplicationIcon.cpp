#include "shared/KPApplicationIcon.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>

QPixmap KPApplicationIconScaledToSize(const QSize& size)
{
    QPixmap result(size);
    result.fill(Qt::transparent);
    const QIcon icon = QApplication::windowIcon();
    if (icon.isNull() || size.isEmpty())
        return result;
    // Draw from the largest rendition so that scaling only ever reduces.
    QList<QSize> sizes = icon.availableSizes();
    QSize source = size;
    for (const QSize& candidate : sizes)
        if (candidate.width() * candidate.height() > source.width() * source.height())
            source = candidate;
    const QPixmap full = icon.pixmap(source);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawPixmap(QRect(QPoint(0, 0), size), full);
    return result;
}
