#include "window/intake/PictureIntake.h"

#include "document/image/BitmapImage.h"

#include "document/intake/StencilIntake.h"
#include "document/model/TintDocument.h"
#include "shared/KPProgressPanel.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace gelcoat {

namespace {

// One picture being made on a thread of its own. The job is shared, so
// that a stopped intake can leave it behind: the thread then finishes it
// alone and the picture goes with the last reference.
struct DecodeJob {
    PictureSource source;
    bool check = false;
    std::optional<SourcePicture> picture;
    QString error;
    std::optional<bool> simple;
    QString refusal;   // why the check turned the picture away
    bool makeShown = false;
    QImage shown;
    std::atomic<bool> done{false};
};

// The decoding threads, each joined once its job is done, when the next
// one starts, or when the application ends, so that none outlives it.
class DecodeThreads {
public:
    static DecodeThreads& shared()
    {
        static DecodeThreads* threads = [] {
            auto* made = new DecodeThreads;
            qAddPostRoutine([] { DecodeThreads::shared().joinAll(); });
            return made;
        }();
        return *threads;
    }

    // work lets go of everything it holds before its thread counts as
    // finished, so that an abandoned job's picture is freed as it ends.
    void start(std::function<void()> work)
    {
        const std::lock_guard lock(mutex_);
        std::erase_if(running_, [](Running& r) {
            if (!r.finished->load(std::memory_order_acquire))
                return false;
            r.thread.join();
            return true;
        });
        auto finished = std::make_shared<std::atomic<bool>>(false);
        running_.push_back({finished, std::thread([work = std::move(work), finished]() mutable {
                                work();
                                work = nullptr;
                                finished->store(true, std::memory_order_release);
                            })});
    }

    void joinAll()
    {
        std::vector<Running> running;
        {
            const std::lock_guard lock(mutex_);
            running.swap(running_);
        }
        for (Running& r : running)
            r.thread.join();
    }

private:
    struct Running {
        std::shared_ptr<std::atomic<bool>> finished;
        std::thread thread;
    };
    std::mutex mutex_;
    std::vector<Running> running_;
};

std::shared_ptr<DecodeJob> startDecoding(PictureSource source, bool check, bool makeShown)
{
    auto job = std::make_shared<DecodeJob>();
    job->source = std::move(source);
    job->check = check;
    job->makeShown = makeShown;
    DecodeThreads::shared().start([job] {
        job->picture = job->source(&job->error);
        if (job->picture && job->check) {
            IntakeRefusal why = IntakeRefusal::None;
            job->simple = checkImage(*job->picture, &why);
            if (!job->simple)
                job->refusal = intakeRefusalReason(why, *job->picture);
        }
        if (job->simple && job->makeShown)
            job->shown = imageFromBitmap(job->picture->pixels);
        job->source = nullptr;
        job->done.store(true, std::memory_order_release);
    });
    return job;
}

// Waits until done() with the panel up after its threshold; false when the
// user stopped. Until the panel shows, the window keeps painting and
// answering other programs, and the user's input waits for the outcome;
// then the panel, modal to the window, keeps it that way.
template <class Done>
bool waitWithPanel(KPProgressPanel& panel, Done done)
{
    using namespace std::chrono_literals;
    while (!done()) {
        if (!panel.isVisible())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!panel.giveTime())
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

KPProgressPanel* startPanel(QWidget* window)
{
    KPProgressPanel* panel = KPProgressPanel::progressPanelModalForWindow(
        window, intakeProgressTitle(), intakeDecodingMessage(), false);
    panel->start();
    return panel;
}

} // namespace

QString intakeProgressTitle()
{
    return QCoreApplication::translate("PictureIntake", "Taking In the Picture");
}

QString intakeDecodingMessage()
{
    return QCoreApplication::translate("PictureIntake", "Reading the picture.");
}

QString intakeRenderingMessage()
{
    return QCoreApplication::translate("PictureIntake", "Making the new stencil's result.");
}

IntakeOutcome takeInPicture(TintDocument& document, QWidget* window, PictureSource source,
                            const QString& path, const StencilShown& shown, QString* error)
{
    KPProgressPanel* panel = startPanel(window);
    const std::shared_ptr<DecodeJob> job =
        startDecoding(std::move(source), true, shown != nullptr);
    const bool decoded = waitWithPanel(
        *panel, [&job] { return job->done.load(std::memory_order_acquire); });
    if (!decoded) {
        panel->finishAndRelease();
        return IntakeOutcome::Stopped;
    }
    if (error)
        *error = job->error;
    if (!job->picture) {
        panel->finishAndRelease();
        return job->error.isEmpty() ? IntakeOutcome::NoPicture : IntakeOutcome::Unreadable;
    }
    if (!job->simple) {
        panel->finishAndRelease();
        if (error)
            *error = job->refusal;
        return IntakeOutcome::Refused;
    }

    panel->setSubtitle(intakeRenderingMessage());
    if (shown)
        shown(std::move(job->shown), job->picture->pixels);
    document.useCheckedImage(std::move(job->picture->pixels), *job->simple, path,
                             std::move(job->picture->vectorSource));
    job->picture.reset();
    RenderWorker* worker = document.renderWorker();
    const bool rendered =
        !worker || waitWithPanel(*panel, [worker] { return worker->idle(); });
    panel->finishAndRelease();
    if (!rendered) {
        document.putBackPreviousImage();
        return IntakeOutcome::Stopped;
    }
    document.keepNewImage();
    document.finishRendering();
    return IntakeOutcome::Taken;
}

CheckedPicture checkPictureWithProgress(PictureSource source)
{
    KPProgressPanel* panel = startPanel(nullptr);
    const std::shared_ptr<DecodeJob> job = startDecoding(std::move(source), true, true);
    const bool decoded = waitWithPanel(
        *panel, [&job] { return job->done.load(std::memory_order_acquire); });
    panel->finishAndRelease();
    CheckedPicture checked;
    if (!decoded) {
        checked.stopped = true;
        return checked;
    }
    checked.picture = std::move(job->picture);
    checked.simple = job->simple;
    checked.shown = std::move(job->shown);
    checked.error = job->simple || !job->picture ? job->error : job->refusal;
    return checked;
}

} // namespace gelcoat
