#pragma once
// Pixel sampling of grabbed widgets for Qt Test cases.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

namespace gelcoat::testing {

// The widget drawn into an ARGB32 image at device pixel ratio 1; without
// its window background when windowBackground is false.
QImage grabAtOne(QWidget& widget, bool windowBackground = true);

// Whether the pixel's red, green and blue are each within tolerance of the
// expected colour; otherwise *why says what was found.
bool pixelNear(const QImage& image, int x, int y, const QColor& expected, int tolerance, QString* why);

// The darkest grey (qGray) among the pixels of area, 255 for an empty area.
int darkestGrey(const QImage& image, const QRect& area);

// A picture of one colour, premultiplied ARGB32.
QImage solidImage(int width, int height, const QColor& colour);

// The picture saved as PNG, as a file or the clipboard would hold it.
QByteArray pngBytes(const QImage& image);

// A grey of 0..255 as a colour, for expectations in white levels.
inline QColor grey(int level) { return QColor(level, level, level); }
// A white level 0..1 composited at alpha over an opaque grey level 0..255.
int overGrey(double white, double alpha, int below);

} // namespace gelcoat::testing

// Fails the test unless pixel (x, y) of image matches colour within +-1.
#define GELCOAT_COMPARE_PIXEL(image, x, y, colour)                                     \
    do {                                                                               \
        QString why_;                                                                  \
        QVERIFY2(gelcoat::testing::pixelNear((image), (x), (y), (colour), 1, &why_),   \
                 qPrintable(why_));                                                    \
    } while (false)
