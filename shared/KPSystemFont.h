#pragma once
// The application font at a size in pixels, so that layouts do not move
// with the screen's dots per inch.

#include <QFont>

QFont KPSystemFont(int pixelSize);
