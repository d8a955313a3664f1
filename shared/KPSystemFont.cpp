#include "shared/KPSystemFont.h"

#include <QGuiApplication>

QFont KPSystemFont(int pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixelSize);
    return font;
}
