// The circular slider's value model: constraints, snapping and the angle
// and offset conversions, without any window.

#include "views/slider/CircularSliderModel.h"

#include "tests/qtsupport/TestSettings.h"
#include "tests/views/CircularSliderChecks.h"

#include <QTest>

#include <cmath>

using namespace gelcoat;


constexpr float kPiF = float(slider::kPi);

class CircularSliderModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTemporarySettings(); }
    void offsetsAtTheCentreFollowTheCentreRule();
    void edgeOnlyDistancesGoToTheCentreOrTheEdge();
    void changingARuleReconstrainsTheStoredValue();
    void valuesThatAreNotNumbersAreRefused();
    void compassDegreesRoundTrip();
    void snappingFollowsTheMarks();
    void snappingNeedsMarksAndTheRightBehaviour();
    void offsetsSnapThroughTheConstraint();
};

void CircularSliderModelTest::offsetsAtTheCentreFollowTheCentreRule()
{
    CircularSliderModel m;
    CHECK(m.setOffsets(0.0f, 0.0f));
    CHECK_EQ(m.state().angle, 0.0f);
    CHECK_EQ(m.state().distance, 0.0f);

    CircularSliderModel noCentre;
    noCentre.setAllowsCenter(false);
    noCentre.setOffsets(0.0f, 0.0f);
    CHECK_EQ(noCentre.state().angle, 0.0f);
    CHECK_FLOAT(noCentre.state().distance, 0.01f);
}

void CircularSliderModelTest::edgeOnlyDistancesGoToTheCentreOrTheEdge()
{
    CircularSliderModel m;
    m.setMaxDistance(20.0f);
    m.setAllowsNonEdge(false); // centre still allowed
    m.setAngleAndDistance(1.0f, 0.49f * 20.0f);
    CHECK_EQ(m.state().angle, 0.0f);
    CHECK_EQ(m.state().distance, 0.0f);
    m.setAngleAndDistance(1.0f, 0.5f * 20.0f);
    CHECK_EQ(m.state().angle, 1.0f);
    CHECK_EQ(m.state().distance, 20.0f);
    m.setAngleAndDistance(1.0f, 55.0f);
    CHECK_EQ(m.state().distance, 20.0f);

    m.setAllowsCenter(false);
    for (float d : {0.0f, 0.01f, 3.0f, 9.99f, 10.0f, 19.9f, 20.0f, 1000.0f}) {
        m.setAngleAndDistance(0.5f, d);
        CHECK_EQ(m.state().distance, 20.0f);
    }
}

void CircularSliderModelTest::changingARuleReconstrainsTheStoredValue()
{
    CircularSliderModel m;
    m.setOffsets(0.2f, 0.0f);
    CHECK(m.setAllowsNonEdge(false)); // 0.2 < half: to the centre
    CHECK_EQ(m.state().distance, 0.0f);
    CHECK(m.setAllowsCenter(false)); // and now out to the edge
    CHECK_EQ(m.state().distance, 1.0f);
    CHECK(!m.setAllowsCenter(false));

    m.setAllowsNonEdge(true);
    m.setOffsets(0.0f, 0.8f);
    CHECK(m.setMaxDistance(0.5f));
    CHECK_EQ(m.state().distance, 0.5f);
}

void CircularSliderModelTest::valuesThatAreNotNumbersAreRefused()
{
    CircularSliderModel m;
    m.setOffsets(0.3f, 0.4f);
    const CircularSliderState before = m.state();
    CHECK(!m.setOffsets(NAN, 0.0f));
    CHECK(!m.setAngleAndDistance(0.0f, INFINITY));
    CHECK(!m.setMaxDistance(0.0f));
    CHECK(!m.setMaxDistance(-3.0f));
    CHECK(!m.setMaxDistance(NAN));
    CHECK_EQ(m.state(), before);
}

