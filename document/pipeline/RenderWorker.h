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
    RenderResult resultOf(std::uint64_t generation);

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
    std::thread thread_;
};

} // namespace gelcoat
