#pragma once
// The seconds that the progress panel, the version checker's time limits and
// the delegate's activation fallback count.  Monotonic; tests may put a
// source of their own in its place, and then move its timers by hand.

#include <functional>

class QObject;

class KPClock {
public:
    // Seconds since an arbitrary fixed start.
    static double now();
    // Runs action once, in context's thread, after `seconds` on this clock;
    // never if context is destroyed first.  On the real clock this is a Qt
    // single-shot timer; under a test source it waits for runDueTimers().
    static void singleShot(double seconds, QObject* context, std::function<void()> action);

    // A null function restores the real clock and drops the timers waiting
    // on the test source.
    static void setSourceForTesting(std::function<double()> source);
    // Runs, in order of their deadlines, the timers whose time has come on
    // the test source.
    static void runDueTimers();
};
