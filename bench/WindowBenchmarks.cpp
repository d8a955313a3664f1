// A drag through the real document window: each step is the control's
// handler, the render, the picture's conversion for the result well and the
// well's repaint. A step must fit in a 60 Hz frame (16 ms) for the hue
// slider and in 20 ms for the shadow circle, on a 1024 × 1024 stencil.

#include "bench/BenchStencil.h"

#include "window/TintDocumentWindow.h"
#include "views/controls/FloatSlider.h"
#include "document/model/TintDocument.h"
#include "views/slider/KPCircularSlider.h"
#include "ui_TintDocument.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <vector>

namespace {

using namespace gelcoat;

constexpr int kDragSteps = 60;

// A shown window on the benchmark stencil, as after a picture was dropped.
struct BenchWindow {
    TintDocumentWindow window;
    bool ready = false;

    BenchWindow()
    {
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        SourcePicture picture;
        picture.pixels = bench::makeBenchStencil(1024);
        ready = window.document().useImage(std::move(picture), QString(), true, true);
        window.show();
        QApplication::processEvents();
    }
};

double milliseconds(std::chrono::steady_clock::duration d)
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

// Runs the 60-step drag once per iteration, `step(i)` moving the control;
// reports the median step, and the median repaint of the well within it,
// in milliseconds.
void runDrag(benchmark::State& state, BenchWindow& bench, const std::function<void(int)>& step)
{
    if (!bench.ready) {
        state.SkipWithError("the benchmark stencil was refused");
        return;
    }
    QWidget* well = bench.window.form().destImageWell;
    std::vector<double> steps;
    std::vector<double> paints;
    int pass = 0;
    for (auto _ : state) {
        for (int i = 0; i < kDragSteps; ++i) {
            const auto start = std::chrono::steady_clock::now();
            // Forth and back, so that every step is a change.
            step(pass % 2 == 0 ? i : kDragSteps - 1 - i);
            const auto rendered = std::chrono::steady_clock::now();
            well->repaint();
            const auto end = std::chrono::steady_clock::now();
            steps.push_back(milliseconds(end - start));
            paints.push_back(milliseconds(end - rendered));
        }
        ++pass;
    }
    state.counters["median_step_ms"] = median(steps);
    state.counters["median_paint_ms"] = median(paints);
}

} // namespace

static void BM_WindowSliderDrag(benchmark::State& state)
{
    BenchWindow bench;
    FloatSlider* slider = bench.window.form().hueSlider;
    runDrag(state, bench, [slider](int i) {
        const float hue = 20.0f + float(i) * 0.5f;
        slider->setFloatValue(hue);
        emit slider->floatValueEdited(hue);
    });
}
BENCHMARK(BM_WindowSliderDrag)->Unit(benchmark::kMillisecond)->Iterations(2);

static void BM_WindowShadowDrag(benchmark::State& state)
{
    BenchWindow bench;
    KPCircularSlider* circle = bench.window.form().shadowCircle;
    runDrag(state, bench, [circle](int i) {
        // Round the circle at half its reach, a pixel or more each step.
        const double angle = double(i) * 6.0 * 3.141592653589793 / 180.0;
        circle->setOffsets(float(10.0 * std::sin(angle)), float(10.0 * std::cos(angle)));
        emit circle->activated();
    });
}
BENCHMARK(BM_WindowShadowDrag)->Unit(benchmark::kMillisecond)->Iterations(2);
