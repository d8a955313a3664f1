#pragma once
// The whole hue circle painted left to right, shown beside the hue slider.

#include <QWidget>

namespace gelcoat {

class KPRainbowStrip : public QWidget {
    Q_OBJECT

public:
    explicit KPRainbowStrip(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {180, 6}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace gelcoat
