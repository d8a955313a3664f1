// The circular slider widget: tracking fed by real mouse and key events,
// when the action signal is sent, the keyboard grab, loss of the mouse,
// properties and the archive.

#include "views/paint/UpCoordinates.h"
#include "views/slider/CircularSliderArchive.h"
#include "views/slider/KPCircularSlider.h"

#include "tests/qtsupport/TestSettings.h"
#include "tests/views/CircularSliderChecks.h"

#include <QDataStream>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace gelcoat;

namespace {

void send(KPCircularSlider& s, QEvent::Type type, QPointF upPoint, Qt::MouseButton button,
          Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF local = toQtPoint(upPoint, s.height());
    QMouseEvent event(type, local, s.mapToGlobal(local), button, buttons, modifiers);
    QCoreApplication::sendEvent(&s, &event);
}

void press(KPCircularSlider& s, QPointF up, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    send(s, QEvent::MouseButtonPress, up, Qt::LeftButton, Qt::LeftButton, m);
}

void drag(KPCircularSlider& s, QPointF up, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    send(s, QEvent::MouseMove, up, Qt::NoButton, Qt::LeftButton, m);
}

void release(KPCircularSlider& s, QPointF up, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    send(s, QEvent::MouseButtonRelease, up, Qt::LeftButton, Qt::NoButton, m);
}

float xOffset(const KPCircularSlider& s)
{
    float x = 0.0f;
    s.getOffsets(&x, nullptr);
    return x;
}

} // namespace

class CircularSliderWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void init();
    void cleanup() { window.reset(); }

    void aClickAboveTheCentreGivesZeroDegrees();
    void settersNeverSendTheAction();
    void otherButtonsAndDisabledSlidersAreIgnored();
    void modifierKeysReachTheSliderThroughTheGrab();
    void shiftPressedWithoutAMoveResnapsAtOnce();
    void losingTheMouseEndsTracking_data();
    void losingTheMouseEndsTracking();
    void ballRadiusIsKnownBeforeThePaint();
    void propertiesSetTheFields();
    void archiveRoundTrip();
    void olderArchivesTakeDefaults();
    void brokenArchivesAreRefused();

private:
    std::unique_ptr<QWidget> window;
    KPCircularSlider* slider = nullptr;
    QLineEdit* field = nullptr;
};

void CircularSliderWidgetTest::init()
{
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    slider = new KPCircularSlider;
    slider->setFixedSize(80, 80);
    field = new QLineEdit; // holds the focus, as a window's value field would
    layout->addWidget(slider);
    layout->addWidget(field);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    field->setFocus();
}

void CircularSliderWidgetTest::aClickAboveTheCentreGivesZeroDegrees()
{
    QSignalSpy spy(slider, &KPCircularSlider::activated);
    slider->setAngleUnits(slider::kCompassDegrees);
    slider->setMaximumDistance(20.0f);
    slider->setAngleAndDistance(180.0f, 20.0f);
    // Through the window, as the platform delivers it: 20 points above (40, 40).
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      slider->mapTo(window.get(), QPoint(40, 20)));
    CHECK(slider->isBallHighlighted());
    CHECK_EQ(spy.count(), 1);
    float a = -1.0f;
    float d = 0.0f;
    slider->getAngleAndDistance(&a, &d);
    CHECK_EQ(a, 0.0f);
    CHECK_NEAR(d, 20.0 * 20.0 / 26.5, 1e-4);
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        slider->mapTo(window.get(), QPoint(40, 20)));
    CHECK(!slider->isBallHighlighted());
    CHECK_EQ(spy.count(), 2);
}

void CircularSliderWidgetTest::settersNeverSendTheAction()
{
    QSignalSpy spy(slider, &KPCircularSlider::activated);
    slider->setSnapBehavior(slider::kAlways);
    slider->setAngleAndDistance(1.0f, 0.5f);
    slider->setOffsets(-0.3f, 0.2f);
    slider->setAllowsNonEdgePositions(false);
    slider->setAllowsCenterPoint(false);
    slider->setMaximumDistance(4.0f);
    slider->setAppearance(slider::kGraphite);
    slider->setNumberOfSnapMarks(12);
    slider->setProperty("angle", 2.0f);
    slider->setEnabled(false);
    CHECK_EQ(spy.count(), 0);
}

void CircularSliderWidgetTest::otherButtonsAndDisabledSlidersAreIgnored()
{
    QSignalSpy spy(slider, &KPCircularSlider::activated);
    slider->setOffsets(0.0f, 0.0f);
    send(*slider, QEvent::MouseButtonPress, {60, 40}, Qt::RightButton, Qt::RightButton);
    CHECK(!slider->isBallHighlighted());
    CHECK_EQ(xOffset(*slider), 0.0f);
    slider->setEnabled(false);
    press(*slider, {60, 40});
    CHECK(!slider->isBallHighlighted());
    CHECK_EQ(xOffset(*slider), 0.0f);
    CHECK_EQ(spy.count(), 0);
}

