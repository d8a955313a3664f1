#pragma once
// Splits a range of independent rows (or columns) across the machine's
// cores. Each index is computed by exactly one call of the body, so a stage
// whose rows do not depend on each other gives the same bytes however the
// range is split.

#include <atomic>
#include <functional>

namespace gelcoat {

// A render that may be superseded installs its flag on its own thread for
// as long as it runs. parallelFor then hands the body bands of at most
// minPerThread indices and, once the flag is set, starts no further band;
// the bands that run give the same bytes as an unsplit call would.
class CancellationScope {
public:
    explicit CancellationScope(const std::atomic<bool>& flag);
    ~CancellationScope();
    CancellationScope(const CancellationScope&) = delete;
    CancellationScope& operator=(const CancellationScope&) = delete;

private:
    const std::atomic<bool>* previous_;
    bool previousSkipped_;
};

// Whether the calling thread's render has been asked to stop.
bool cancellationRequested();

// Whether a parallelFor on this thread left bands undone since the last
// call, which clears it: the stage that made those calls is incomplete.
bool takeSkippedWork();

// Calls body(begin, end) over consecutive slices of [0, count). Work below
// minPerThread indices per thread runs inline on the calling thread.
void parallelFor(int count, const std::function<void(int begin, int end)>& body,
                 int minPerThread = 64);

// Number of threads parallelFor may use (1 disables splitting).
int parallelThreadCount();
void setParallelThreadCount(int threads);

} // namespace gelcoat
