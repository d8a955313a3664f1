#pragma once
// A clock the test moves by hand, installed as KPClock's source for the
// life of the object.  Moving it runs the KPClock timers that fall due:
//
//     FakeClock clock;
//     clock.advance(1.5);        // seconds
//
// FakeClock(20) instead runs twenty times faster than real time, and its
// timers run from the event loop as they fall due.

#include "shared/KPClock.h"

#include <QElapsedTimer>
#include <QTimer>

class FakeClock {
public:
    FakeClock() : FakeClock(0.0) {}
    explicit FakeClock(double speed) : speed_(speed)
    {
        timer_.start();
        KPClock::setSourceForTesting([this] { return now(); });
        if (speed_ > 0) {
            QObject::connect(&due_, &QTimer::timeout, [] { KPClock::runDueTimers(); });
            due_.start(5);
        }
    }
    ~FakeClock() { KPClock::setSourceForTesting({}); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void advance(double seconds)
    {
        offset_ += seconds;
        KPClock::runDueTimers();
    }
    double now() const
    {
        return offset_ + (speed_ > 0 ? speed_ * double(timer_.nsecsElapsed()) / 1e9 : 0.0);
    }

private:
    double offset_ = 1000.0;
    double speed_ = 0.0;
    QElapsedTimer timer_;
    QTimer due_;
};
