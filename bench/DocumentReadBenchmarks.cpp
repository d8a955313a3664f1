// The two passes of reading a document file, apart: the strict XML scan and
// libplist's parse of the same bytes. Argument 0 is the document with the
// 1024 × 1024 benchmark stencil (310 KB); 1 is the same with 250 MB of text
// in a <string>, as scripts/bench.sh makes for the memory figure.

#include "bench/BenchStencil.h"

#include "document/file/PlistScan.h"
#include "document/model/TintDocument.h"

#include <benchmark/benchmark.h>
#include <plist/plist.h>

#include <QFile>
#include <QTemporaryDir>

using namespace gelcoat;

namespace {

QByteArray savedDocument()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.gelcoat"));
    TintDocument doc;
    SourcePicture picture;
    picture.pixels = bench::makeBenchStencil(1024);
    doc.adoptImage(std::move(picture), QString(), true);
    QFile file(path);
    if (!doc.saveDocumentAs(path).ok || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

const QByteArray& documentBytes(int which)
{
    static const QByteArray small = savedDocument();
    if (which == 0)
        return small;
    // The text goes in before the top-level dictionary closes.
    static const QByteArray big = [] {
        const qsizetype end = small.lastIndexOf("</dict>");
        return small.left(end) + "\t<key>Notes</key>\n\t<string>" +
               QByteArray(250'000'000, 'x') + "</string>\n" + small.mid(end);
    }();
    return big;
}

void BM_DocumentScan(benchmark::State& state)
{
    const QByteArray& bytes = documentBytes(int(state.range(0)));
    QString error;
    for (auto _ : state)
        if (!scanPropertyList(bytes, &error))
            state.SkipWithError(qPrintable(error));
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void BM_DocumentPlistParse(benchmark::State& state)
{
    const QByteArray& bytes = documentBytes(int(state.range(0)));
    for (auto _ : state) {
        plist_t root = nullptr;
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
        if (!root)
            state.SkipWithError("libplist could not parse the document");
        plist_free(root);
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

} // namespace

BENCHMARK(BM_DocumentScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DocumentPlistParse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