void CircularSliderModelTest::compassDegreesRoundTrip()
{
    CircularSliderModel m;
    m.setAngleUnits(slider::kCompassDegrees);
    float a = -1.0f;
    float d = -1.0f;

    m.setAngleAndDistance(0.0f, 1.0f); // up
    CHECK_FLOAT(m.state().angle, float(slider::kHalfPi));
    m.getAngleAndDistance(&a, &d);
    CHECK_EQ(a, 0.0f);
    CHECK_EQ(d, 1.0f);

    m.setAngleAndDistance(90.0f, 1.0f); // right
    CHECK_NEAR(m.state().angle, 0.0f, 1e-7);

    m.setAngleAndDistance(300.0f, 1.0f);
    CHECK_FLOAT(m.state().angle, 5.0f * kPiF / 6.0f);
    m.getAngleAndDistance(&a, nullptr);
    CHECK_NEAR(a, 300.0f, 1e-4);

    m.setAngleAndDistance(180.0f, 1.0f); // down
    float x = 0.0f;
    float y = 0.0f;
    m.getOffsets(&x, &y);
    CHECK_NEAR(x, 0.0f, 1e-6);
    CHECK_NEAR(y, -1.0f, 1e-6);
    m.getAngleAndDistance(&a, nullptr);
    CHECK_NEAR(a, 180.0f, 1e-4);

    // Offsets stay in caller units whatever the angle units.
    m.setOffsets(-0.5f, 0.0f); // left = 270 on the compass
    m.getAngleAndDistance(&a, &d);
    CHECK_NEAR(a, 270.0f, 1e-4);
    CHECK_FLOAT(d, 0.5f);

    // Switching units converts nothing stored.
    const float stored = m.state().angle;
    m.setAngleUnits(slider::kRadians);
    CHECK_EQ(m.state().angle, stored);
    m.getAngleAndDistance(&a, nullptr);
    CHECK_EQ(a, stored);
}

void CircularSliderModelTest::snappingFollowsTheMarks()
{
    CircularSliderModel m;
    m.setSnapBehavior(slider::kAlways);
    const float step = float(slider::kTwoPi / 8);

    float a = step * 0.5f; // exactly between two marks: the higher one
    CHECK(m.snap(a));
    CHECK_EQ(a, step);

    a = step * 0.49f;
    m.snap(a);
    CHECK_EQ(a, 0.0f);

    a = -0.1f; // brought into [0, 2pi) first, then snaps up to a full turn
    m.snap(a);
    CHECK_NEAR(a, 0.0f, 1e-6);

    a = -3.0f * step + 0.05f; // about -135 degrees
    m.snap(a);
    CHECK_NEAR(a, -3.0f * step, 1e-6);

    a = float(slider::kTwoPi) - 1e-4f; // just below a full turn: back to 0
    m.snap(a);
    CHECK_NEAR(a, 0.0f, 1e-6);

    a = kPiF - 0.1f; // the left mark, on either side of the cut
    m.snap(a);
    CHECK_NEAR(std::fabs(a), kPiF, 1e-6);

    float unchanged = step; // snapping in place still reports a snap
    CHECK(m.snap(unchanged));
}

void CircularSliderModelTest::snappingNeedsMarksAndTheRightBehaviour()
{
    bool shift = false;
    CircularSliderModel m;
    m.setShiftQuery([&] { return shift; });
    float a = 0.3f;
    CHECK(!m.snap(a));
    m.setSnapBehavior(slider::kWhileShift);
    CHECK(!m.snap(a));
    shift = true;
    CHECK(m.snap(a));
    CHECK_EQ(a, 0.0f);

    m.setSnapBehavior(7); // unknown codes never snap
    a = 0.3f;
    CHECK(!m.snap(a));
    m.setSnapBehavior(slider::kAlways);
    for (int marks : {0, -4}) {
        m.setSnapMarks(marks);
        a = 0.3f;
        CHECK(!m.snap(a));
        CHECK_EQ(a, 0.3f);
    }
}

void CircularSliderModelTest::offsetsSnapThroughTheConstraint()
{
    CircularSliderModel m;
    m.setSnapBehavior(slider::kAlways);
    m.setSnapMarks(4);
    m.setOffsets(0.45f, 0.5f); // about 48 degrees: up
    float x = 0.0f;
    float y = 0.0f;
    m.getOffsets(&x, &y);
    CHECK_NEAR(x, 0.0f, 1e-6);
    CHECK_NEAR(y, std::hypot(0.45f, 0.5f), 1e-6);
}


QTEST_MAIN(CircularSliderModelTest)
#include "tst_CircularSliderModel.moc"
