#include "document/pipeline/RenderWorker.h"

#include "engine/util/Parallel.h"

namespace gelcoat {

RenderWorker::RenderWorker(RenderPipeline& pipeline, Delivery deliver)
    : pipeline_(pipeline), deliver_(std::move(deliver))
{
    thread_ = std::thread([this] { run(); });
}

RenderWorker::~RenderWorker()
{
    {
        const std::lock_guard lock(mutex_);
        quitting_ = true;
        waiting_.reset();
        cancel_.store(true);
    }
    wake_.notify_all();
    thread_.join();
}

void RenderWorker::request(RenderRequest request)
{
    {
        const std::lock_guard lock(mutex_);
        request.changes |= carried_;
        carried_ = {};
        if (waiting_)
            request.changes |= waiting_->changes;
        waiting_ = std::move(request);
        if (running_)
            cancel_.store(true);
    }
    wake_.notify_all();
}

void RenderWorker::stop()
{
    std::unique_lock lock(mutex_);
    if (waiting_) {
        carried_ |= waiting_->changes;
        waiting_.reset();
    }
    if (running_)
        cancel_.store(true);
    idle_.wait(lock, [this] { return !running_; });
}

void RenderWorker::waitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !running_ && !waiting_; });
}

bool RenderWorker::idle() const
{
    const std::lock_guard lock(mutex_);
    return !running_ && !waiting_;
}

std::optional<RenderResult> RenderWorker::lastResult() const
{
    const std::lock_guard lock(mutex_);
    return lastResult_;
}

void RenderWorker::run()
{
    for (;;) {
        RenderRequest request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || waiting_; });
            if (quitting_)
                return;
            request = std::move(*waiting_);
            waiting_.reset();
            running_ = true;
            cancel_.store(false);
        }
        std::optional<RenderResult> result;
        {
            const CancellationScope scope(cancel_);
            pipeline_.setGelcoatOn(request.gelcoatOn);
            PipelineInput in;
            in.sourceImage = request.source;
            in.sourceImageIsSimple = request.sourceIsSimple;
            in.settings = &request.settings;
            pipeline_.remakeGelcoatWithChanges(in, request.changes);
            if (!pipeline_.lastRemakeCancelled())
                result = resultOf(request.generation);
        }
        if (result)
            deliver_(*result);
        {
            const std::lock_guard lock(mutex_);
            if (result)
                lastResult_ = std::move(result);
            running_ = false;
        }
        idle_.notify_all();
    }
}

RenderResult RenderWorker::resultOf(std::uint64_t generation)
{
    RenderResult result;
    result.generation = generation;
    result.valid = pipeline_.finalMixImageValid();
    result.shadowWarningShown = pipeline_.shadowHasWarning();
    result.shadowReport = pipeline_.shadowWarning();
    result.counts = pipeline_.stageCounts();
    result.failure = pipeline_.lastFailure();
    if (result.valid && pipeline_.finalMixImage()) {
        if (!lastImage_ || result.counts.finalMix != lastFinalMixCount_) {
            lastImage_.reset();
            if (auto copy = pipeline_.finalMixImage()->clone())
                lastImage_ = std::make_shared<const BitmapRep>(std::move(*copy));
            lastFinalMixCount_ = result.counts.finalMix;
        }
        result.finalImage = lastImage_;
        if (!lastImage_) {
            result.valid = false;
            result.failure = "Not enough memory to hand the result over.";
        }
    }
    return result;
}

} // namespace gelcoat
