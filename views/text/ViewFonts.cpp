#include "views/text/ViewFonts.h"

#include "shared/KPSystemFont.h"

#include <QToolTip>

namespace gelcoat {

QFont systemFont(int pixels)
{
    return KPSystemFont(pixels);
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
