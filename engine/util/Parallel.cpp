#include "engine/util/Parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace gelcoat {

namespace {

int defaultThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return int(std::clamp(n, 1u, 16u));
}

std::atomic<int> threadCount{defaultThreads()};

} // namespace

int parallelThreadCount()
{
    return threadCount.load();
}

void setParallelThreadCount(int threads)
{
    threadCount.store(threads < 1 ? defaultThreads() : std::min(threads, 64));
}

void parallelFor(int count, const std::function<void(int, int)>& body, int minPerThread)
{
    if (count <= 0)
        return;
    const int threads =
        std::max(1, std::min(parallelThreadCount(), count / std::max(1, minPerThread)));
    if (threads == 1) {
        body(0, count);
        return;
    }
    std::vector<std::thread> workers;
    workers.reserve(std::size_t(threads - 1));
    const int chunk = (count + threads - 1) / threads;
    for (int t = 1; t < threads; ++t) {
        const int begin = t * chunk;
        const int end = std::min(count, begin + chunk);
        if (begin >= end)
            break;
        try {
            workers.emplace_back([&body, begin, end] { body(begin, end); });
        } catch (...) {
            body(begin, end); // no thread to be had: do the slice here
        }
    }
    body(0, std::min(count, chunk));
    for (std::thread& w : workers)
        w.join();
}

} // namespace gelcoat
