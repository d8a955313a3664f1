#pragma once
// The greys the views draw with, given as white levels as the drawing rules
// state them.

#include <QColor>

namespace gelcoat {

// Grey of the given white level (0 black .. 1 white), opaque by default.
inline QColor whiteLevel(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

} // namespace gelcoat
