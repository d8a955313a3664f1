// What the circular slider paints, sampled from the widget drawn at device
// pixel ratio 1: vector shapes and their greys, the pictures at the
// standard sizes, the ball's place, opacity, ticks and the knob tint.

#include "views/slider/CircularSliderImages.h"
#include "views/slider/KPCircularSlider.h"

#include "tests/qtsupport/PixelChecks.h"
#include "tests/qtsupport/TestSettings.h"
#include "tests/views/CircularSliderChecks.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace gelcoat;
using gelcoat::testing::grey;

namespace {

// The slider alone, without the window background behind it, at device
// pixel ratio 1.
QImage grabAtOne(QWidget& widget)
{
    return testing::grabAtOne(widget, false);
}

int alphaAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).alpha();
}

// Blue: blue well above red. Grey-ish (graphite, inactive): channels close.
bool isBlue(const QColor& c)
{
    return c.blue() - c.red() > 80;
}

bool isNearlyGrey(const QColor& c)
{
    return std::abs(c.blue() - c.red()) < 40 && std::abs(c.green() - c.red()) < 40;
}

} // namespace

class CircularSliderDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void init();
    void cleanup() { window.reset(); }

    void nonStandardSizeDrawsVectorAndLogsOnce();
    void vectorShapesFollowTheLegalPositions();
    void vectorBallSitsAtTheValue();
    void picturesAtTheStandardSizes();
    void knobFollowsTheWindowAndEnabledState();
    void automaticTintFollowsThePalette();
    void disabledDrawsAtSixTenths();
    void ticksAppearWithShiftOnlyWhileHeld();

private:
    KPCircularSlider* make(int side, int appearance);

    std::unique_ptr<QWidget> window;
};

