#include "tests/qtsupport/PixelChecks.h"

#include <QBuffer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gelcoat::testing {

QImage grabAtOne(QWidget& widget, bool windowBackground)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    image.fill(Qt::transparent);
    QWidget::RenderFlags flags = QWidget::DrawChildren;
    if (windowBackground)
        flags |= QWidget::DrawWindowBackground;
    widget.render(&image, QPoint(), QRegion(), flags);
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool pixelNear(const QImage& image, int x, int y, const QColor& expected, int tolerance, QString* why)
{
    if (!image.valid(x, y)) {
        *why = QStringLiteral("(%1, %2) lies outside the %3x%4 image")
                   .arg(x).arg(y).arg(image.width()).arg(image.height());
        return false;
    }
    const QColor found = image.pixelColor(x, y);
    const bool near = std::abs(found.red() - expected.red()) <= tolerance
        && std::abs(found.green() - expected.green()) <= tolerance
        && std::abs(found.blue() - expected.blue()) <= tolerance;
    if (!near) {
        *why = QStringLiteral("pixel (%1, %2) is (%3, %4, %5), expected (%6, %7, %8)")
                   .arg(x).arg(y)
                   .arg(found.red()).arg(found.green()).arg(found.blue())
                   .arg(expected.red()).arg(expected.green()).arg(expected.blue());
    }
    return near;
}

int darkestGrey(const QImage& image, const QRect& area)
{
    int found = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            found = std::min(found, qGray(image.pixel(x, y)));
    return found;
}

QImage solidImage(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int overGrey(double white, double alpha, int below)
{
    return int(std::lround(white * 255.0 * alpha + below * (1.0 - alpha)));
}

} // namespace gelcoat::testing
