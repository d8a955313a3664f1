// Interactive changes on a 1024 × 1024 stencil: each benchmark times one
// remake of the pipeline after the change it names.

#include "bench/BenchStencil.h"

#include "document/pipeline/RenderPipeline.h"
#include "document/resources/BundleImages.h"

#include <benchmark/benchmark.h>

#include <map>

using namespace gelcoat;

namespace {

const BitmapRep& stencil(int side)
{
    static std::map<int, BitmapRep> cache;
    auto it = cache.find(side);
    if (it == cache.end())
        it = cache.emplace(side, bench::makeBenchStencil(side)).first;
    return it->second;
}

struct Rendered {
    TintSettings settings;
    RenderPipeline pipeline;
    PipelineInput input(int side) { return {&stencil(side), false, &settings}; }
};

// A pipeline that has rendered everything once with the given settings.
void renderAll(Rendered& r, int side)
{
    installEngineResources();
    r.pipeline.remakeGelcoatWithChanges(r.input(side), PipelineChanges::all());
}

void BM_TintChange(benchmark::State& state)
{
    Rendered r;
    renderAll(r, 1024);
    float hue = 0;
    for (auto _ : state) {
        r.settings.userHue = hue = hue + 1.0f;
        r.pipeline.remakeGelcoatWithChanges(r.input(1024), {.tint = true});
    }
}

void BM_FinalSizeChange(benchmark::State& state)
{
    Rendered r;
    r.settings.finalSize = 51;
    renderAll(r, 1024);
    for (auto _ : state)
        r.pipeline.remakeGelcoatWithChanges(r.input(1024), {.finalSize = true});
}

void BM_FinalSizeUpscale(benchmark::State& state)
{
    Rendered r;
    r.settings.finalSize = 200;
    renderAll(r, 1024);
    for (auto _ : state)
        r.pipeline.remakeGelcoatWithChanges(r.input(1024), {.finalSize = true});
}

void BM_ShadowChange(benchmark::State& state)
{
    Rendered r;
    r.settings.shadowSharpness = 5; // radius 20
    renderAll(r, 1024);
    float density = 50;
    for (auto _ : state) {
        r.settings.shadowDensity = density = density == 50 ? 51 : 50;
        r.pipeline.remakeGelcoatWithChanges(r.input(1024), {.shadow = true});
    }
}

// A new source with default settings (decoding excluded); the 4096 stencil
// with the widest shadow.
void BM_NewSource(benchmark::State& state)
{
    const int side = int(state.range(0));
    Rendered r;
    if (side > 1024)
        r.settings.shadowSharpness = 5;
    renderAll(r, side);
    for (auto _ : state)
        r.pipeline.remakeGelcoatWithChanges(r.input(side), {.sourceImage = true});
    state.counters["coverage"] = bench::coverage(stencil(side));
}

} // namespace

BENCHMARK(BM_TintChange)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FinalSizeChange)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FinalSizeUpscale)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShadowChange)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NewSource)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();
