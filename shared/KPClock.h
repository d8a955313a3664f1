#pragma once
// The seconds that the progress panel and the version checker's time limits
// count.  Monotonic; tests may put a source of their own in its place.

#include <functional>

class KPClock {
public:
    // Seconds since an arbitrary fixed start.
    static double now();
    // A null function restores the real clock.
    static void setSourceForTesting(std::function<double()> source);
};
