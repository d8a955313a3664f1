// An icon set of eight sizes from a 1024 × 1024 stencil beside the one
// render it is measured against: the set renders the gel once and fits it
// to each size, so it should cost at most 1.5 times the render. Both are
// timed without and with their PNG files encoded (in memory).

#include "bench/BenchStencil.h"

#include "document/export/PngWriter.h"
#include "document/icons/IconFiles.h"
#include "document/icons/IconImages.h"
#include "document/pipeline/RenderPipeline.h"
#include "document/resources/BundleImages.h"

#include <benchmark/benchmark.h>

using namespace gelcoat;

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};

const BitmapRep& stencil1024()
{
    static const BitmapRep stencil = bench::makeBenchStencil(1024);
    return stencil;
}

// A new stencil rendered with the default settings (its result at 50 %),
// as gelcoat-render does for one picture.
void oneRender(benchmark::State& state, bool encode)
{
    installEngineResources();
    const TintSettings settings;
    for (auto _ : state) {
        RenderPipeline pipeline;
        pipeline.setKeepsStageImages(false);
        pipeline.remakeGelcoatWithChanges({&stencil1024(), false, &settings},
                                          PipelineChanges::all());
        if (encode)
            benchmark::DoNotOptimize(encodePng(*pipeline.finalMixImage()));
    }
}

void iconSet(benchmark::State& state, bool encode)
{
    installEngineResources();
    const TintSettings settings;
    QString error;
    for (auto _ : state) {
        auto icons = renderIconImages(stencil1024(), false, settings, kSizes,
                                      FlattenChoice::None, &error);
        if (!icons) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        if (encode) {
            std::vector<int> leftOut;
            benchmark::DoNotOptimize(iconSetFiles(*icons, IconSetForm::PngFiles,
                                                  QStringLiteral("bench"), {}, &leftOut, &error));
        }
    }
}

void BM_OneRender1024(benchmark::State& state) { oneRender(state, false); }
void BM_IconSet8From1024(benchmark::State& state) { iconSet(state, false); }
void BM_OneRender1024ToPng(benchmark::State& state) { oneRender(state, true); }
void BM_IconSet8From1024ToPng(benchmark::State& state) { iconSet(state, true); }

} // namespace

BENCHMARK(BM_OneRender1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IconSet8From1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OneRender1024ToPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IconSet8From1024ToPng)->Unit(benchmark::kMillisecond)->UseRealTime();
