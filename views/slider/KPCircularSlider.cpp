#include "views/slider/KPCircularSlider.h"

#include "views/paint/UpCoordinates.h"
#include "views/resources/ViewImages.h"
#include "views/slider/CircularSliderArchive.h"
#include "views/slider/CircularSliderLook.h"
#include "views/slider/CircularSliderPainter.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace gelcoat {

namespace {

SliderModifiers sliderModifiers(Qt::KeyboardModifiers m)
{
    return {m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::AltModifier)};
}

} // namespace

bool highlightIsGraphite(const QColor& highlight)
{
    // Nearly grey: its channels lie within 40 of 255 of each other.
    const QColor c = highlight.toRgb();
    const int hi = std::max({c.red(), c.green(), c.blue()});
    const int lo = std::min({c.red(), c.green(), c.blue()});
    return hi - lo <= 40;
}

KPCircularSlider::KPCircularSlider(QWidget* parent) : QWidget(parent)
{
    model_.setShiftQuery([this] { return shiftDown(); });
    resize(80, 80);
}

KPCircularSlider::~KPCircularSlider() = default;

SliderPoint KPCircularSlider::upPoint(const QPointF& qtPoint) const
{
    const QPointF p = fromQtPoint(qtPoint, height());
    return {p.x(), p.y()};
}

bool KPCircularSlider::shiftDown() const
{
    // While tracking, the state the latest event carried; otherwise the
    // application's latest input.
    if (tracker_.isTracking())
        return tracker_.modifiers().shift;
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
}

int KPCircularSlider::currentTint() const
{
    const bool graphite =
        highlightIsGraphite(palette().color(QPalette::Active, QPalette::Highlight));
    return sliderTint(appearance(), graphite, isActiveWindow(), isEnabled());
}

int KPCircularSlider::ballRadius() const
{
    return sliderLook(currentTint(), width(), height()).ballRadius;
}

void KPCircularSlider::updateBallRadius()
{
    // Hit tests can come before the first paint.
    model_.setBallRadius(ballRadius());
}

void KPCircularSlider::setAllowsCenterPoint(bool allows)
{
    redrawIf(model_.setAllowsCenter(allows));
}

void KPCircularSlider::setAllowsNonEdgePositions(bool allows)
{
    redrawIf(model_.setAllowsNonEdge(allows));
}

void KPCircularSlider::setMaximumDistance(float distance)
{
    redrawIf(model_.setMaxDistance(distance));
}

void KPCircularSlider::setAppearance(int appearance)
{
    if (!model_.setAppearance(appearance))
        return;
    updateBallRadius();
    update();
}

void KPCircularSlider::setSnapBehavior(int behavior)
{
    redrawIf(model_.setSnapBehavior(behavior));
}

void KPCircularSlider::setNumberOfSnapMarks(int marks)
{
    redrawIf(model_.setSnapMarks(marks));
}

void KPCircularSlider::setDrawTicksBehavior(int behavior)
{
    redrawIf(model_.setDrawSnapBehavior(behavior));
}

void KPCircularSlider::setAngleAndDistance(float angle, float distance)
{
    redrawIf(model_.setAngleAndDistance(angle, distance));
}

void KPCircularSlider::getAngleAndDistance(float* angle, float* distance) const
{
    model_.getAngleAndDistance(angle, distance);
}

void KPCircularSlider::setOffsets(float x, float y)
{
    redrawIf(model_.setOffsets(x, y));
}

void KPCircularSlider::getOffsets(float* x, float* y) const
{
    model_.getOffsets(x, y);
}

float KPCircularSlider::angle() const
{
    float a = 0.0f;
    model_.getAngleAndDistance(&a, nullptr);
    return a;
}

void KPCircularSlider::encode(QDataStream& out) const
{
    CircularSliderState state = model_.state();
    // The slider's own enabled flag, not one inherited from a disabled parent.
    state.enabled = !testAttribute(Qt::WA_ForceDisabled);
    state.ballRadius = ballRadius();
    writeCircularSlider(out, {geometry(), state});
}

