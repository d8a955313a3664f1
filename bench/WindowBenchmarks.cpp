// Drags through the real document window, offscreen, at 60 steps a second
// as a pointer moves: a step falls due every 1/60 s; a step that falls due
// while the interface thread is busy is taken late, and steps whose time
// passed meanwhile are skipped, as the window system merges pointer motion.
// The last step is always taken. Counters:
//   max_stall_ms     the longest time the interface thread was busy in one
//                    go, from the first step until the exact result shows
//   median_frame_ms  the median interval between new pictures painted in
//                    the result well over that time
//   settle_ms        from the start of the last step until the exact
//                    result is painted
//   max_stall_cpu_ms the most processor time the interface thread spent
//                    in one stretch: on a loaded machine a wall-clock
//                    stretch also holds the time other processes ran
// The argument is the stencil's side in pixels.

#include "bench/BenchStencil.h"
#include "bench/WindowBenchProbe.h"

#include "window/TintDocumentWindow.h"
#include "views/controls/FloatSlider.h"
#include "document/model/TintDocument.h"
#include "views/slider/KPCircularSlider.h"
#include "ui_TintDocument.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

#include <time.h>

namespace {

using namespace gelcoat;
using Clock = std::chrono::steady_clock;

constexpr int kDragSteps = 60;
constexpr auto kStepInterval = std::chrono::microseconds(16'667);

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Notes when the result well paints a picture it had not painted before.
class PaintRecorder : public QObject {
public:
    struct Paint {
        Clock::time_point at;
        qint64 picture;
    };
    explicit PaintRecorder(TintDocumentWindow& window) : window_(window)
    {
        window.form().destImageWell->installEventFilter(this);
    }
    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const qint64 key = bench::shownPictureKey(window_);
            if (paints.empty() || paints.back().picture != key)
                paints.push_back({Clock::now(), key});
        }
        return false;
    }

private:
    TintDocumentWindow& window_;
};

// A shown window on the benchmark stencil, as after a picture was dropped,
// with its first result shown.
struct BenchWindow {
    TintDocumentWindow window;
    bool ready = false;

    explicit BenchWindow(int side)
    {
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.resize(1000, 760);
        SourcePicture picture;
        picture.pixels = bench::makeBenchStencil(side);
        ready = window.document().useImage(std::move(picture), QString(), true, true);
        window.show();
        const auto give_up = Clock::now() + std::chrono::seconds(60);
        while (ready && !bench::exactResultShown(window) && Clock::now() < give_up) {
            QApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QApplication::processEvents();
    }
};

double threadCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The interface thread's event handling, one call at a time; a step and
// the events handled right after it count as one busy stretch.
double handleEvents()
{
    const auto start = Clock::now();
    QApplication::processEvents();
    return milliseconds(Clock::now() - start);
}

void runDrag(benchmark::State& state, BenchWindow& bench, const std::function<void(int)>& step)
{
    if (!bench.ready) {
        state.SkipWithError("the benchmark stencil was refused");
        return;
    }
    std::vector<double> stalls;
    double maxStallCpu = 0.0;
    std::vector<double> frames;
    std::vector<double> settles;
    int pass = 0;
    for (auto _ : state) {
        PaintRecorder recorder(bench.window);
        const auto start = Clock::now();
        Clock::time_point lastStep;
        int taken = -1;
        while (taken < kDragSteps - 1) {
            const auto now = Clock::now();
            const int due = std::min(kDragSteps - 1, int((now - start) / kStepInterval));
            if (due > taken) {
                taken = due;
                const auto stepStart = Clock::now();
                const double cpuStart = threadCpuMilliseconds();
                // Forth and back, so that every step is a change.
                step(pass % 2 == 0 ? taken : kDragSteps - 1 - taken);
                lastStep = stepStart;
                stalls.push_back(milliseconds(Clock::now() - stepStart) + handleEvents());
                maxStallCpu = std::max(maxStallCpu, threadCpuMilliseconds() - cpuStart);
            } else {
                const double cpuStart = threadCpuMilliseconds();
                stalls.push_back(handleEvents());
                maxStallCpu = std::max(maxStallCpu, threadCpuMilliseconds() - cpuStart);
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        // Until the exact result for the last step is painted.
        const auto give_up = Clock::now() + std::chrono::seconds(30);
        qint64 exact = 0;
        bool painted = false;
        while (!painted && Clock::now() < give_up) {
            const double cpuStart = threadCpuMilliseconds();
            stalls.push_back(handleEvents());
            maxStallCpu = std::max(maxStallCpu, threadCpuMilliseconds() - cpuStart);
            if (exact == 0 && bench::exactResultShown(bench.window))
                exact = bench::shownPictureKey(bench.window);
            for (const auto& paint : recorder.paints)
                if (exact != 0 && paint.picture == exact && paint.at >= lastStep) {
                    settles.push_back(milliseconds(paint.at - lastStep));
                    painted = true;
                }
            if (!painted)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        for (std::size_t i = 1; i < recorder.paints.size(); ++i)
            if (recorder.paints[i - 1].at >= start)
                frames.push_back(milliseconds(recorder.paints[i].at - recorder.paints[i - 1].at));
        ++pass;
    }
    state.counters["max_stall_ms"] = stalls.empty() ? 0.0 : *std::max_element(stalls.begin(),
                                                                               stalls.end());
    state.counters["max_stall_cpu_ms"] = maxStallCpu;
    state.counters["median_frame_ms"] = median(frames);
    state.counters["settle_ms"] = median(settles);
}

} // namespace

static void BM_WindowSliderDrag(benchmark::State& state)
{
    BenchWindow bench(int(state.range(0)));
    FloatSlider* slider = bench.window.form().hueSlider;
    runDrag(state, bench, [slider](int i) {
        const float hue = 20.0f + float(i) * 0.5f;
        slider->setFloatValue(hue);
        emit slider->floatValueEdited(hue);
    });
}
BENCHMARK(BM_WindowSliderDrag)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_WindowShadowDrag(benchmark::State& state)
{
    BenchWindow bench(int(state.range(0)));
    KPCircularSlider* circle = bench.window.form().shadowCircle;
    runDrag(state, bench, [circle](int i) {
        // Round the circle at half its reach, a pixel or more each step.
        const double angle = double(i) * 6.0 * 3.141592653589793 / 180.0;
        circle->setOffsets(float(10.0 * std::sin(angle)), float(10.0 * std::cos(angle)));
        emit circle->activated();
    });
}
BENCHMARK(BM_WindowShadowDrag)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Iterations(2);
