// ImageMagick's nearest equivalent of a new-source render on the same
// stencil, for comparison: a shaded bevel from the blurred alpha, a tint
// through a colour lookup, a soft shadow and a Lanczos resize to half size.
// Skipped when ImageMagick's convert is not installed.

#include "bench/BenchStencil.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

namespace {

std::string stencilFile(int side)
{
    const QString path = QDir::temp().filePath(QStringLiteral("gelcoat-bench-%1.png").arg(side));
    if (!QFile::exists(path))
        gelcoat::bench::writeBenchStencil(side, path);
    // Uncompressed MIFF keeps ImageMagick's decoding out of the way.
    const QString miff = QDir::temp().filePath(QStringLiteral("gelcoat-bench-%1.miff").arg(side));
    if (!QFile::exists(miff))
        std::system(("convert '" + path.toStdString() + "' -compress none '" + miff.toStdString() + "'").c_str());
    return miff.toStdString();
}

void BM_ImageMagickNewSource(benchmark::State& state)
{
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty()) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    const int side = int(state.range(0));
    const int blur = side > 1024 ? 20 : 4;
    const std::string in = stencilFile(side);
    const std::string out = QDir::temp().filePath(QStringLiteral("gelcoat-bench-im.miff")).toStdString();
    const std::string command =
        "convert '" + in + "' -write mpr:s +delete "
        "\\( mpr:s -alpha extract -blur 0x3 -shade 120x45 -normalize "
        "\\( -size 1x256 gradient:'#002a66-#cce8ff' \\) -clut \\) "
        "\\( mpr:s -alpha extract \\) -alpha off -compose CopyOpacity -composite "
        "\\( +clone -background black -shadow 50x" + std::to_string(blur) + "+0+5 \\) "
        "+swap -background none -compose Over -layers merge +repage "
        "-filter Lanczos -resize 50% -compress none '" + out + "'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("convert failed");
            break;
        }
}

} // namespace

BENCHMARK(BM_ImageMagickNewSource)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();
// About 45 s a run: three runs, whatever repetition count the command line asks for.
BENCHMARK(BM_ImageMagickNewSource)
    ->Arg(4096)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
