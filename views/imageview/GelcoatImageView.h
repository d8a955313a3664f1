#pragma once
// The image well: a bevelled frame, one of five interior backgrounds, the
// image centred (shrunk to fit when asked), an optional frame around the
// image, a soft inner shadow, an overlay hook and an optional size label.

#include "views/paint/UpCoordinates.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace gelcoat {

class GelcoatImageView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int interiorStyle READ interiorStyle WRITE setInteriorStyle)
    Q_PROPERTY(bool showsSize READ showsSize WRITE setShowsSize)
    Q_PROPERTY(bool showsSizeOnLeft READ showsSizeOnLeft WRITE setShowsSizeOnLeft)
    Q_PROPERTY(bool showsBounds READ showsBounds WRITE setShowsBounds)
    Q_PROPERTY(bool shrinksIfNecessary READ shrinksIfNecessary WRITE setShrinksIfNecessary)
    Q_PROPERTY(QImage image READ image WRITE setImage)

public:
    // Interior background codes.
    enum InteriorStyle { Light = 0, Dark = 1, Black = 2, White = 3, Checkered = 4 };

    explicit GelcoatImageView(QWidget* parent = nullptr);

    // Each setter stores and redraws only on a change.
    int interiorStyle() const { return interiorStyle_; }
    void setInteriorStyle(int style);
    bool showsSize() const { return showsSize_; }
    void setShowsSize(bool shows);
    bool showsSizeOnLeft() const { return sizeOnLeft_; }
    void setShowsSizeOnLeft(bool onLeft);
    bool showsBounds() const { return showsBounds_; }
    void setShowsBounds(bool shows);
    bool shrinksIfNecessary() const { return shrinksIfNecessary_; }
    void setShrinksIfNecessary(bool shrinks);

    const QImage& image() const { return image_; }
    virtual void setImage(const QImage& image);

    // A smaller picture drawn in the image's stead, in the place and at the
    // size that an image of imageSize pixels would take: a preview of a
    // result still being made, or the result already reduced to the well.
    // The image itself stays what the size label, the bounds and a drag
    // read. setImage and a null picture drop it.
    void setStandIn(const QImage& picture, const QSize& imageSize);
    const QImage& standIn() const { return standIn_; }

    // The divisor applied to the image at the last draw (1 at full size);
    // maps between image pixels and view points.
    float lastDrawnImageScaleFactor() const { return lastDrawnImageScaleFactor_; }

    // The image's size in points (its pixels over its device pixel ratio).
    QSizeF imagePointSize() const;
    // The room a shrunk image is fitted into, in points.
    QSizeF shrinkRoom() const;

    QSize sizeHint() const override { return {200, 200}; }

    // The white level of a plain interior (the white under the checkerboard
    // for Checkered); none for a style without an interior of its own.
    static std::optional<double> interiorLevel(int style);

protected:
    void paintEvent(QPaintEvent* event) override;

    // Drawn after the image and the inner shadow, clipped to the interior.
    virtual void drawOverlaidContent(QPainter& painter);

    // The interior of the well, in y-up coordinates: the bounds inset by 4.
    UpRect interiorRect() const;
    UpRect upBounds() const;

    // Fills a y-up rectangle, source-over.
    void fillUp(QPainter& painter, const UpRect& r, const QColor& color) const;

private:
    // Stores value and redraws, only when it differs from field.
    template <typename T>
    void change(T& field, T value)
    {
        if (value == field)
            return;
        field = value;
        update();
    }

    void drawFrameAndBevel(QPainter& painter, UpRect r) const;
    void drawInterior(QPainter& painter, const UpRect& interior) const;
    void drawCheckerboard(QPainter& painter, const UpRect& interior) const;
    UpRect drawImage(QPainter& painter, const UpRect& interior);
    void drawImageBounds(QPainter& painter, const UpRect& drawn) const;
    void drawInnerShadow(QPainter& painter, UpRect interior) const;
    void drawSizeLabel(QPainter& painter) const;
    // A 1-point frame inside r, source-over, its corners painted once.
    void frameUp(QPainter& painter, const UpRect& r, const QColor& color) const;

    QImage image_;
    QImage standIn_;
    QSize standInFor_;
    int interiorStyle_ = Light;
    bool showsSize_ = false;
    bool sizeOnLeft_ = false;
    bool showsBounds_ = false;
    bool shrinksIfNecessary_ = false;
    float lastDrawnImageScaleFactor_ = 1.0f;
};

} // namespace gelcoat
