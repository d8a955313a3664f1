#pragma once
// The source well: shows the stencil with the bug, a marker the user drags
// to set the centre of the circular rainbow, and takes pictures dropped on it.

#include "views/imageview/GelcoatImageView.h"

#include <Qt>

#include <QMimeData>

namespace gelcoat {

class BugImageView : public GelcoatImageView {
    Q_OBJECT

public:
    explicit BugImageView(QWidget* parent = nullptr);

    // Bug position in image pixels from the image centre, y upwards.
    // Setting always redraws.
    void setBugXY(int x, int y);
    // Either pointer may be null.
    void getBugXY(int* x, int* y) const;

    // Whether a drop of a picture is being offered right now.
    bool isDropHighlighted() const { return dropHighlighted_; }

signals:
    // The user moved the bug (on the press, each move and the release).
    void sourceBugChanged();
    // Data offering a picture was dropped; the receiver decodes it and
    // installs what it takes (the well itself shows nothing new). Valid only
    // during the emission.
    void dataDropped(const QMimeData* data);

protected:
    void drawOverlaidContent(QPainter& painter) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Where the bug is drawn, for the current position and last scale.
    UpRect bugRect() const;
    void moveBugTo(const QPointF& qtPoint);
    void endOwnedDrag();

    int bugX_ = 0;
    int bugY_ = 0;
    bool tracking_ = false;
    bool subclassOwnsDrag_ = false;
    bool previousDragAccepted_ = false;
    bool dropHighlighted_ = false;
};

} // namespace gelcoat
