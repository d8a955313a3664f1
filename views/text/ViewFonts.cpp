#include "text/ViewFonts.h"

#include <QApplication>
#include <QToolTip>

namespace gelcoat {

QFont systemFont(int pixels)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    return font;
}

QFont smallSystemFont()
{
    return systemFont(smallSystemFontPixels);
}

QFont toolTipFont()
{
    QFont font = QToolTip::font();
    font.setPixelSize(smallSystemFontPixels);
    return font;
}

} // namespace gelcoat
