#include "shared/KPCriticalAlertIcon.h"

#include "shared/KPApplicationIcon.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>

namespace {

// The size the alert icons of the platform's own critical panel have.
constexpr int alertIconSide = 64;

// A rounded yellow triangle with a black exclamation mark, filling rect.
void drawWarningBadge(QPainter& painter, const QRectF& rect)
{
    const qreal w = rect.width();
    const QPointF top(rect.center().x(), rect.top() + w * 0.06);
    const QPointF left(rect.left() + w * 0.04, rect.bottom() - w * 0.1);
    const QPointF right(rect.right() - w * 0.04, rect.bottom() - w * 0.1);
    QPainterPath triangle;
    triangle.moveTo(top);
    triangle.lineTo(right);
    triangle.lineTo(left);
    triangle.closeSubpath();

    QPen outline(QColor(90, 60, 0), w * 0.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(QColor(255, 204, 0));
    painter.drawPath(triangle);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const qreal barWidth = w * 0.12;
    const qreal cx = rect.center().x();
    painter.drawRoundedRect(QRectF(cx - barWidth / 2, rect.top() + w * 0.32, barWidth, w * 0.3),
                            barWidth / 2, barWidth / 2);
    painter.drawEllipse(QPointF(cx, rect.top() + w * 0.74), barWidth * 0.6, barWidth * 0.6);
}

} // namespace

QPixmap KPCriticalAlertIcon(int side, qreal devicePixelRatio)
{
    if (QApplication::windowIcon().isNull() || side <= 0)
        return {};
    const int pixels = qRound(side * devicePixelRatio);
    QPixmap result = KPApplicationIconScaledToSize(QSize(pixels, pixels));
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal badge = pixels * 0.5;
    drawWarningBadge(painter, QRectF(pixels - badge, pixels - badge, badge, badge));
    painter.end();
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

void KPBadgeCriticalAlert(QMessageBox& box)
{
    if (box.icon() != QMessageBox::Critical)
        return;
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
    const QPixmap icon = KPCriticalAlertIcon(alertIconSide, box.devicePixelRatio());
    if (!label || icon.isNull())
        return;
    label->setPixmap(icon);
}
