#include "shared/KPScreen.h"

#include "shared/UpGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

QScreen* KPPrimaryScreen()
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().topLeft() == QPoint(0, 0))
            return screen;
    return nullptr;
}

QRect KPFlipRect(const QRect& rect, int containerHeight)
{
    const kp::UpRect up{double(rect.x()), double(rect.y()), double(rect.width()),
                             double(rect.height())};
    return kp::toQtRect(up, containerHeight).toRect();
}

QPoint KPCenteredOrigin(const QRect& available, const QSize& windowSize, int screenHeight)
{
    const QRect visible = KPFlipRect(available, screenHeight);
    const int x = visible.x() + int(std::floor((visible.width() - windowSize.width()) * 0.5));
    const int y = visible.y() + int(std::floor((visible.height() - windowSize.height()) * 2.0 / 3.0));
    return KPFlipRect(QRect(QPoint(x, y), windowSize), screenHeight).topLeft();
}

void KPCenterOnPrimaryScreen(QWidget* window)
{
    QScreen* screen = KPPrimaryScreen();
    if (!window || !screen)
        return;
    // The frame includes the title bar once the window system has decorated
    // the window; before that it is the bare size.
    const QRect frame = window->frameGeometry();
    const QPoint origin =
        KPCenteredOrigin(screen->availableGeometry(), frame.size(), screen->geometry().height());
    if (origin != frame.topLeft())
        window->move(origin);
}
