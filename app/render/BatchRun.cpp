#include "app/render/BatchRun.h"

#include "app/render/RenderCommand.h"
#include "app/render/RenderJob.h"
#include "app/render/RenderPaths.h"

#include "document/model/TintDocument.h"
#include "engine/util/Parallel.h"

#include <QSet>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <dirent.h>
#include <sys/resource.h>
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

// What a rendered input leaves for the committing thread: its messages,
// its status and its image, written but not yet flushed or renamed.
struct FinishedInput {
    QString out, err;
    int code = ExitOk;
    std::unique_ptr<PendingFile> image;
    QByteArray imagePath;
    QString messagePrefix;   // names the input
};

// Rendered inputs waiting to be committed, at most `capacity` of them, so
// that a slow disk holds the renderers back instead of piling up open files.
class FinishedQueue {
public:
    explicit FinishedQueue(std::size_t capacity) : capacity_(capacity) {}
    void push(FinishedInput finished)
    {
        std::unique_lock lock(mutex_);
        roomLeft_.wait(lock, [&] { return queue_.size() < capacity_; });
        queue_.push_back(std::move(finished));
        ready_.notify_one();
    }
    // Nothing once every renderer has stopped and the queue is empty.
    std::optional<FinishedInput> pop()
    {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return !queue_.empty() || renderers_ == 0; });
        if (queue_.empty())
            return std::nullopt;
        FinishedInput finished = std::move(queue_.front());
        queue_.pop_front();
        roomLeft_.notify_one();
        return finished;
    }
    void addRenderer()
    {
        const std::lock_guard lock(mutex_);
        ++renderers_;
    }
    void rendererDone()
    {
        const std::lock_guard lock(mutex_);
        --renderers_;
        ready_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_, roomLeft_;
    std::deque<FinishedInput> queue_;
    std::size_t capacity_;
    int renderers_ = 0;
};

// Descriptors kept for what the program opens besides its inputs and
// outputs: image plug-ins being loaded, the standard streams' own.
constexpr long kSpareDescriptors = 16;

// Without /proc, as many as are spared for others.
long openDescriptors()
{
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds)
        return kSpareDescriptors;
    long open = 0;
    while (const dirent* entry = ::readdir(fds))
        open += entry->d_name[0] != '.';
    ::closedir(fds);
    return open;
}

long descriptorLimit()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<long>::max();
    return long(std::min<rlim_t>(limit.rlim_cur, rlim_t(std::numeric_limits<long>::max())));
}

} // namespace

int inputsInFlight(int jobs, long openNow, long limit)
{
    const long budget = limit - openNow - kSpareDescriptors - 1;   // 1: the one being committed
    return int(std::clamp<long>(budget / 3, 1, jobs));
}

QByteArrayList batchOutputs(const RenderOptions& options, const QByteArray& folder,
                            QString* error)
{
    const QByteArray extension = options.pngFormat && !options.stageGiven ? ".png" : ".tiff";
    QByteArrayList outputs;
    QSet<QByteArray> taken;
    for (const QByteArray& input : options.inputs) {
        const QByteArray output = batchOutputPath(folder, input, extension);
        if (taken.contains(output)) {
            *error =
                QStringLiteral("two inputs would both be written to %1").arg(quotedPath(output));
            return {};
        }
        taken.insert(output);
        outputs.append(output);
    }
    return outputs;
}

// The renderers take inputs in turn; this thread flushes and renames what
// they wrote and prints their messages, so that no renderer waits for the
// disk and the messages of one input stay together.
int runBatch(const RenderOptions& options, const QByteArrayList& outputs, QTextStream& out,
             QTextStream& err)
{
    const int count = int(options.inputs.size());
    const int asked =
        std::clamp(options.jobs ? options.jobs : QThread::idealThreadCount(), 1, count);
    const int workers = inputsInFlight(asked, openDescriptors(), descriptorLimit());
    // Files side by side fill the cores; splitting each stage's rows as
    // well would only add threads.
    if (workers > 1)
        setParallelThreadCount(1);
    // The process-wide resources (start picture, shading tables, defaults)
    // are made once here, before the workers share them.
    { TintDocument warmUp(nullptr, TintDocument::FirstStencil::None); }

    std::atomic<int> nextInput{0};
    FinishedQueue finished(std::size_t(workers) * 2);
    auto render = [&] {
        for (int i = nextInput++; i < count; i = nextInput++) {
            FinishedInput result;
            if (!outputs.isEmpty())
                result.imagePath = outputs[i];
            {
                QTextStream jobOut(&result.out), jobErr(&result.err);
                RenderJob job(options, jobOut, jobErr);
                job.leaveImageUncommitted();
                result.code = job.run(options.inputs[i], result.imagePath, true);
                result.image = job.takeUncommittedImage();
                result.messagePrefix = job.messagePrefix();
            }
            finished.push(std::move(result));
        }
        finished.rendererDone();
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < workers; ++t) {
        finished.addRenderer();
        threads.emplace_back(render);
    }

    int worst = ExitOk, done = 0;
    ProgressLine progress(err, !options.quiet && ::isatty(STDERR_FILENO));
    while (std::optional<FinishedInput> result = finished.pop()) {
        if (result->image) {
            QTextStream jobErr(&result->err);
            result->code = std::max(result->code, commitImage(*result->image, result->imagePath,
                                                              result->messagePrefix, jobErr));
            result->image.reset();
        }
        progress.clear();
        out << result->out;
        out.flush();
        err << result->err;
        worst = std::max(worst, result->code);
        progress.show(++done, count);
    }
    for (std::thread& t : threads)
        t.join();
    progress.clear();
    err.flush();
    return worst;
}

} // namespace gelcoat
