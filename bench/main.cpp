// gelcoat-bench: the pipeline and window benchmarks (windows offscreen
// unless QT_QPA_PLATFORM says otherwise), and
//   gelcoat-bench --write-stencil SIDE FILE.png
// which writes the benchmark stencil for timing other programs on it.

#include "bench/BenchStencil.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--write-stencil") == 0)
        return gelcoat::bench::writeBenchStencil(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]))
                   ? 0
                   : 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
