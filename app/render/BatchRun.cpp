#include "app/render/BatchRun.h"

#include "app/render/RenderCommand.h"
#include "app/render/RenderJob.h"

#include "document/model/TintDocument.h"
#include "engine/util/Parallel.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <unistd.h>

namespace gelcoat {

namespace {

// "rendered N of M" on one line that later messages overwrite; only on a
// terminal, where nothing reads it but a person.
class ProgressLine {
public:
    ProgressLine(QTextStream& err, bool shown) : err_(err), shown_(shown) {}
    void clear()
    {
        if (shown_ && drawn_)
            err_ << "\r\033[K";
        drawn_ = false;
    }
    void show(int done, int total)
    {
        if (!shown_)
            return;
        err_ << "\rrendered " << done << " of " << total;
        err_.flush();
        drawn_ = true;
    }

private:
    QTextStream& err_;
    bool shown_;
    bool drawn_ = false;
};

} // namespace

QStringList batchOutputs(const RenderOptions& options, const QString& folder, QString* error)
{
    const QString extension =
        options.pngFormat && !options.stageGiven ? QStringLiteral(".png") : QStringLiteral(".tiff");
    QStringList outputs;
    QSet<QString> taken;
    for (const QString& input : options.inputs) {
        const QString output = QDir(folder).filePath(QFileInfo(input).completeBaseName() + extension);
        if (taken.contains(output)) {
            *error = QStringLiteral("two inputs would both be written to \"%1\"").arg(output);
            return {};
        }
        taken.insert(output);
        outputs.append(output);
    }
    return outputs;
}

int runBatch(const RenderOptions& options, const QStringList& outputs, QTextStream& out,
             QTextStream& err)
{
    const int count = int(options.inputs.size());
    const int workers =
        std::clamp(options.jobs ? options.jobs : QThread::idealThreadCount(), 1, count);
    // Files side by side fill the cores; splitting each stage's rows as
    // well would only add threads.
    if (workers > 1)
        setParallelThreadCount(1);
    // The process-wide resources (start picture, shading tables, defaults)
    // are made once here, before the workers share them.
    { TintDocument warmUp(nullptr, TintDocument::FirstStencil::None); }

    std::atomic<int> nextInput{0};
    std::mutex printing;
    int worst = ExitOk, done = 0;
    ProgressLine progress(err, !options.quiet && ::isatty(STDERR_FILENO));
    auto work = [&] {
        for (int i = nextInput++; i < count; i = nextInput++) {
            QString jobOut, jobErr;
            int code = ExitOk;
            {
                QTextStream jobOutStream(&jobOut), jobErrStream(&jobErr);
                RenderJob job(options, jobOutStream, jobErrStream);
                code = job.run(options.inputs[i], outputs.isEmpty() ? QString() : outputs[i], true);
            }
            const std::lock_guard lock(printing);
            progress.clear();
            out << jobOut;
            out.flush();
            err << jobErr;
            worst = std::max(worst, code);
            progress.show(++done, count);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < workers; ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    progress.clear();
    err.flush();
    return worst;
}

} // namespace gelcoat
