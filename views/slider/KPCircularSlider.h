#pragma once
// A two-dimensional control: a ball moving inside a circle, its value an
// angle and a distance or an x and y offset from the centre.
//
// The slider sends one signal, activated(), and only from mouse tracking: a
// continuous slider on the click and after each move or change of Shift or
// Alt, every slider once at the release. Setters never send it, so a window
// refreshing its controls cannot re-enter its own handlers.

#include "views/slider/CircularSliderModel.h"
#include "views/slider/CircularSliderTracker.h"

#include <QWidget>

#include <memory>

class QDataStream;

namespace gelcoat {

class KPCircularSlider : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool continuous READ isContinuous WRITE setContinuous)
    Q_PROPERTY(bool allowsCenterPoint READ allowsCenterPoint WRITE setAllowsCenterPoint)
    Q_PROPERTY(bool allowsNonEdgePositions READ allowsNonEdgePositions WRITE setAllowsNonEdgePositions)
    Q_PROPERTY(float maximumDistance READ maximumDistance WRITE setMaximumDistance)
    Q_PROPERTY(int appearance READ appearance WRITE setAppearance)
    Q_PROPERTY(int angleUnits READ angleUnits WRITE setAngleUnits)
    Q_PROPERTY(int snapBehavior READ snapBehavior WRITE setSnapBehavior)
    Q_PROPERTY(int numberOfSnapMarks READ numberOfSnapMarks WRITE setNumberOfSnapMarks)
    Q_PROPERTY(int drawTicksBehavior READ drawTicksBehavior WRITE setDrawTicksBehavior)
    Q_PROPERTY(float angle READ angle WRITE setAngle)
    Q_PROPERTY(float distance READ distance WRITE setDistance)
    Q_PROPERTY(int ballRadius READ ballRadius)

public:
    explicit KPCircularSlider(QWidget* parent = nullptr);
    ~KPCircularSlider() override;

    bool isContinuous() const { return model_.state().continuous; }
    void setContinuous(bool continuous) { model_.setContinuous(continuous); }
    bool allowsCenterPoint() const { return model_.state().allowsCenter; }
    void setAllowsCenterPoint(bool allows);
    bool allowsNonEdgePositions() const { return model_.state().allowsNonEdge; }
    void setAllowsNonEdgePositions(bool allows);
    float maximumDistance() const { return model_.state().maxDistance; }
    void setMaximumDistance(float distance);
    // slider::kAutomatic, kBlue, kGraphite or kVector; -1 stores automatic.
    int appearance() const { return model_.state().appearance; }
    void setAppearance(int appearance);
    // slider::kRadians or kCompassDegrees; changes nothing stored.
    int angleUnits() const { return model_.state().angleUnits; }
    void setAngleUnits(int units) { model_.setAngleUnits(units); }
    int snapBehavior() const { return model_.state().snapBehavior; }
    void setSnapBehavior(int behavior);
    int numberOfSnapMarks() const { return model_.state().snapMarks; }
    void setNumberOfSnapMarks(int marks);
    int drawTicksBehavior() const { return model_.state().drawSnapBehavior; }
    void setDrawTicksBehavior(int behavior);

    // The value: the angle in angleUnits, offsets always in caller units.
    void setAngleAndDistance(float angle, float distance);
    void getAngleAndDistance(float* angle, float* distance) const;
    void setOffsets(float x, float y);
    void getOffsets(float* x, float* y) const;
    float angle() const;
    float distance() const { return model_.state().distance; }
    void setAngle(float angle) { setAngleAndDistance(angle, distance()); }
    void setDistance(float distance) { setAngleAndDistance(angle(), distance); }

    // The ball's hit radius in points, worked out from the size and look,
    // so that it is right before the first paint.
    int ballRadius() const;
    bool isBallHighlighted() const { return tracker_.isTracking(); }
    const CircularSliderModel& model() const { return model_; }

    // The archive: class name and version, frame, then the fields.
    void encode(QDataStream& out) const;
    // A slider from an archive, or null with the reason in *error.
    static std::unique_ptr<KPCircularSlider> decode(QDataStream& in, QWidget* parent,
                                                    QString* error);

    QSize sizeHint() const override { return {80, 80}; }

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    SliderPoint upPoint(const QPointF& qtPoint) const;
    bool shiftDown() const;
    int currentTint() const;
    void updateBallRadius();
    void redrawIf(bool changed)
    {
        if (changed)
            update();
    }
    void apply(SliderStep step);
    void beginTracking();
    void endTracking();
    void modifierKey(const QKeyEvent* event, bool pressed);

    CircularSliderModel model_;
    CircularSliderTracker tracker_{model_};
};

// Whether a palette's highlight colour is close enough to grey to call for
// the graphite knob in the automatic appearance.
bool highlightIsGraphite(const QColor& highlight);

} // namespace gelcoat
