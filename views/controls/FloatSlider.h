#pragma once
// A horizontal or vertical slider whose value is a float over a float range.
//
// The handle moves over a fine integer scale, but the value is kept as the
// float itself: floatValue() gives back exactly what setFloatValue() stored,
// even a value between two scale steps or outside the range (the handle
// then rests at the nearer end).  floatValueEdited() is sent only for moves
// the user makes, with the mouse or the keyboard; setters never send it, so
// a window refreshing its controls does not hear its own changes.

#include <QSlider>

namespace gelcoat {

class FloatSlider : public QSlider {
    Q_OBJECT
    Q_PROPERTY(double floatMinimum READ floatMinimum WRITE setFloatMinimum)
    Q_PROPERTY(double floatMaximum READ floatMaximum WRITE setFloatMaximum)

public:
    // Steps of the integer scale over the whole range.
    static constexpr int kScaleSteps = 1'000'000;

    explicit FloatSlider(QWidget* parent = nullptr);
    explicit FloatSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    float floatValue() const { return value_; }
    void setFloatValue(float value);

    double floatMinimum() const { return minimum_; }
    double floatMaximum() const { return maximum_; }
    // A range whose ends meet or cross keeps the handle at the start.
    void setFloatMinimum(double minimum);
    void setFloatMaximum(double maximum);
    void setFloatRange(double minimum, double maximum);

    // The value the handle would take with its centre at a point of the
    // widget, as a mouse press or drag there gives it.
    float floatValueAt(const QPoint& point) const;

signals:
    void floatValueEdited(float value);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    int scalePosition(float value) const;
    float valueAtScale(int position) const;
    int scaleAt(const QPoint& point) const;
    void placeHandle();
    void handleMoved(int position);

    double minimum_ = 0.0;
    double maximum_ = 1.0;
    float value_ = 0.0f;
    bool placing_ = false;
};

} // namespace gelcoat
