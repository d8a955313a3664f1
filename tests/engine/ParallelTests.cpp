#include "engine/util/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace gelcoat {
namespace {

// Every index exactly once, whether the kept threads serve the call or it
// starts its own: calls from several threads at once, each nesting another.
TEST(ParallelFor, EveryIndexOnceUnderConcurrentAndNestedCalls)
{
    setParallelThreadCount(4);
    constexpr int outer = 48, inner = 128;
    std::vector<std::atomic<int>> visits(std::size_t(4 * outer * inner));
    auto work = [&](int caller) {
        for (int round = 0; round < 5; ++round)
            parallelFor(outer, [&](int begin, int end) {
                for (int i = begin; i < end; ++i)
                    parallelFor(inner, [&](int b, int e) {
                        for (int j = b; j < e; ++j)
                            ++visits[std::size_t((caller * outer + i) * inner + j)];
                    }, 8);
            }, 4);
    };
    std::vector<std::thread> callers;
    for (int caller = 1; caller < 4; ++caller)
        callers.emplace_back(work, caller);
    work(0);
    for (std::thread& t : callers)
        t.join();
    setParallelThreadCount(0);
    for (const std::atomic<int>& v : visits)
        ASSERT_EQ(v.load(), 5);
}

} // namespace
} // namespace gelcoat
