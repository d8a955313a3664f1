// Mouse tracking of the circular slider as a state machine: hits, the
// region, grab offsets, fine mode, snapping under Shift and when the
// action is sent. Points are y-up view points of an 80x80 slider, whose
// centre is (40, 40) and whose travel radius is 26.5.

#include "views/slider/CircularSliderTracker.h"

#include "tests/qtsupport/TestSettings.h"
#include "tests/views/CircularSliderChecks.h"

#include <QTest>

#include <cmath>
#include <optional>

using namespace gelcoat;

class CircularSliderTrackingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTemporarySettings(); }
    void init()
    {
        model = CircularSliderModel();
        tracker.emplace(model);
        tracker->setBounds(80, 80);
        model.setBallRadius(8);
        model.setShiftQuery([this] { return tracker->modifiers().shift; });
    }
    void aClickAboveTheCentreGivesZeroDegrees();
    void actionIsSentOnceAtTheReleaseAndWhileDraggingOnlyWhenContinuous();
    void clicksOutsideTheBallAndTheRegionDoNothing();
    void theBallTakenOffCentreKeepsItsOffsetFromTheMouse();
    void optionMovesTheBallATenthOfTheMouse();
    void optionBeforeAnyDragLeavesTheBallWhereItIs();
    void shiftSnapsAtOnceWhenPressedOrReleasedWithoutAMove();
    void cancellingEndsLikeARelease();

private:
    SliderPoint ball() const
    {
        const auto c = CircularSliderGeometry::forBounds(80, 80).ballCentre(model);
        return {std::round(c.x), std::round(c.y)};
    }
    float x() const
    {
        float v = 0.0f;
        model.getOffsets(&v, nullptr);
        return v;
    }
    float y() const
    {
        float v = 0.0f;
        model.getOffsets(nullptr, &v);
        return v;
    }

    CircularSliderModel model;
    std::optional<CircularSliderTracker> tracker;
    SliderModifiers none;
    SliderModifiers shift{true, false};
    SliderModifiers option{false, true};
};

void CircularSliderTrackingTest::aClickAboveTheCentreGivesZeroDegrees()
{
    model.setAngleUnits(slider::kCompassDegrees);
    model.setOffsets(0.0f, -1.0f); // ball at the bottom, far from the click
    const SliderStep step = tracker->press({40, 60}, none);
    CHECK(tracker->isTracking());
    CHECK(step.sendAction); // continuous: the click moved the ball
    float a = -1.0f;
    float d = 0.0f;
    model.getAngleAndDistance(&a, &d);
    CHECK_EQ(a, 0.0f);
    CHECK_NEAR(d, 20.0 / 26.5, 1e-6);
}

void CircularSliderTrackingTest::actionIsSentOnceAtTheReleaseAndWhileDraggingOnlyWhenContinuous()
{
    model.setOffsets(0.0f, 0.0f);
    int sent = 0;
    auto count = [&](SliderStep s) { sent += s.sendAction; };
    model.setContinuous(false);
    count(tracker->press({50, 40}, none));
    count(tracker->drag({55, 40}, none));
    count(tracker->modifiersChanged(shift));
    CHECK_EQ(sent, 0);
    count(tracker->release({56, 40}, shift));
    CHECK_EQ(sent, 1);
    CHECK(!tracker->isTracking());
    CHECK_NEAR(x(), 16.0 / 26.5, 1e-6);

    sent = 0;
    model.setContinuous(true);
    model.setOffsets(0.0f, 0.0f);
    count(tracker->press({50, 40}, none));
    count(tracker->drag({52, 40}, none));
    count(tracker->drag({53, 40}, none));
    CHECK_EQ(sent, 3);
    count(tracker->release({53, 40}, none));
    CHECK_EQ(sent, 4);
    // Events after the end change nothing.
    count(tracker->drag({70, 40}, none));
    count(tracker->release({70, 40}, none));
    CHECK_EQ(sent, 4);
}

