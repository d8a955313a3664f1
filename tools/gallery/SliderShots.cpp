// Gallery pictures of the circular slider: both standard sizes and other
// sizes, each look and tint, every rule of legal positions, pressed,
// disabled, in an inactive window, and with tick marks.

#include "tools/gallery/Gallery.h"

#include "views/paint/UpCoordinates.h"
#include "views/slider/CircularSliderGeometry.h"
#include "views/slider/KPCircularSlider.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

#include <functional>
#include <memory>

using namespace gelcoat;

namespace {

struct Rule {
    const char* caption;
    bool centre;
    bool nonEdge;
    float x; // the value shown, as offsets of a unit circle
    float y;
};

// Disc, ring with centre dot, disc with a hole, ring alone.
const Rule rules[] = {{"anywhere", true, true, 0.45f, 0.3f},
                      {"edge or centre", true, false, -0.7f, 0.7f},
                      {"not the centre", false, true, 0.2f, -0.75f},
                      {"edge only", false, false, 1.0f, 0.0f}};

using Setup = std::function<void(KPCircularSlider&, int column)>;

// A window-coloured panel with one slider a column and a caption under it.
class Panel {
public:
    Panel() : window(std::make_unique<QWidget>())
    {
        useWindowBackground(*window);
        grid = new QGridLayout(window.get());
        grid->setContentsMargins(14, 14, 14, 10);
        grid->setHorizontalSpacing(18);
        grid->setVerticalSpacing(4);
    }

    KPCircularSlider* add(int side, const QString& caption)
    {
        auto* slider = new KPCircularSlider;
        slider->setFixedSize(side, side);
        auto* label = new QLabel(caption);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(10);
        label->setFont(font);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        const int column = int(sliders.size());
        grid->addWidget(slider, 0, column, Qt::AlignCenter);
        grid->addWidget(label, 1, column, Qt::AlignHCenter);
        sliders.push_back(slider);
        return slider;
    }

    // Shown in the active window, or behind another window.
    QImage render(bool active = true)
    {
        window->show();
        QWidget other;
        QWidget* target = active ? window.get() : &other;
        if (!active)
            other.show();
        target->activateWindow();
        QElapsedTimer timer;
        timer.start();
        while (QApplication::activeWindow() != target && timer.elapsed() < 2000)
            QApplication::processEvents();
        for (const auto& step : beforeGrab)
            step();
        QApplication::processEvents();
        QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(1.0);
        image.fill(windowColour);
        window->render(&image);
        for (const auto& step : afterGrab)
            step();
        return image;
    }

