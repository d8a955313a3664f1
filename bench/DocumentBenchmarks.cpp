// Saving and reopening a document whose stencil is 1024 × 1024: the
// property list, the LZW TIFF of the stencil and the file itself.

#include "bench/BenchStencil.h"

#include "document/model/TintDocument.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

using namespace gelcoat;

namespace {

// A document holding the benchmark stencil, and a folder to save it in.
struct DocumentFixture {
    QTemporaryDir dir;
    TintDocument doc;
    QString file = dir.filePath(QStringLiteral("bench.gelcoat"));

    DocumentFixture()
    {
        SourcePicture picture;
        picture.pixels = bench::makeBenchStencil(1024);
        doc.adoptImage(std::move(picture), QString(), true);
    }
};

void BM_SaveDocument(benchmark::State& state)
{
    DocumentFixture f;
    for (auto _ : state)
        if (!f.doc.saveDocumentAs(f.file).ok)
            state.SkipWithError("save failed");
}

void BM_OpenDocument(benchmark::State& state)
{
    DocumentFixture f;
    if (!f.doc.saveDocumentAs(f.file).ok)
        state.SkipWithError("save failed");
    TintDocument reader;
    for (auto _ : state)
        if (!reader.readFromFile(f.file).ok)
            state.SkipWithError("open failed");
}

} // namespace

BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond)->UseRealTime();
