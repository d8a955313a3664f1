#pragma once
// The application icon (QApplication::windowIcon, which the application sets)
// drawn smoothly at any size.  A null pixmap of that size, transparent, when
// the application has no icon.

#include <QPixmap>
#include <QSize>

QPixmap KPApplicationIconScaledToSize(const QSize& size);