void CircularSliderWidgetTest::modifierKeysReachTheSliderThroughTheGrab()
{
    slider->setOffsets(0.0f, 0.0f);
    press(*slider, {50, 40});
    drag(*slider, {55.25, 40.5}); // sub-pixel positions are kept
    float y = 0.0f;
    slider->getOffsets(nullptr, &y);
    CHECK_NEAR(xOffset(*slider), 15.25 / 26.5, 1e-6);
    CHECK_NEAR(y, 0.5 / 26.5, 1e-6);
    drag(*slider, {55, 40});
    // Alt goes to the window while the line edit has the focus; the
    // modifiers of the event are those before the key, as on X11.
    QTest::keyPress(window->windowHandle(), Qt::Key_Alt, Qt::NoModifier);
    drag(*slider, {65, 40}, Qt::AltModifier);
    CHECK_NEAR(xOffset(*slider), 16.0 / 26.5, 1e-6);
    QTest::keyRelease(window->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    CHECK_NEAR(xOffset(*slider), 25.0 / 26.5, 1e-6);
    CHECK(field->text().isEmpty());
    release(*slider, {65, 40});
    CHECK(!slider->isBallHighlighted());
}

void CircularSliderWidgetTest::shiftPressedWithoutAMoveResnapsAtOnce()
{
    QSignalSpy spy(slider, &KPCircularSlider::activated);
    slider->setSnapBehavior(slider::kWhileShift);
    slider->setOffsets(0.0f, 0.0f);
    press(*slider, {60, 48});
    const float free = slider->model().state().angle;
    CHECK(free > 0.3f);
    QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(slider, &shiftDown);
    CHECK_EQ(slider->model().state().angle, 0.0f);
    CHECK_EQ(spy.count(), 2); // the click, then the Shift
    QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(slider, &shiftUp);
    CHECK_EQ(slider->model().state().angle, free);
    release(*slider, {60, 48});
}

void CircularSliderWidgetTest::losingTheMouseEndsTracking_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("window deactivated") << 0;
    QTest::newRow("hidden") << 1;
    QTest::newRow("disabled") << 2;
    QTest::newRow("move without the button") << 3;
}

void CircularSliderWidgetTest::losingTheMouseEndsTracking()
{
    QFETCH(int, how);
    QSignalSpy spy(slider, &KPCircularSlider::activated);
    slider->setContinuous(false);
    slider->setOffsets(0.0f, 0.0f);
    press(*slider, {50, 40});
    drag(*slider, {55, 40});
    CHECK(slider->isBallHighlighted());
    switch (how) {
    case 0: {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        break;
    }
    case 1:
        slider->hide();
        break;
    case 2:
        slider->setEnabled(false);
        break;
    default:
        send(*slider, QEvent::MouseMove, {60, 40}, Qt::NoButton, Qt::NoButton);
        break;
    }
    CHECK(!slider->isBallHighlighted());
    CHECK_EQ(spy.count(), 1); // the value shown is reported once
    CHECK_NEAR(xOffset(*slider), 15.0 / 26.5, 1e-6);
    release(*slider, {70, 40});
    drag(*slider, {70, 40});
    CHECK_EQ(spy.count(), 1);
    CHECK_NEAR(xOffset(*slider), 15.0 / 26.5, 1e-6);
}

void CircularSliderWidgetTest::ballRadiusIsKnownBeforeThePaint()
{
    KPCircularSlider hidden; // never shown, never painted
    hidden.resize(80, 80);
    CHECK_EQ(hidden.ballRadius(), 8);
    hidden.resize(60, 60);
    CHECK_EQ(hidden.ballRadius(), 6);
    hidden.resize(61, 61);
    CHECK_EQ(hidden.ballRadius(), 7);
}

void CircularSliderWidgetTest::propertiesSetTheFields()
{
    CHECK(slider->setProperty("maximumDistance", 20.0f));
    CHECK(slider->setProperty("angleUnits", slider::kCompassDegrees));
    CHECK(slider->setProperty("continuous", false));
    CHECK(slider->setProperty("numberOfSnapMarks", 12));
    CHECK(slider->setProperty("snapBehavior", slider::kAlways));
    CHECK(slider->setProperty("drawTicksBehavior", slider::kAlways));
    CHECK(slider->setProperty("appearance", -1));
    CHECK(slider->setProperty("distance", 10.0f));
    CHECK(slider->setProperty("angle", 40.0f)); // snaps to 30 with 12 marks
    const CircularSliderState& s = slider->model().state();
    CHECK_EQ(s.maxDistance, 20.0f);
    CHECK(!s.continuous);
    CHECK_EQ(s.snapMarks, 12);
    CHECK_EQ(s.drawSnapBehavior, 1);
    CHECK_EQ(s.appearance, 0);
    CHECK_NEAR(slider->property("angle").toFloat(), 30.0f, 1e-4);
    CHECK_EQ(slider->property("distance").toFloat(), 10.0f);
}

