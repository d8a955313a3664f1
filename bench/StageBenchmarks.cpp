// Single engine stages on the 1024 × 1024 benchmark stencil, to see where
// a pipeline benchmark spends its time.

#include "bench/BenchStencil.h"

#include "engine/draw/Draw.h"
#include "document/resources/BundleImages.h"
#include "engine/shading/AquaTables.h"
#include "engine/shading/Gloss.h"
#include "engine/shadow/DropShadow.h"
#include "engine/stencil/StencilOps.h"
#include "tests/support/TypicalGloss.h"

#include <benchmark/benchmark.h>

using namespace gelcoat;

namespace {

struct Stages {
    BitmapRep colour = bench::makeBenchStencil(1024);
    BitmapRep hsv = std::move(*colour.clone());
    BitmapRep analysis = std::move(*BitmapRep::make(1024, 1024));
    BitmapRep out = std::move(*BitmapRep::make(1024, 1024));
    Stages()
    {
        installEngineResources();
        initializeAquaArrays();
        hsvConvertImage(hsv);
        analyzeImage(hsv, analysis);
    }
};

Stages& stages()
{
    static Stages s;
    return s;
}

void BM_StageHsvConvert(benchmark::State& state)
{
    Stages& s = stages();
    for (auto _ : state) {
        copyPixels(s.colour, s.out);
        hsvConvertImage(s.out);
    }
}

void BM_StageAnalyze(benchmark::State& state)
{
    Stages& s = stages();
    for (auto _ : state)
        analyzeImage(s.hsv, s.out);
}

void BM_StageGloss(benchmark::State& state)
{
    Stages& s = stages();
    const AquifyParameters p = test::typicalGloss();
    for (auto _ : state)
        aquifyImage(s.hsv, s.analysis, s.out, p);
}

void BM_StageShadow(benchmark::State& state)
{
    Stages& s = stages();
    ShadowReport report;
    for (auto _ : state)
        shadowImage(s.hsv, s.out, 50, float(state.range(0)), 0, 5, &report);
}

void BM_StageComposite(benchmark::State& state)
{
    Stages& s = stages();
    for (auto _ : state)
        compositeSourceOver(s.colour, s.out);
}

void BM_StageResample(benchmark::State& state)
{
    Stages& s = stages();
    const int side = int(1024 * state.range(0) / 100);
    BitmapRep dst = std::move(*BitmapRep::make(side, side));
    for (auto _ : state)
        resamplePixels(s.colour, dst);
}

} // namespace

BENCHMARK(BM_StageHsvConvert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StageAnalyze)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StageGloss)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StageShadow)->Arg(85)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StageComposite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StageResample)->Arg(50)->Arg(51)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
