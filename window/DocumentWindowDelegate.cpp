#include "window/DocumentWindowDelegate.h"

#include "window/TintDocumentWindow.h"

#include "window/layout/WindowSizing.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace gelcoat {

namespace {

QSize constrained(const QSize& area)
{
    const layout::Size size = layout::constrainedSize(area.width(), area.height());
    return {size.width, size.height};
}

} // namespace

DocumentWindowDelegate::DocumentWindowDelegate(TintDocumentWindow& window)
    : QObject(&window), window_(window), area_(*window.centralWidget()), frame_(window)
{
    sized_ = frame_.restoreSavedFrame();
    window_.installEventFilter(this);
    area_.installEventFilter(this);
}

bool DocumentWindowDelegate::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == &area_ && type == QEvent::Resize) {
        windowDidResize();
    } else if (watched == &window_) {
        if (type == QEvent::Move) {
            windowDidMove();
        } else if (type == QEvent::WindowStateChange) {
            if (window_.isMaximized() && !zoomQueued_) {
                zoomQueued_ = true;
                QTimer::singleShot(0, this, &DocumentWindowDelegate::zoom);
            }
        } else if (type == QEvent::Show && !frame_.isPlaced()) {
            // Qt keeps a new window within two thirds of the screen; this
            // one opens at the size its form is drawn for.
            if (!sized_)
                window_.resize(window_.sizeHint());
            sized_ = true;
            // The window system decorates the window when it first maps it.
            if (QWindow* handle = window_.windowHandle())
                handle->installEventFilter(this);
        }
    } else if (type == QEvent::Expose && watched == window_.windowHandle()
               && window_.windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        frame_.cascade();
        noteRestingFrame();
    }
    return QObject::eventFilter(watched, event);
}

void DocumentWindowDelegate::windowDidResize()
{
    window_.layOutForm();
    if (!isAtRest())
        return;
    noteRestingFrame();
    frame_.saveFrame();
    queueConstrainedResize();
}

void DocumentWindowDelegate::windowDidMove()
{
    if (!isAtRest())
        return;
    noteRestingFrame();
    frame_.windowDidMove();
}

void DocumentWindowDelegate::noteRestingFrame()
{
    if (!isAtRest() || constrained(area_.size()) != area_.size())
        return;
    correctedAreaSize_ = QSize();
    restingFrame_ = window_.geometry();
    const QRect outer = window_.frameGeometry();
    restingMargins_ = QMargins(restingFrame_.left() - outer.left(),
                               restingFrame_.top() - outer.top(),
                               outer.right() - restingFrame_.right(),
                               outer.bottom() - restingFrame_.bottom());
}

void DocumentWindowDelegate::queueConstrainedResize()
{
    const QSize area = area_.size();
    if (resizeQueued_ || constrained(area) == area || area == correctedAreaSize_)
        return;
    resizeQueued_ = true;
    QTimer::singleShot(0, this, &DocumentWindowDelegate::resizeToConstrainedSize);
}

void DocumentWindowDelegate::resizeToConstrainedSize()
{
    resizeQueued_ = false;
    const QSize area = area_.size();
    const QSize wanted = constrained(area);
    if (!isAtRest() || wanted == area)
        return;
    correctedAreaSize_ = area;
    window_.resize(window_.size() + (wanted - area));
}

void DocumentWindowDelegate::zoom()
{
    zoomQueued_ = false;
    if (!window_.isMaximized())
        return;
    const QRect standard = standardFrame();
    QRect target = standard;
    if (restingFrame_ == standard && unzoomedFrame_.isValid())
        target = unzoomedFrame_;
    else
        unzoomedFrame_ = restingFrame_;
    window_.showNormal();
    window_.setGeometry(target);
}

QRect DocumentWindowDelegate::standardFrame() const
{
    const QScreen* screen = window_.screen();
    if (!screen)
        return restingFrame_;
    // The menu bar is part of the window, not of the area the rule sizes.
    const int menuBar = window_.height() - area_.height();
    QRect offered = screen->availableGeometry().marginsRemoved(restingMargins_);
    offered.setTop(offered.top() + menuBar);
    const layout::DownRect zoomed = layout::zoomFrame(
        layout::DownRect{offered.x(), offered.y(), offered.width(), offered.height()});
    const QRect area(zoomed.x, zoomed.y, zoomed.width, zoomed.height);
    return area.adjusted(0, -menuBar, 0, 0);
}

bool DocumentWindowDelegate::isAtRest() const
{
    return window_.isVisible()
        && !(window_.windowState()
             & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

} // namespace gelcoat
