#include "window/WindowFrameKeeper.h"

#include "window/layout/WindowPlacement.h"
#include "document/settings/UserDefaults.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace gelcoat {

const char* const documentFrameName = "GelcoatDocument";

namespace {

std::optional<QPoint>& cascadePoint()
{
    static std::optional<QPoint> point;
    return point;
}

QString frameKey() { return QString::fromLatin1(documentFrameName); }

bool anyScreenShows(const QRect& frame)
{
    // The top edge, where the title bar sits, is what the user needs to
    // reach to move the window.
    const QRect topEdge(frame.topLeft(), QSize(frame.width(), 1));
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->availableGeometry().intersects(topEdge);
    });
}

// A frame saved on a larger screen, or at a smaller scale factor, would open
// with its controls out of reach.
bool someScreenHolds(const QSize& size)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        const QSize available = screen->availableGeometry().size();
        return size.width() <= available.width() && size.height() <= available.height();
    });
}

} // namespace

bool WindowFrameKeeper::restoreSavedFrame()
{
    const QString text = UserDefaults::standard().objectForKey(frameKey()).toString();
    const auto saved = layout::savedFrameFromText(text.toStdString());
    if (!saved)
        return false;
    const QRect frame(saved->x, saved->y, saved->width, saved->height);
    if (!someScreenHolds(frame.size()))
        return false;
    if (anyScreenShows(frame))
        window_.setGeometry(frame);
    else
        window_.resize(frame.size());
    return true;
}

void WindowFrameKeeper::saveFrame()
{
    if (!placed_)
        return;
    const QRect g = window_.geometry();
    const QString text = QString::fromStdString(
        layout::savedFrameText({g.x(), g.y(), g.width(), g.height()}));
    // Moves and resizes come by the dozen while the user drags, many of
    // them changing nothing; each write goes to disk.
    if (UserDefaults::standard().objectForKey(frameKey()).toString() != text)
        UserDefaults::standard().setString(frameKey(), text);
}

void WindowFrameKeeper::cascade()
{
    if (placed_)
        return;
    placed_ = true;
    std::optional<QPoint>& point = cascadePoint();
    if (!point) {
        point = window_.pos();
        return;
    }
    const QRect frame = window_.frameGeometry();
    const int titleBar = window_.geometry().top() - frame.top();
    const QScreen* screen = window_.screen();
    const QRect a = screen ? screen->availableGeometry() : frame;
    const layout::ScreenPoint next = layout::cascadeTopLeft(
        {point->x(), point->y()}, frame.width(), frame.height(),
        {a.x(), a.y(), a.width(), a.height()}, std::max(titleBar, layout::kMinimumCascadeStep));
    point = QPoint(next.x, next.y);
    window_.move(*point);
}

void WindowFrameKeeper::windowDidMove()
{
    if (!placed_)
        return;
    saveFrame();
    cascadePoint() = window_.pos();
}

} // namespace gelcoat
