#pragma once
// The fonts the views draw with, in pixel sizes so that layouts do not move
// with the screen's dots per inch.

#include <QFont>

namespace gelcoat {

inline constexpr int smallSystemFontPixels = 11;

// The application font at the given pixel size.
QFont systemFont(int pixels);
// The application font at the small control size.
QFont smallSystemFont();
// The tool-tip font at its usual size.
QFont toolTipFont();

} // namespace gelcoat
