#pragma once
// Splits a range of independent rows (or columns) across the machine's
// cores. Each index is computed by exactly one call of the body, so a stage
// whose rows do not depend on each other gives the same bytes however the
// range is split.

#include <functional>

namespace gelcoat {

// Calls body(begin, end) over consecutive slices of [0, count). Work below
// minPerThread indices per thread runs inline on the calling thread.
void parallelFor(int count, const std::function<void(int begin, int end)>& body,
                 int minPerThread = 64);

// Number of threads parallelFor may use (1 disables splitting).
int parallelThreadCount();
void setParallelThreadCount(int threads);

} // namespace gelcoat
