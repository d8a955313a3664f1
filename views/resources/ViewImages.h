#pragma once
// The pictures bundled with the views, loaded by name.

#include <QImage>
#include <QLoggingCategory>

class QPainter;

namespace gelcoat {

Q_DECLARE_LOGGING_CATEGORY(lcViews)

// ":/images/<folder>/<name>.png", or its "@2x" version (marked as double
// density) when drawing at more than one device pixel a point and it
// exists.  Loaded once and kept for the process; a missing picture gives a
// null image and one log line.  Main thread only.
QImage viewImage(const QString& folder, const QString& name, qreal pixelRatio);

// Device pixels a point for what the painter draws into: its scale covers
// rendering redirected into a dense image, the device's ratio a dense screen.
qreal paintPixelRatio(const QPainter& painter);

} // namespace gelcoat