void CircularSliderTrackingTest::clicksOutsideTheBallAndTheRegionDoNothing()
{
    model.setOffsets(0.0f, 0.0f);
    const CircularSliderState before = model.state();
    CHECK(!tracker->press({2, 2}, none).sendAction); // a corner
    CHECK(!tracker->isTracking());
    CHECK_EQ(model.state(), before);

    model.setAllowsNonEdge(false); // centre allowed, the band between is not
    model.setOffsets(1.0f, 0.0f);
    const CircularSliderState edge = model.state();
    CHECK(!tracker->press({40, 55}, none).sendAction); // r = 15 < half - 6
    CHECK(!tracker->isTracking());
    CHECK_EQ(model.state(), edge);
    tracker->press({41, 41}, none); // r < 4: the centre is allowed
    CHECK(tracker->isTracking());
    CHECK_EQ(model.state().distance, 0.0f);
    tracker->release({41, 41}, none);

    model.setEnabled(false);
    tracker->press({41, 60}, none);
    CHECK(!tracker->isTracking());
}

void CircularSliderTrackingTest::theBallTakenOffCentreKeepsItsOffsetFromTheMouse()
{
    model.setOffsets(0.5f, 0.0f); // ball at (53.25, 40) -> (53, 40)
    const SliderPoint before = ball();
    const SliderStep step = tracker->press({before.x + 5, before.y + 3}, none);
    CHECK(!step.sendAction); // taking the ball does not move it
    CHECK(tracker->isTracking());
    CHECK_FLOAT(x(), 0.5f);
    tracker->drag({before.x + 5, before.y + 13}, none);
    CHECK_EQ(ball().x, before.x);
    CHECK_EQ(ball().y, before.y + 10);
}

void CircularSliderTrackingTest::optionMovesTheBallATenthOfTheMouse()
{
    model.setOffsets(0.0f, 0.0f);
    tracker->press({50, 40}, none); // off the ball: it jumps to x = 10 points
    tracker->drag({55, 40}, option); // anchored at 55
    CHECK_NEAR(x(), 15.0 / 26.5, 1e-6);
    tracker->drag({65, 40}, option);
    CHECK_NEAR(x(), 16.0 / 26.5, 1e-6);
    // Releasing Option lets the ball jump back under the mouse at once.
    const SliderStep step = tracker->modifiersChanged(none);
    CHECK(step.redisplay);
    CHECK_NEAR(x(), 25.0 / 26.5, 1e-6);
    // Pressed again, the anchor is where the mouse is now.
    tracker->modifiersChanged(option);
    tracker->drag({55, 40}, option);
    CHECK_NEAR(x(), 24.0 / 26.5, 1e-6);
}

void CircularSliderTrackingTest::optionBeforeAnyDragLeavesTheBallWhereItIs()
{
    model.setOffsets(0.31f, -0.42f);
    const SliderPoint before = ball();
    tracker->press({before.x - 2, before.y + 4}, option);
    CHECK_EQ(ball(), before);
    tracker->modifiersChanged(none);
    CHECK_EQ(ball(), before);
    tracker->modifiersChanged(option);
    CHECK_EQ(ball(), before);
    tracker->release({before.x - 2, before.y + 4}, option);
    CHECK_EQ(ball(), before);
}

void CircularSliderTrackingTest::shiftSnapsAtOnceWhenPressedOrReleasedWithoutAMove()
{
    model.setSnapBehavior(slider::kWhileShift);
    model.setOffsets(0.0f, 0.0f);
    tracker->press({60, 48}, none); // about 22 degrees above the x axis
    const float free = model.state().angle;
    CHECK(free > 0.3f);
    tracker->modifiersChanged(shift);
    CHECK_EQ(model.state().angle, 0.0f);
    tracker->modifiersChanged(none);
    CHECK_EQ(model.state().angle, free);
}

void CircularSliderTrackingTest::cancellingEndsLikeARelease()
{
    model.setContinuous(false);
    model.setOffsets(0.0f, 0.0f);
    tracker->press({50, 40}, none);
    tracker->drag({55, 40}, none);
    const SliderStep step = tracker->cancel();
    CHECK(step.sendAction);
    CHECK(step.redisplay);
    CHECK(!tracker->isTracking());
    CHECK(!tracker->cancel().sendAction);
}

QTEST_MAIN(CircularSliderTrackingTest)
#include "tst_CircularSliderTracking.moc"
