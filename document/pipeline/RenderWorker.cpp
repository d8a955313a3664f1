#include "document/pipeline/RenderWorker.h"

#include "document/pipeline/PreviewSettings.h"
#include "document/pipeline/StencilDrawing.h"

#include "engine/util/Parallel.h"

#include <algorithm>
#include <cmath>

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
        if (request.changes.sourceImage)
            previewSourceStale_ = true;
        if (std::optional<RenderResult> preview = renderPreview(request))
            deliver_(*preview);
        {
            const CancellationScope scope(cancel_);
            pipeline_.setGelcoatOn(request.gelcoatOn);
            PipelineInput in;
            in.sourceImage = request.source;
            in.sourceImageIsSimple = request.sourceIsSimple;
            in.settings = &request.settings;
            pipeline_.remakeGelcoatWithChanges(in, request.changes);
        }
        // A finished render is handed over whole, with its copy reduced to
        // the room, even when a newer request has come meanwhile.
        if (!pipeline_.lastRemakeCancelled())
            result = resultOf(request);
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

namespace {

// Device pixels of the room per result pixel when the result is larger than
// the room, else nothing.
std::optional<double> roomScale(const RenderRequest& request, int width, int height)
{
    if (request.roomWidth <= 0 || request.roomHeight <= 0)
        return std::nullopt;
    const double scale = std::min(double(request.roomWidth) / width,
                                  double(request.roomHeight) / height);
    if (scale >= 1.0)
        return std::nullopt;
    return scale;
}

std::shared_ptr<const BitmapRep> reducedCopy(const BitmapRep& image, double scale)
{
    const int w = std::max(1, int(std::lround(image.pixelsWide() * scale)));
    const int h = std::max(1, int(std::lround(image.pixelsHigh() * scale)));
    std::optional<BitmapRep> reduced;
    try {
        setUpStencil(reduced, w, h, image, 0);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (takeSkippedWork() || !reduced)
        return nullptr;
    return std::make_shared<const BitmapRep>(std::move(*reduced));
}

} // namespace

std::optional<RenderResult> RenderWorker::renderPreview(const RenderRequest& request)
{
    if (!request.gelcoatOn || !request.source || request.source->isNull())
        return std::nullopt;
    const BitmapRep& source = *request.source;
    const auto exact = RenderPipeline::finalPixelSize(float(source.pixelsWide()),
                                                      float(source.pixelsHigh()),
                                                      request.settings.finalSize);
    if (!exact)
        return std::nullopt;
    const std::optional<double> room = roomScale(request, exact->first, exact->second);
    if (!room)
        return std::nullopt;
    const double scale = *room * double(request.settings.finalSize) / 100.0;
    const int w = std::max(1, int(std::lround(source.pixelsWide() * scale)));
    const int h = std::max(1, int(std::lround(source.pixelsHigh() * scale)));
    if (w * 2 > source.pixelsWide() && h * 2 > source.pixelsHigh())
        return std::nullopt; // hardly smaller: the exact render is as quick

    const CancellationScope scope(cancel_);
    PipelineChanges changes;
    if (previewSourceStale_ || !previewSource_ || previewSource_->pixelsWide() != w ||
        previewSource_->pixelsHigh() != h) {
        previewSource_.reset();
        try {
            setUpStencil(previewSource_, w, h, source, 0);
        } catch (const std::exception&) {
            previewSource_.reset();
        }
        if (takeSkippedWork() || !previewSource_) {
            previewSource_.reset();
            return std::nullopt;
        }
        previewSourceStale_ = false;
        changes = PipelineChanges::all();
    }
    const TintSettings settings = previewSettings(request.settings, scale);
    if (lastPreviewSettings_)
        changes |= changesBetween(*lastPreviewSettings_, settings);
    else
        changes = PipelineChanges::all();
    lastPreviewSettings_ = settings;

    PipelineInput in;
    in.sourceImage = &*previewSource_;
    in.sourceImageIsSimple = request.sourceIsSimple;
    in.settings = &settings;
    previewPipeline_.remakeGelcoatWithChanges(in, changes);
    if (previewPipeline_.lastRemakeCancelled() || !previewPipeline_.finalMixImageValid() ||
        !previewPipeline_.finalMixImage())
        return std::nullopt;
    auto copy = previewPipeline_.finalMixImage()->clone();
    if (!copy)
        return std::nullopt;
    RenderResult result;
    result.generation = request.generation;
    result.preview = true;
    result.valid = true;
    result.finalImage = std::make_shared<const BitmapRep>(std::move(*copy));
    result.exactWidth = exact->first;
    result.exactHeight = exact->second;
    return result;
}

RenderResult RenderWorker::resultOf(const RenderRequest& request)
{
    RenderResult result;
    result.generation = request.generation;
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
        } else {
            result.exactWidth = lastImage_->pixelsWide();
            result.exactHeight = lastImage_->pixelsHigh();
            if (const auto room = roomScale(request, result.exactWidth, result.exactHeight))
                result.roomImage = reducedCopy(*lastImage_, *room);
        }
    }
    return result;
}

} // namespace gelcoat
