#include "views/imageview/BugImageView.h"

#include "views/drop/DroppedImage.h"
#include "views/resources/ViewImages.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace gelcoat {

namespace {

constexpr double bugSize = 16.0;

// Loaded on first use, tried once, kept for the life of the process.
QImage bugPicture(qreal pixelRatio)
{
    return viewImage(QStringLiteral("views"), QStringLiteral("sourceBug"), pixelRatio);
}

} // namespace

BugImageView::BugImageView(QWidget* parent) : GelcoatImageView(parent)
{
    setAcceptDrops(true);
}

void BugImageView::setBugXY(int x, int y)
{
    // Only the bug's old and new squares change.
    const QRect before = toQtRect(bugRect(), height()).toAlignedRect();
    bugX_ = x;
    bugY_ = y;
    update(before.united(toQtRect(bugRect(), height()).toAlignedRect()));
}

void BugImageView::getBugXY(int* x, int* y) const
{
    if (x)
        *x = bugX_;
    if (y)
        *y = bugY_;
}

void BugImageView::drawOverlaidContent(QPainter& painter)
{
    const QImage picture = bugPicture(paintPixelRatio(painter));
    if (picture.isNull())
        return;
    painter.drawImage(toQtRect(bugRect(), height()), picture, QRectF(picture.rect()));
}

UpRect BugImageView::bugRect() const
{
    const UpRect b = upBounds();
    const double s = lastDrawnImageScaleFactor();
    const double x = std::floor(b.x + b.w * 0.5 + bugX_ / s - bugSize * 0.5);
    const double y = std::floor(b.y + b.h * 0.5 + bugY_ / s - bugSize * 0.5);
    return {x, y, bugSize, bugSize};
}

void BugImageView::moveBugTo(const QPointF& qtPoint)
{
    const QPointF p = fromQtPoint(qtPoint, height());
    const UpRect b = upBounds();
    const double s = lastDrawnImageScaleFactor();
    // Truncated towards zero, so a point just left of the centre gives 0.
    setBugXY(int(std::trunc((p.x() - (b.x + b.w * 0.5)) * s)),
             int(std::trunc((p.y() - (b.y + b.h * 0.5)) * s)));
    emit sourceBugChanged();
}

void BugImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        GelcoatImageView::mousePressEvent(event);
        return;
    }
    tracking_ = true;
    moveBugTo(event->position());
}

void BugImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (tracking_ && (event->buttons() & Qt::LeftButton))
        moveBugTo(event->position());
}

void BugImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!tracking_ || event->button() != Qt::LeftButton)
        return;
    tracking_ = false;
    moveBugTo(event->position());
}

void BugImageView::dragEnterEvent(QDragEnterEvent* event)
{
    subclassOwnsDrag_ = false;
    if (!mimeDataOffersImage(event->mimeData())) {
        event->ignore();
        return;
    }
    subclassOwnsDrag_ = true;
    // Dropped pictures are only ever copied into the well.
    previousDragAccepted_ = (event->possibleActions() & Qt::CopyAction) != 0;
    if (previousDragAccepted_) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        dropHighlighted_ = true;
        update();
    } else {
        event->ignore();
    }
}

void BugImageView::dragMoveEvent(QDragMoveEvent* event)
{
    if (subclassOwnsDrag_ && previousDragAccepted_) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void BugImageView::dragLeaveEvent(QDragLeaveEvent* event)
{
    endOwnedDrag();
    event->accept();
}

void BugImageView::dropEvent(QDropEvent* event)
{
    if (!subclassOwnsDrag_ || !previousDragAccepted_) {
        event->ignore();
        return;
    }
    // The drop counts as taken even when the data turns out unreadable;
    // the receiver then leaves the well as it was.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    endOwnedDrag();
    emit dataDropped(event->mimeData());
}

void BugImageView::endOwnedDrag()
{
    if (!subclassOwnsDrag_)
        return;
    subclassOwnsDrag_ = false;
    dropHighlighted_ = false;
    update();
}

} // namespace gelcoat
