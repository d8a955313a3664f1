#pragma once
// One document's render thread. Requests carry the settings and the stencil
// the render reads; a request that comes while another waits replaces it
// (its invalidations carried over), and one that comes while a render runs
// stops that render at its next stage or row band. Every render that
// finishes, completed or failed, is handed over as an independent copy of
// its result, in the order requested; a superseded render hands over
// nothing. The pipeline belongs to the thread while a render runs: others
// touch it only after waitUntilIdle() or stop().

#include "document/pipeline/RenderPipeline.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace gelcoat {

struct RenderRequest {
    // Read while the render runs: the owner keeps it in place until the
    // render has finished or stop() has returned.
    const BitmapRep* source = nullptr;
    bool sourceIsSimple = false;
    TintSettings settings;
    PipelineChanges changes;
    bool gelcoatOn = true;
    std::uint64_t generation = 0;
    // The room the result is shown in, in device pixels; empty when it is
    // shown at full size. A result larger than the room is preceded by a
    // preview made at the room's size from a reduced copy of the stencil,
    // and comes with a copy reduced to the room.
    int roomWidth = 0;
    int roomHeight = 0;
};

struct RenderResult {
    std::uint64_t generation = 0;
    // The final image while it is valid; shared with whoever shows it.
    std::shared_ptr<const BitmapRep> finalImage;
    bool valid = false;
    bool shadowWarningShown = false;
    ShadowReport shadowReport;
    StageCounts counts;
    std::string failure;
    // A preview: finalImage is the picture at the room's size, standing in
    // for a result of exactWidth × exactHeight still to come.
    bool preview = false;
    int exactWidth = 0;
    int exactHeight = 0;
    // The exact result reduced to the room, when it is larger.
    std::shared_ptr<const BitmapRep> roomImage;
};

class RenderWorker {
public:
    // deliver runs on the worker's thread after each finished render.
    using Delivery = std::function<void(const RenderResult&)>;

    RenderWorker(RenderPipeline& pipeline, Delivery deliver);
    ~RenderWorker();
    RenderWorker(const RenderWorker&) = delete;
    RenderWorker& operator=(const RenderWorker&) = delete;

    void request(RenderRequest request);

    // Drops the waiting request and stops the running render; returns once
    // the pipeline is left alone. The dropped request's invalidations are
    // carried into the next one.
    void stop();

    // Returns once no render runs or waits.
    void waitUntilIdle();
    bool idle() const;

    // The last result handed over.
    std::optional<RenderResult> lastResult() const;

private:
    void run();
    RenderResult resultOf(const RenderRequest& request);
    std::optional<RenderResult> renderPreview(const RenderRequest& request);

    RenderPipeline& pipeline_;
    Delivery deliver_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<RenderRequest> waiting_;
    PipelineChanges carried_;
    bool running_ = false;
    bool quitting_ = false;
    std::atomic<bool> cancel_{false};
    std::optional<RenderResult> lastResult_;
    // The final image last handed over, reused while the final mix has not
    // run again.
    std::shared_ptr<const BitmapRep> lastImage_;
    int lastFinalMixCount_ = -1;

    // Previews, on the worker's thread only: their own pipeline on a
    // reduced copy of the stencil, remade when the stencil or the scale
    // changes.
    RenderPipeline previewPipeline_;
    std::optional<BitmapRep> previewSource_;
    bool previewSourceStale_ = true;
    std::optional<TintSettings> lastPreviewSettings_;
    std::thread thread_;
};

} // namespace gelcoat
