#include "engine/util/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
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

thread_local const std::atomic<bool>* currentCancellation = nullptr;
thread_local bool skippedWork = false;

// Threads kept waiting between calls: a render makes a dozen parallel
// passes, and a new thread for each slice of each pass costs its start-up
// and fresh stack pages every time. One call uses the pool at a time; a
// call made meanwhile (another thread's, or one nested in a body) starts
// threads of its own.
class WorkerPool {
public:
    ~WorkerPool()
    {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            ++generation_;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }

    // False when the pool is in use or its threads cannot be had.
    bool tryRun(int threads, int count, int chunk, const std::function<void(int, int)>& body)
    {
        bool expected = false;
        if (!busy_.compare_exchange_strong(expected, true))
            return false;
        const bool ran = grow(threads - 1) && run(threads, count, chunk, body);
        busy_.store(false);
        return ran;
    }

private:
    bool grow(int wanted)
    {
        try {
            while (int(workers_.size()) < wanted) {
                const int index = int(workers_.size()) + 1;
                std::uint64_t seen = 0;
                {
                    const std::lock_guard lock(mutex_);
                    seen = generation_;
                }
                workers_.emplace_back([this, index, seen] { serve(index, seen); });
            }
        } catch (...) {
            return false;
        }
        return true;
    }

    bool run(int threads, int count, int chunk, const std::function<void(int, int)>& body)
    {
        {
            const std::lock_guard lock(mutex_);
            body_ = &body;
            threads_ = threads;
            count_ = count;
            chunk_ = chunk;
            pending_ = threads - 1;
            ++generation_;
        }
        wake_.notify_all();
        body(0, std::min(count, chunk));
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return pending_ == 0; });
        body_ = nullptr;
        return true;
    }

    void serve(int index, std::uint64_t seen)
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return generation_ != seen; });
            seen = generation_;
            if (stopping_)
                return;
            if (index >= threads_)
                continue;
            const std::function<void(int, int)>* body = body_;
            const int begin = index * chunk_, end = std::min(count_, begin + chunk_);
            lock.unlock();
            if (begin < end)
                (*body)(begin, end);
            lock.lock();
            if (--pending_ == 0)
                done_.notify_one();
        }
    }

    std::atomic<bool> busy_{false};
    std::vector<std::thread> workers_;   // worker i takes slice i; the caller slice 0
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::uint64_t generation_ = 0;       // one more for every call and for stopping
    bool stopping_ = false;
    const std::function<void(int, int)>* body_ = nullptr;
    int threads_ = 0, count_ = 0, chunk_ = 0, pending_ = 0;
};

WorkerPool& workerPool()
{
    static WorkerPool pool;
    return pool;
}

} // namespace

CancellationScope::CancellationScope(const std::atomic<bool>& flag)
    : previous_(currentCancellation), previousSkipped_(skippedWork)
{
    currentCancellation = &flag;
    skippedWork = false;
}

CancellationScope::~CancellationScope()
{
    currentCancellation = previous_;
    skippedWork = previousSkipped_;
}

bool cancellationRequested()
{
    return currentCancellation && currentCancellation->load(std::memory_order_relaxed);
}

bool takeSkippedWork()
{
    const bool skipped = skippedWork;
    skippedWork = false;
    return skipped;
}

int parallelThreadCount()
{
    return threadCount.load();
}

void setParallelThreadCount(int threads)
{
    threadCount.store(threads < 1 ? defaultThreads() : std::min(threads, 64));
}

namespace {
void splitAcrossThreads(int count, const std::function<void(int, int)>& body, int minPerThread);
} // namespace

void parallelFor(int count, const std::function<void(int, int)>& body, int minPerThread)
{
    if (count <= 0)
        return;
    const std::atomic<bool>* cancel = currentCancellation;
    if (!cancel) {
        splitAcrossThreads(count, body, minPerThread);
        return;
    }
    // Bands of at most minPerThread indices, none started once the render
    // is superseded.
    const int band = std::max(1, minPerThread);
    std::atomic<bool> skipped{false};
    splitAcrossThreads(
        count,
        [&](int begin, int end) {
            for (int b = begin; b < end; b += band) {
                if (cancel->load(std::memory_order_relaxed)) {
                    skipped.store(true, std::memory_order_relaxed);
                    return;
                }
                body(b, std::min(end, b + band));
            }
        },
        minPerThread);
    if (skipped.load())
        skippedWork = true;
}

namespace {
void splitAcrossThreads(int count, const std::function<void(int, int)>& body, int minPerThread)
{
    const int threads =
        std::max(1, std::min(parallelThreadCount(), count / std::max(1, minPerThread)));
    if (threads == 1) {
        body(0, count);
        return;
    }
    const int chunk = (count + threads - 1) / threads;
    if (workerPool().tryRun(threads, count, chunk, body))
        return;
    std::vector<std::thread> workers;
    workers.reserve(std::size_t(threads - 1));
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

} // namespace

} // namespace gelcoat