    std::unique_ptr<QWidget> window;
    QGridLayout* grid = nullptr;
    std::vector<KPCircularSlider*> sliders;
    std::vector<std::function<void()>> beforeGrab;
    std::vector<std::function<void()>> afterGrab;
};

void sendMouse(KPCircularSlider* s, QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, s->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
    QCoreApplication::sendEvent(s, &event);
}

// Holds the ball down (the highlighted knob) until the picture is taken.
void holdBall(Panel& panel, KPCircularSlider* s, Qt::KeyboardModifiers modifiers = {})
{
    panel.beforeGrab.push_back([s, modifiers] {
        const SliderPoint up =
            CircularSliderGeometry::forBounds(s->width(), s->height()).ballCentre(s->model());
        const QPointF ball = toQtPoint({up.x, up.y}, s->height());
        sendMouse(s, QEvent::MouseButtonPress, ball, Qt::LeftButton, modifiers);
        if (modifiers.testFlag(Qt::ShiftModifier)) {
            QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
            QCoreApplication::sendEvent(s, &shift);
        }
    });
    panel.afterGrab.push_back([s] {
        sendMouse(s, QEvent::MouseButtonRelease, QPointF(s->width() / 2.0, s->height() / 2.0),
                  Qt::NoButton);
    });
}

// The four rules of legal positions side by side.
QImage rulesShot(int side, int appearance, bool active, bool enabled = true)
{
    Panel panel;
    for (const Rule& rule : rules) {
        KPCircularSlider* s = panel.add(side, QString::fromLatin1(rule.caption));
        s->setAppearance(appearance);
        s->setAllowsCenterPoint(rule.centre);
        s->setAllowsNonEdgePositions(rule.nonEdge);
        s->setOffsets(rule.x, rule.y);
        s->setEnabled(enabled);
    }
    return panel.render(active);
}

QString lookName(int appearance)
{
    switch (appearance) {
    case slider::kBlue: return QStringLiteral("blue");
    case slider::kGraphite: return QStringLiteral("graphite");
    case slider::kVector: return QStringLiteral("vector");
    default: return QStringLiteral("automatic");
    }
}

QImage pressedShot()
{
    Panel panel;
    for (int side : {80, 60}) {
        for (int appearance : {slider::kBlue, slider::kGraphite}) {
            KPCircularSlider* s = panel.add(
                side, QStringLiteral("%1 %2 held").arg(lookName(appearance)).arg(side));
            s->setAppearance(appearance);
            s->setOffsets(-0.5f, 0.5f);
            holdBall(panel, s);
        }
    }
    KPCircularSlider* v = panel.add(80, QStringLiteral("vector held"));
    v->setAppearance(slider::kVector);
    v->setOffsets(-0.5f, 0.5f);
    holdBall(panel, v);
    return panel.render();
}

QImage disabledShot()
{
    Panel panel;
    const std::pair<int, int> looks[] = {{80, slider::kBlue}, {60, slider::kGraphite},
                                         {80, slider::kVector}, {100, slider::kBlue}};
    for (const auto& [side, appearance] : looks) {
        KPCircularSlider* s = panel.add(
            side, QStringLiteral("%1 %2 disabled").arg(lookName(appearance)).arg(side));
        s->setAppearance(appearance);
        s->setDrawTicksBehavior(slider::kAlways);
        s->setOffsets(0.6f, 0.6f);
        s->setEnabled(false);
    }
    return panel.render();
}

// Sizes other than 60 and 80 are drawn with vector paths.
QImage sizesShot()
{
    Panel panel;
    for (int side : {40, 60, 80, 100, 130}) {
        KPCircularSlider* s = panel.add(side, QStringLiteral("%1 x %1").arg(side));
        s->setAppearance(slider::kBlue);
        s->setOffsets(0.55f, 0.55f);
    }
    return panel.render();
}

QImage ticksShot()
{
    Panel panel;
    struct Ticks {
        int side;
        int appearance;
        int marks;
        bool centre;
        bool nonEdge;
    };
    const Ticks ticks[] = {{80, slider::kBlue, 8, true, true},
                           {80, slider::kGraphite, 12, false, false},
                           {60, slider::kBlue, 8, true, false},
                           {100, slider::kVector, 16, true, true}};
    for (const Ticks& t : ticks) {
        KPCircularSlider* s =
            panel.add(t.side, QStringLiteral("%1 marks").arg(t.marks));
        s->setAppearance(t.appearance);
        s->setNumberOfSnapMarks(t.marks);
        s->setSnapBehavior(slider::kAlways);
        s->setDrawTicksBehavior(slider::kAlways);
        s->setAllowsCenterPoint(t.centre);
        s->setAllowsNonEdgePositions(t.nonEdge);
        s->setOffsets(0.8f, 0.5f); // snaps to the nearest mark
    }
    return panel.render();
}

// Ticks drawn only while the ball is held with Shift down.
QImage shiftTicksShot()
{
    Panel panel;
    KPCircularSlider* idle = panel.add(80, QStringLiteral("ticks with Shift: idle"));
    KPCircularSlider* held = panel.add(80, QStringLiteral("held with Shift"));
    for (KPCircularSlider* s : {idle, held}) {
        s->setAppearance(slider::kBlue);
        s->setSnapBehavior(slider::kWhileShift);
        s->setDrawTicksBehavior(slider::kWhileShift);
        s->setOffsets(0.0f, 1.0f);
    }
    holdBall(panel, held, Qt::ShiftModifier);
    return panel.render();
}

// The automatic appearance follows the palette's highlight colour.
QImage automaticShot()
{
    Panel panel;
    const std::pair<QColor, const char*> highlights[] = {
        {QColor(48, 140, 198), "automatic, blue highlight"},
        {QColor(140, 146, 156), "automatic, grey highlight"}};
    for (const auto& [colour, caption] : highlights) {
        for (int side : {80, 60}) {
            KPCircularSlider* s = panel.add(side, QString::fromLatin1(caption));
            QPalette palette = s->palette();
            palette.setColor(QPalette::Highlight, colour);
            s->setPalette(palette);
            s->setOffsets(-0.3f, -0.6f);
        }
    }
    return panel.render();
}

} // namespace

std::vector<GalleryShot> sliderShots()
{
    std::vector<GalleryShot> shots;
    for (int side : {80, 60}) {
        for (int appearance : {slider::kBlue, slider::kGraphite}) {
            shots.push_back({QStringLiteral("slider-%1-%2-rules.png").arg(side).arg(lookName(appearance)),
                             [=] { return rulesShot(side, appearance, true); }});
        }
        shots.push_back({QStringLiteral("slider-%1-inactive-window-rules.png").arg(side),
                         [=] { return rulesShot(side, slider::kBlue, false); }});
        shots.push_back({QStringLiteral("slider-%1-disabled-rules.png").arg(side),
                         [=] { return rulesShot(side, slider::kGraphite, true, false); }});
    }
    shots.push_back({QStringLiteral("slider-80-vector-rules.png"),
                     [] { return rulesShot(80, slider::kVector, true); }});
    shots.push_back({QStringLiteral("slider-100-nonstandard-rules.png"),
                     [] { return rulesShot(100, slider::kBlue, true); }});
    shots.push_back({QStringLiteral("slider-sizes.png"), sizesShot});
    shots.push_back({QStringLiteral("slider-held.png"), pressedShot});
    shots.push_back({QStringLiteral("slider-disabled.png"), disabledShot});
    shots.push_back({QStringLiteral("slider-ticks.png"), ticksShot});
    shots.push_back({QStringLiteral("slider-ticks-with-shift.png"), shiftTicksShot});
    shots.push_back({QStringLiteral("slider-automatic-tint.png"), automaticShot});
    return shots;
}