void CircularSliderWidgetTest::archiveRoundTrip()
{
    slider->setMaximumDistance(0.5f);
    slider->setAllowsCenterPoint(false);
    slider->setAngleUnits(slider::kCompassDegrees);
    slider->setSnapBehavior(slider::kWhileShift);
    slider->setNumberOfSnapMarks(16);
    slider->setDrawTicksBehavior(slider::kWhileShift);
    slider->setAppearance(slider::kGraphite);
    slider->setContinuous(false);
    slider->setOffsets(0.07f, -0.1f);
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setFloatingPointPrecision(QDataStream::DoublePrecision);
        slider->encode(out);
    }
    QDataStream in(bytes);
    QString error;
    auto copy = KPCircularSlider::decode(in, nullptr, &error);
    QVERIFY2(copy, qPrintable(error));
    CHECK(copy->model().state() == slider->model().state());
    CHECK(copy->geometry() == slider->geometry());
    CHECK(in.atEnd());
}

void CircularSliderWidgetTest::olderArchivesTakeDefaults()
{
    for (qint32 version = 0; version <= 3; ++version) {
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setFloatingPointPrecision(QDataStream::SinglePrecision);
            out << QStringLiteral("KPCircularSlider") << version << QRect(5, 6, 60, 60);
            out << qint8(0) << qint8(1) << qint8(0) << qint8(1);         // flags
            out << 20.0f << qint32(6) << qint32(2) << 1.5f << 12.0f;    // ..._distance
            if (version > 0)
                out << qint32(4) << qint32(1);
            if (version > 1)
                out << qint32(1);
            if (version > 2)
                out << qint32(1);
        }
        QDataStream in(bytes);
        QString error;
        const auto a = readCircularSlider(in, &error);
        QVERIFY2(a, qPrintable(error));
        const CircularSliderState& s = a->state;
        CHECK(a->frame == QRect(5, 6, 60, 60));
        CHECK(!s.continuous && s.enabled && !s.allowsCenter && s.allowsNonEdge);
        CHECK_EQ(s.maxDistance, 20.0f);
        CHECK_EQ(s.appearance, 2);
        CHECK_EQ(s.angle, 1.5f); // not constrained or snapped on reading
        CHECK_EQ(s.distance, 12.0f);
        CHECK_EQ(s.snapMarks, version > 0 ? 4 : 8);
        CHECK_EQ(s.snapBehavior, version > 0 ? 1 : 0);
        CHECK_EQ(s.drawSnapBehavior, version > 1 ? 1 : 0);
        CHECK_EQ(s.angleUnits, version > 2 ? 1 : 0);
    }
}

void CircularSliderWidgetTest::brokenArchivesAreRefused()
{
    QByteArray good;
    {
        QDataStream out(&good, QIODevice::WriteOnly);
        slider->encode(out);
    }
    auto refused = [](const QByteArray& bytes) {
        QDataStream in(bytes);
        QString error;
        const bool none = !KPCircularSlider::decode(in, nullptr, &error);
        return none && !error.isEmpty();
    };
    for (int cut : {0, 3, 20, int(good.size()) - 1})
        CHECK(refused(good.left(cut)));

    auto variant = [](const QString& name, qint32 version, QRect frame, float max, float angle) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setFloatingPointPrecision(QDataStream::SinglePrecision);
        out << name << version << frame << qint8(1) << qint8(1) << qint8(1) << qint8(1);
        out << max << qint32(8) << qint32(0) << angle << 1.0f;
        out << qint32(8) << qint32(0) << qint32(0) << qint32(0);
        return bytes;
    };
    const QRect frame(0, 0, 80, 80);
    CHECK(!refused(variant("KPCircularSlider", 3, frame, 1.0f, 0.5f)));
    CHECK(refused(variant("KPRainbowStrip", 3, frame, 1.0f, 0.5f)));
    CHECK(refused(variant("KPCircularSlider", 4, frame, 1.0f, 0.5f)));
    CHECK(refused(variant("KPCircularSlider", -1, frame, 1.0f, 0.5f)));
    CHECK(refused(variant("KPCircularSlider", 3, frame, 0.0f, 0.5f)));
    CHECK(refused(variant("KPCircularSlider", 3, frame, 1.0f, NAN)));
    CHECK(refused(variant("KPCircularSlider", 3, QRect(0, 0, 1 << 30, 80), 1.0f, 0.5f)));
}

QTEST_MAIN(CircularSliderWidgetTest)
#include "tst_CircularSliderWidget.moc"
