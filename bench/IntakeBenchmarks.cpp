// A large picture pasted into a shown document window, from the Paste
// command until the exact result of the new stencil is painted. A timer
// ticking every millisecond on the interface thread tells how long the
// thread went without handling events. Counters:
//   intake_ms               from the command until the exact result shows
//   max_stall_ms            the longest gap between two ticks meanwhile
//   rss_before_bytes        resident memory just before the paste
//   peak_rss_bytes          the most resident memory at any time during it
//   held_rss_bytes          resident memory once the result is shown
//   peak_bytes_per_pixel    (peak − before) per pixel of the new stencil
//   held_bytes_per_pixel    (held − before) per pixel of the new stencil
// The argument is the picture's side in pixels; the picture is the
// benchmark stencil as PNG, written once to the temporary folder. With
// GELCOAT_BENCH_SHOTS set to a folder, the screen is saved there one and
// three seconds into the paste and once the result shows (run it on a real
// or virtual X display).

#include "bench/BenchStencil.h"
#include "bench/WindowBenchProbe.h"

#include "window/TintDocumentWindow.h"
#include "window/commands/CommandActions.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace gelcoat;
using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// A field of /proc/self/status in bytes (VmRSS, VmHWM).
double statusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) * 1024.0;
    return 0.0;
}

// Starts the peak resident size afresh from the current one.
void resetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

QByteArray benchPng(int side)
{
    const QString path =
        QDir::temp().filePath(QStringLiteral("gelcoat-bench-stencil-%1.png").arg(side));
    if (!QFile::exists(path) && !bench::writeBenchStencil(side, path))
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void saveScreen(const QString& folder, const QString& name)
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace

static void BM_WindowBigPaste(benchmark::State& state)
{
    const int side = int(state.range(0));
    const QString shots = qEnvironmentVariable("GELCOAT_BENCH_SHOTS");
    for (auto _ : state) {
        state.PauseTiming();
        TintDocumentWindow window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.resize(1000, 760);
        window.show();
        while (!bench::exactResultShown(window))
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        {
            auto* data = new QMimeData;
            data->setData(QStringLiteral("image/png"), benchPng(side));
            if (data->data(QStringLiteral("image/png")).isEmpty()) {
                delete data;
                state.SkipWithError("the benchmark picture could not be written");
                return;
            }
            QApplication::clipboard()->setMimeData(data);
        }
        QApplication::processEvents();
        const double before = statusBytes("VmRSS");
        resetPeakRss();
        state.ResumeTiming();

        Clock::time_point lastTick = Clock::now();
        double maxGap = 0.0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            maxGap = std::max(maxGap, milliseconds(now - lastTick));
            lastTick = now;
        });
        ticker.start(1);
        if (!shots.isEmpty()) {
            QTimer::singleShot(1000, [&] { saveScreen(shots, QStringLiteral("paste-1s")); });
            QTimer::singleShot(3000, [&] { saveScreen(shots, QStringLiteral("paste-3s")); });
        }
        const auto start = Clock::now();
        lastTick = start;
        window.commands().action(u"paste")->trigger();
        const auto give_up = Clock::now() + std::chrono::minutes(3);
        while ((!bench::exactResultShown(window) ||
                window.document().sourceImage()->pixelsWide() != side) &&
               Clock::now() < give_up) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        QApplication::processEvents();
        const double intake = milliseconds(Clock::now() - start);
        ticker.stop();
        maxGap = std::max(maxGap, milliseconds(Clock::now() - lastTick));
        if (!shots.isEmpty())
            saveScreen(shots, QStringLiteral("paste-done"));

        const double peak = statusBytes("VmHWM");
        const double held = statusBytes("VmRSS");
        const double pixels = double(side) * double(side);
        state.counters["intake_ms"] = intake;
        state.counters["max_stall_ms"] = maxGap;
        state.counters["rss_before_bytes"] = before;
        state.counters["peak_rss_bytes"] = peak;
        state.counters["held_rss_bytes"] = held;
        state.counters["peak_bytes_per_pixel"] = (peak - before) / pixels;
        state.counters["held_bytes_per_pixel"] = (held - before) / pixels;
        state.PauseTiming();
        QApplication::clipboard()->clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowBigPaste)->Arg(12000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
