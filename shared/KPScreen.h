#pragma once
// The primary screen and centring on it.  The placement rule is stated in
// y-up coordinates (origin at the bottom left of the primary screen); Qt is
// y-down.  KPFlipRect converts between the two through UpGeometry.

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

// The first screen whose geometry starts at exactly (0, 0); null if none.
QScreen* KPPrimaryScreen();

// Mirrors a rectangle between y-up and y-down within a container of the
// given height (the conversion is its own inverse).
QRect KPFlipRect(const QRect& rect, int containerHeight);

// Where a window of `windowSize` goes on a screen whose available area is
// `available` (Qt coordinates): centred across, a third of the free height
// below the top.  400 x 300 on (0, 0, 1024, 746) gives (312, 149).
QPoint KPCenteredOrigin(const QRect& available, const QSize& windowSize,
                        int screenHeight);

// Moves the window (by its frame) there on the primary screen; leaves it in
// place when there is no primary screen.  Call after the window has its size.
void KPCenterOnPrimaryScreen(QWidget* window);
