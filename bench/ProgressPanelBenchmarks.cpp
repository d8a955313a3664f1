// A working loop may call the progress panel once per item: a call inside
// the 0.05 s throttle must cost next to nothing (target: under 100 ns).

#include "shared/KPProgressPanel.h"

#include <benchmark/benchmark.h>

static void BM_ProgressGiveTimeThrottled(benchmark::State& state)
{
    KPProgressPanel panel(nullptr, "Working", "", false);
    panel.setThresholdTime(1e9);  // never shows a window here
    panel.startNewTask();
    panel.giveTime();
    for (auto _ : state)
        benchmark::DoNotOptimize(panel.giveTime());
}
BENCHMARK(BM_ProgressGiveTimeThrottled);

static void BM_ProgressGiveTimeAndSetProgressThrottled(benchmark::State& state)
{
    KPProgressPanel panel(nullptr, "Working", "", true);
    panel.setThresholdTime(1e9);
    panel.startNewTaskAndSetMaxValue(1e9);
    double item = 0;
    panel.giveTimeAndSetProgress(item);
    for (auto _ : state)
        benchmark::DoNotOptimize(panel.giveTimeAndSetProgress(++item));
}
BENCHMARK(BM_ProgressGiveTimeAndSetProgressThrottled);
