#pragma once
// What the document window does as it is moved, resized and zoomed.
// The document area stays on one line of sizes, its width twice its height
// less 462, so that both image wells grow as much in width as in height;
// every size change lays the form out again.  Qt cannot refuse a size the
// window system proposes, so a size off the line is followed by one resize
// onto it; a window the window system maximizes is given the largest frame
// on the line instead, and zooming it again gives back the frame before.

#include "window/WindowFrameKeeper.h"

#include <QMargins>
#include <QObject>
#include <QRect>

namespace gelcoat {

class TintDocumentWindow;

class DocumentWindowDelegate : public QObject {
    Q_OBJECT
public:
    // Starts with the window set up and not yet shown: lays its form out
    // from now on and restores the saved frame.
    explicit DocumentWindowDelegate(TintDocumentWindow& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowDidResize();
    void windowDidMove();
    void noteRestingFrame();
    void queueConstrainedResize();
    void resizeToConstrainedSize();
    void zoom();
    // The zoomed window's geometry on its screen.
    QRect standardFrame() const;
    // Shown, and neither maximized, full screen nor minimized.
    bool isAtRest() const;

    TintDocumentWindow& window_;
    QWidget& area_;
    WindowFrameKeeper frame_;
    bool sized_ = false;
    bool resizeQueued_ = false;
    bool zoomQueued_ = false;
    // The area size a resize last corrected; if the window system puts it
    // back, it is not corrected again.
    QSize correctedAreaSize_;
    // The last frame with the area on the line while at rest, and the
    // decorations around it.
    QRect restingFrame_;
    QMargins restingMargins_;
    QRect unzoomedFrame_;
};

} // namespace gelcoat