void CircularSliderDrawingTest::init()
{
    window = std::make_unique<QWidget>();
    window->resize(300, 300);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

KPCircularSlider* CircularSliderDrawingTest::make(int side, int appearance)
{
    auto* s = new KPCircularSlider(window.get());
    s->setGeometry(0, 0, side, side);
    s->setAppearance(appearance);
    s->show();
    return s;
}

void CircularSliderDrawingTest::nonStandardSizeDrawsVectorAndLogsOnce()
{
    // Must run first: the message is written once per process.
    QTest::ignoreMessage(QtWarningMsg,
                         "Using QPainter appearance due to non-standard size for "
                         "KPCircularSlider (100.000000x100.000000).  Standard sizes are "
                         "60x60 and 80x80.");
    KPCircularSlider* a = make(100, slider::kBlue);
    grabAtOne(*a);
    QTest::failOnWarning(QRegularExpression("non-standard size"));
    KPCircularSlider* b = make(100, slider::kBlue);
    grabAtOne(*b);
    grabAtOne(*a);
    CHECK_EQ(a->ballRadius(), 10);
    CHECK_EQ(b->model().state().ballRadius, 10);
}

void CircularSliderDrawingTest::vectorShapesFollowTheLegalPositions()
{
    // 101 x 101: circle (10.5, 10.5, 80, 80) about (50.5, 50.5); its
    // pixels are centred on half points. Ring 5 wide, centre dot 7 across.
    KPCircularSlider* s = make(101, slider::kVector);
    s->setOffsets(0.0f, -1.0f); // ball at the bottom, out of the way
    QImage full = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(full, 50, 50, grey(204));
    GELCOAT_COMPARE_PIXEL(full, 30, 50, grey(204));
    CHECK_EQ(alphaAt(full, 2, 2), 0);
    CHECK_EQ(alphaAt(full, 50, 5), 0);
    CHECK(full.pixelColor(50, 10).red() < 150); // the darker outline on the edge

    s->setAllowsNonEdgePositions(false);
    s->setAllowsCenterPoint(false); // a ring only
    QImage ring = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(ring, 50, 13, grey(204));
    CHECK_EQ(alphaAt(ring, 50, 30), 0);
    CHECK_EQ(alphaAt(ring, 50, 50), 0);

    s->setAllowsCenterPoint(true); // ring and dot
    QImage target = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(target, 50, 50, grey(204));
    CHECK_EQ(alphaAt(target, 50, 40), 0);

    s->setAllowsNonEdgePositions(true);
    s->setAllowsCenterPoint(false); // a disc with a hole
    QImage holed = grabAtOne(*s);
    CHECK_EQ(alphaAt(holed, 50, 50), 0);
    GELCOAT_COMPARE_PIXEL(holed, 50, 40, grey(204));
}

void CircularSliderDrawingTest::vectorBallSitsAtTheValue()
{
    // 101 x 101, travel 37: offset (1, 0) puts the ball centre at x 87.5;
    // radius ceil(10.1) = 11, rectangle from round(76.5) = 77 to 99.
    KPCircularSlider* s = make(101, slider::kVector);
    s->setOffsets(1.0f, 0.0f);
    QImage image = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(image, 88, 50, grey(153));
    GELCOAT_COMPARE_PIXEL(image, 70, 50, grey(204));
    // y up: offset (0, 1) puts the ball at the top of the widget.
    s->setOffsets(0.0f, 1.0f);
    image = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(image, 50, 13, grey(153));
    GELCOAT_COMPARE_PIXEL(image, 50, 88, grey(204));
}

void CircularSliderDrawingTest::picturesAtTheStandardSizes()
{
    for (const bool big : {true, false}) {
        for (const bool centre : {true, false})
            for (const bool nonEdge : {true, false})
                QVERIFY(!sliderBaseImage(centre, nonEdge, big).isNull());
        for (const int tint : {slider::kBlue, slider::kGraphite, slider::kInactive})
            for (const bool highlighted : {true, false})
                QVERIFY(!sliderKnobImage(tint, highlighted, big).isNull());
        QVERIFY(sliderKnobImage(slider::kVector, false, big).isNull());
    }
    CHECK(sliderBaseImage(true, false, true).size() == QSize(80, 80));
    CHECK(sliderKnobImage(slider::kBlue, false, false).size() == QSize(20, 20));
    CHECK(sliderBaseImage(false, false, false, 2.0).size() == QSize(120, 120));
    CHECK_EQ(sliderKnobImageName(slider::kInactive, true, true), QString("bigInactiveKnob"));
    CHECK_EQ(sliderBaseImageName(false, true, false), QString("smallRingSlider"));

    // 80 x 80, offset (1, 0): knob square from round(54.5) = 55, 24 wide.
    KPCircularSlider* s = make(80, slider::kBlue);
    s->setOffsets(1.0f, 0.0f);
    QImage image = grabAtOne(*s);
    CHECK(isBlue(image.pixelColor(67, 40)));
    CHECK_EQ(alphaAt(image, 67, 40), 255);
    CHECK(isNearlyGrey(image.pixelColor(40, 40))); // the base's floor
    CHECK_EQ(alphaAt(image, 40, 40), 255);
    CHECK_EQ(alphaAt(image, 3, 3), 0);
    // On a double-density device the double-resolution knob is drawn pixel
    // for pixel: square from (110, 56) in device pixels.
    QImage dense(160, 160, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2.0);
    dense.fill(Qt::transparent);
    s->render(&dense, QPoint(), QRegion(), QWidget::DrawChildren);
    dense = dense.convertToFormat(QImage::Format_ARGB32);
    const QImage knob2x = sliderKnobImage(slider::kBlue, false, true, 2.0);
    CHECK(knob2x.size() == QSize(48, 48));
    for (const QPoint p : {QPoint(24, 24), QPoint(24, 10), QPoint(16, 30)})
        GELCOAT_COMPARE_PIXEL(dense, 110 + p.x(), 56 + p.y(),
                              knob2x.convertToFormat(QImage::Format_ARGB32).pixelColor(p));

    s->setOffsets(0.0f, 1.0f); // up: square from Qt y 1, centre row 13
    image = grabAtOne(*s);
    CHECK(isBlue(image.pixelColor(40, 13)));
    CHECK(!isBlue(image.pixelColor(67, 40)));

    // 60 x 60, offset (-1, 0): square from round(30 - 16.5 - 10) = 4, 20 wide.
    KPCircularSlider* small = make(60, slider::kGraphite);
    small->setOffsets(-1.0f, 0.0f);
    CHECK_EQ(small->ballRadius(), 6);
    image = grabAtOne(*small);
    const QColor knob = image.pixelColor(14, 30);
    CHECK(isNearlyGrey(knob) && knob.blue() >= knob.red());
    CHECK_EQ(alphaAt(image, 14, 30), 255);
}

void CircularSliderDrawingTest::knobFollowsTheWindowAndEnabledState()
{
    KPCircularSlider* s = make(80, slider::kBlue);
    s->setOffsets(0.0f, 0.0f);
    QVERIFY(isBlue(grabAtOne(*s).pixelColor(40, 40)));
    const QColor inactive = sliderKnobImage(slider::kInactive, false, true).pixelColor(12, 12);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QImage image = grabAtOne(*s);
    CHECK(isNearlyGrey(image.pixelColor(40, 40)));
    GELCOAT_COMPARE_PIXEL(image, 40, 40, inactive);

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    CHECK(isBlue(grabAtOne(*s).pixelColor(40, 40)));
}

void CircularSliderDrawingTest::automaticTintFollowsThePalette()
{
    KPCircularSlider* automatic = make(80, slider::kAutomatic);
    KPCircularSlider* blue = make(80, slider::kBlue);
    automatic->setOffsets(0.0f, 0.0f);
    blue->setOffsets(0.0f, 0.0f);
    QPalette palette = automatic->palette();
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    automatic->setPalette(palette);
    blue->setPalette(palette);
    CHECK(isBlue(grabAtOne(*automatic).pixelColor(40, 40)));

    palette.setColor(QPalette::Highlight, QColor(150, 156, 170)); // nearly grey
    automatic->setPalette(palette);
    blue->setPalette(palette);
    const QColor graphite = sliderKnobImage(slider::kGraphite, false, true).pixelColor(12, 12);
    GELCOAT_COMPARE_PIXEL(grabAtOne(*automatic), 40, 40, graphite);
    CHECK(isBlue(grabAtOne(*blue).pixelColor(40, 40)));
    CHECK(highlightIsGraphite(QColor(120, 120, 160)));
    CHECK(!highlightIsGraphite(QColor(120, 120, 161)));
}

void CircularSliderDrawingTest::disabledDrawsAtSixTenths()
{
    KPCircularSlider* s = make(60, slider::kBlue);
    s->setOffsets(1.0f, 0.0f);
    const QImage before = grabAtOne(*s);
    s->setEnabled(false);
    const QImage after = grabAtOne(*s);
    // Base and knob each at 0.6 of their alpha: where both are opaque the
    // knob over the base leaves 1 - 0.4 x 0.4.
    for (const QPoint p : {QPoint(30, 30), QPoint(20, 40)})
        CHECK_NEAR(alphaAt(after, p.x(), p.y()), 0.6 * alphaAt(before, p.x(), p.y()), 1.0);
    CHECK_EQ(alphaAt(before, 47, 30), 255);
    CHECK_NEAR(alphaAt(after, 47, 30), 0.84 * 255, 1.5); // two 8-bit blends
    CHECK(isBlue(before.pixelColor(47, 30)));
    CHECK(isNearlyGrey(after.pixelColor(47, 30))); // the inactive knob

    KPCircularSlider* v = make(101, slider::kVector);
    v->setOffsets(0.0f, -1.0f);
    v->setEnabled(false);
    const QImage vector = grabAtOne(*v);
    GELCOAT_COMPARE_PIXEL(vector, 50, 50, grey(204));
    CHECK_NEAR(alphaAt(vector, 50, 50), 153, 1);
}

void CircularSliderDrawingTest::ticksAppearWithShiftOnlyWhileHeld()
{
    // 81 x 81: the mark pointing right runs along row 40 from x 75.5 to
    // 80.5, so pixel (78, 40) is covered by it alone.
    KPCircularSlider* s = make(81, slider::kVector);
    s->setOffsets(0.0f, -1.0f);
    CHECK_EQ(alphaAt(grabAtOne(*s), 78, 40), 0);
    s->setDrawTicksBehavior(slider::kAlways);
    QImage image = grabAtOne(*s);
    GELCOAT_COMPARE_PIXEL(image, 78, 40, grey(0));
    CHECK_NEAR(alphaAt(image, 78, 40), 133, 1);
    s->setEnabled(false);
    CHECK_NEAR(alphaAt(grabAtOne(*s), 78, 40), 64, 1);
    s->setEnabled(true);

    s->setDrawTicksBehavior(slider::kWhileShift);
    s->setNumberOfSnapMarks(4);
    CHECK_EQ(alphaAt(grabAtOne(*s), 78, 40), 0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(40.5, 20), s->mapToGlobal(QPointF(40.5, 20)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s, &press);
    QVERIFY(s->isBallHighlighted());
    CHECK_EQ(alphaAt(grabAtOne(*s), 78, 40), 0);
    QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(s, &shiftDown);
    CHECK_NEAR(alphaAt(grabAtOne(*s), 78, 40), 133, 1);
    QKeyEvent shiftUp(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(s, &shiftUp);
    CHECK_EQ(alphaAt(grabAtOne(*s), 78, 40), 0);
    QCoreApplication::sendEvent(s, &shiftDown);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(40.5, 20),
                        s->mapToGlobal(QPointF(40.5, 20)), Qt::LeftButton, Qt::NoButton,
                        Qt::ShiftModifier);
    QCoreApplication::sendEvent(s, &release);
    CHECK_EQ(alphaAt(grabAtOne(*s), 78, 40), 0); // not held any more
}

QTEST_MAIN(CircularSliderDrawingTest)
#include "tst_CircularSliderDrawing.moc"
