#pragma once
// The result well: shows the rendered picture, fades it with an
// explanation while it is out of date, and lets the user drag it out.

#include "views/imageview/GelcoatImageView.h"

class QMimeData;

namespace gelcoat {

class MessageImageView : public GelcoatImageView {
    Q_OBJECT
    Q_PROPERTY(bool imageValid READ isImageValid WRITE setImageValid)

public:
    explicit MessageImageView(QWidget* parent = nullptr);

    // Whether the picture matches the current settings; starts false so
    // that the renderer must say so.
    bool isImageValid() const { return imageValid_; }
    void setImageValid(bool valid);

    // The text colour that reads well on the current interior.
    QColor contrastingTextColor() const;
    static QString topText();
    static QString bottomText();

    // Bottom-left corner of the full-size picture centred in the bounds,
    // y-up.
    QPointF imageLocation() const;

    // The name of the file a drag of the picture offers (see
    // makeImageDragPayload); the window gives its document's.
    void setDragFileName(const QString& name) { dragFileName_ = name; }
    const QString& dragFileName() const { return dragFileName_; }

signals:
    // A drag of the picture is about to start: a receiver connected
    // directly may bring the picture up to date first.
    void imageDragStarting();

protected:
    void drawOverlaidContent(QPainter& painter) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    // Runs the drag; takes ownership of the payload.  Separate so that the
    // drag can be watched without a window system's drag loop.
    virtual void startImageDrag(QMimeData* payload, const QPixmap& picture, const QPoint& hotSpot);

private:
    bool imageValid_ = false;
    QString dragFileName_;
};

} // namespace gelcoat