std::unique_ptr<KPCircularSlider> KPCircularSlider::decode(QDataStream& in, QWidget* parent,
                                                           QString* error)
{
    const auto archive = readCircularSlider(in, error);
    if (!archive)
        return nullptr;
    auto slider = std::make_unique<KPCircularSlider>(parent);
    slider->model_.restore(archive->state);
    slider->setGeometry(archive->frame);
    slider->setEnabled(archive->state.enabled);
    return slider;
}

void KPCircularSlider::paintEvent(QPaintEvent*)
{
    const SliderLook look = sliderLook(currentTint(), width(), height());
    model_.setBallRadius(look.ballRadius);
    if (look.nonStandardSize) {
        static bool logged = false; // once per process, whatever the number of sliders
        if (!logged) {
            logged = true;
            qCWarning(lcViews, "%s",
                      qPrintable(QString::asprintf(
                          "Using QPainter appearance due to non-standard size for "
                          "KPCircularSlider (%fx%f).  Standard sizes are 60x60 and 80x80.",
                          double(width()), double(height()))));
        }
    }
    QPainter painter(this);
    paintCircularSlider(painter, {double(width()), double(height()), &model_, look, isEnabled(),
                                  isBallHighlighted(), shiftDown()});
}

void KPCircularSlider::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    tracker_.setBounds(width(), height());
    updateBallRadius();
}

void KPCircularSlider::apply(SliderStep step)
{
    if (step.redisplay)
        update();
    if (step.sendAction)
        emit activated();
}

void KPCircularSlider::mousePressEvent(QMouseEvent* event)
{
    event->accept(); // a click never reaches the window behind
    if (event->button() != Qt::LeftButton || !isEnabled() || tracker_.isTracking())
        return;
    tracker_.setBounds(width(), height());
    updateBallRadius();
    const SliderStep step =
        tracker_.press(upPoint(event->position()), sliderModifiers(event->modifiers()));
    if (tracker_.isTracking())
        beginTracking();
    apply(step);
}

void KPCircularSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!tracker_.isTracking())
        return;
    if (!event->buttons().testFlag(Qt::LeftButton)) {
        endTracking(); // the release went elsewhere
        return;
    }
    apply(tracker_.drag(upPoint(event->position()), sliderModifiers(event->modifiers())));
}

void KPCircularSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !tracker_.isTracking())
        return;
    const SliderStep step =
        tracker_.release(upPoint(event->position()), sliderModifiers(event->modifiers()));
    endTracking();
    apply(step);
}

void KPCircularSlider::beginTracking()
{
    // Shift and Alt are watched wherever the focus is, and moves arrive
    // even without a button so that a release lost elsewhere is noticed.
    qApp->installEventFilter(this);
    setMouseTracking(true);
}

void KPCircularSlider::endTracking()
{
    qApp->removeEventFilter(this);
    setMouseTracking(false);
    if (tracker_.isTracking())
        apply(tracker_.cancel());
}

void KPCircularSlider::modifierKey(const QKeyEvent* event, bool pressed)
{
    if (!tracker_.isTracking() || event->isAutoRepeat())
        return;
    // The event's own key decides its bit: some platforms report the
    // modifiers as they were before the key.
    SliderModifiers m = sliderModifiers(event->modifiers());
    if (event->key() == Qt::Key_Shift)
        m.shift = pressed;
    else if (event->key() == Qt::Key_Alt)
        m.option = pressed;
    else
        return;
    // One key event passes the filter once per receiver it is offered to;
    // only a change of state counts.
    if (!(m == tracker_.modifiers()))
        apply(tracker_.modifiersChanged(m));
}

bool KPCircularSlider::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        modifierKey(static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress);
    return QWidget::eventFilter(watched, event);
}

bool KPCircularSlider::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (!isActiveWindow())
            endTracking();
        update(); // the knob shows whether the window is active
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void KPCircularSlider::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        model_.setEnabled(isEnabled());
        if (!isEnabled())
            endTracking();
        updateBallRadius();
        update();
        break;
    case QEvent::PaletteChange:
        if (appearance() == slider::kAutomatic)
            update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void KPCircularSlider::hideEvent(QHideEvent* event)
{
    endTracking();
    QWidget::hideEvent(event);
}

} // namespace gelcoat
