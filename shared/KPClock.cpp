#include "shared/KPClock.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::function<double()>& testSource()
{
    static std::function<double()> source;
    return source;
}

struct TestTimer {
    double deadline;
    QPointer<QObject> context;
    std::function<void()> action;
};

std::vector<TestTimer>& testTimers()
{
    static std::vector<TestTimer> timers;
    return timers;
}

} // namespace

double KPClock::now()
{
    if (testSource())
        return testSource()();
    static QElapsedTimer timer = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return double(timer.nsecsElapsed()) / 1e9;
}

void KPClock::singleShot(double seconds, QObject* context, std::function<void()> action)
{
    if (!testSource()) {
        QTimer::singleShot(int(std::lround(seconds * 1000)), context, std::move(action));
        return;
    }
    testTimers().push_back({now() + seconds, context, std::move(action)});
}

void KPClock::setSourceForTesting(std::function<double()> source)
{
    testSource() = std::move(source);
    if (!testSource())
        testTimers().clear();
}

void KPClock::runDueTimers()
{
    // One at a time: an action may start further timers or change the clock.
    for (;;) {
        std::vector<TestTimer>& timers = testTimers();
        const double time = now();
        const auto due = std::min_element(timers.begin(), timers.end(),
                                          [](const TestTimer& a, const TestTimer& b) {
                                              return a.deadline < b.deadline;
                                          });
        if (due == timers.end() || due->deadline > time)
            return;
        TestTimer timer = std::move(*due);
        timers.erase(due);
        if (timer.context)
            timer.action();
    }
}
