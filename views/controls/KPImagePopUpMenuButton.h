#pragma once
// An image button that pops up its menu as soon as the mouse goes down on
// it.  When the image's name contains "mirror" the menu's right edge is
// put at the button's right edge instead of its left edge at the left.
// A named picture is a grey drawing for a light window, drawn in the
// colours of the button's palette (see pictureInPalette).

#include <QAbstractButton>
#include <QMenu>
#include <QPointer>


namespace gelcoat {

class KPImagePopUpMenuButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString imageName READ imageName WRITE setImageName)

public:
    explicit KPImagePopUpMenuButton(QWidget* parent = nullptr);

    // The name of the image; it decides where the menu opens.  Without a
    // picture set, the button shows ":/images/views/<name>.png".
    QString imageName() const { return imageName_; }
    void setImageName(const QString& name);
    // A picture given directly; the name still rules the placement.
    void setImage(const QImage& image);
    // The picture shown at the given density.
    QImage image(qreal pixelRatio = 1.0) const;

    // The menu is not owned.
    void setMenu(QMenu* menu);
    QMenu* menu() const { return menu_; }

    // Where the menu's top-left corner goes, in global coordinates.
    QPoint menuPosition() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void popUpMenu();
    void finishedRunningMenu();

    QString imageName_;
    QImage image_;
    QPointer<QMenu> menu_;
};

// A grey picture drawn for a light window, in the colours of another: each
// pixel's lightness picks its colour on the way from ink (the lightness 0)
// to paper (1), its alpha kept. With dark ink on light paper it looks much
// as drawn; on a dark palette its dark parts turn light and its pale halo
// dark, so that it stands out from the window as it did on a light one.
QImage pictureInPalette(const QImage& picture, const QColor& ink, const QColor& paper);

// How far left of the button's left edge a menu opens when the image is
// mirrored: the menu, about the widest title (rounded up) plus 42 points
// wide, then ends at the button's right edge.  Negative is leftwards.
int mirroredMenuShift(const QList<double>& titleWidths, int buttonWidth);

} // namespace gelcoat
