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


// Under a cancellation scope the body gets bands of at most minPerThread
// indices, still each index once; once the flag is set no band starts, and
// the thread learns that work was left undone.
TEST(ParallelFor, CancellableCallsRunInBandsAndStopBetweenThem)
{
    setParallelThreadCount(2);
    std::atomic<bool> cancel{false};
    const CancellationScope scope(cancel);
    std::vector<std::atomic<int>> visits(1000);
    std::atomic<int> widest{0};
    parallelFor(1000, [&](int begin, int end) {
        int seen = widest.load();
        while (end - begin > seen && !widest.compare_exchange_weak(seen, end - begin)) {
        }
        for (int i = begin; i < end; ++i)
            ++visits[std::size_t(i)];
    }, 50);
    EXPECT_LE(widest.load(), 50);
    for (const std::atomic<int>& v : visits)
        ASSERT_EQ(v.load(), 1);
    EXPECT_FALSE(takeSkippedWork());

    std::atomic<int> done{0};
    parallelFor(1000, [&](int begin, int end) {
        done += end - begin;
        cancel = true;
    }, 50);
    EXPECT_LT(done.load(), 1000);
    EXPECT_TRUE(cancellationRequested());
    EXPECT_TRUE(takeSkippedWork());
    EXPECT_FALSE(takeSkippedWork());
    setParallelThreadCount(0);
}

// Without a scope nothing is ever skipped, whatever another thread's flag.
TEST(ParallelFor, OnlyTheScopedThreadIsCancelled)
{
    std::atomic<bool> cancel{true};
    std::thread other([&] {
        const CancellationScope scope(cancel);
        EXPECT_TRUE(cancellationRequested());
    });
    other.join();
    EXPECT_FALSE(cancellationRequested());
    int done = 0;
    parallelFor(100, [&](int begin, int end) { done += end - begin; }, 200);
    EXPECT_EQ(done, 100);
    EXPECT_FALSE(takeSkippedWork());
}

} // namespace
} // namespace gelcoat
