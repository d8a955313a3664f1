#pragma once
// The render pipeline of one document: source → HSV bitmap → analysis;
// (bitmap, analysis) → tinted; bitmap → shadow; (shadow, tinted) →
// composite → final image at the chosen size. Every intermediate result is
// kept, so a change recomputes only the stages that depend on it.

#include "engine/buffer/BitmapRep.h"
#include "document/settings/TintSettings.h"
#include "engine/shadow/DropShadow.h"

#include <functional>
#include <optional>
#include <string>

namespace gelcoat {

// What the pipeline tells the result's view and the shadow warning.
class PipelineDestination {
public:
    virtual ~PipelineDestination() = default;
    virtual void setImage(const BitmapRep& finalImage) = 0;
    virtual void setImageValid(bool valid) = 0;
    virtual void setShadowWarningShown(bool shown) = 0;
};

// Which inputs changed since the last remake: remakeGelcoatWithChanges({.tint = true}).
struct PipelineChanges {
    bool sourceImage = false;
    bool tint = false;
    bool shadow = false;
    bool finalSize = false;

    static constexpr PipelineChanges all() { return {true, true, true, true}; }
    PipelineChanges& operator|=(const PipelineChanges& other);
    bool any() const { return sourceImage || tint || shadow || finalSize; }
    bool operator==(const PipelineChanges&) const = default;
};

// The pipeline inputs that a change of settings from `before` to `after`
// touches, as settingFields() declares for each setting: the tint fields
// the tinted image; density and offsets the shadow, the sharpness only
// while there is a shadow to sharpen; the bug only while the rainbow sweep
// it centres is on; the final size the result's size. Display options
// touch nothing.
PipelineChanges changesBetween(const TintSettings& before, const TintSettings& after);

// True when anything a document saves differs, display options aside: the
// edit mark follows this even where no stage needs redoing.
bool documentSettingsDiffer(const TintSettings& before, const TintSettings& after);

// How many times each stage ran, for tests and benchmarks.
struct StageCounts {
    int sourceBitmap = 0;
    int analysis = 0;
    int tinted = 0;
    int shadow = 0;
    int composite = 0;
    int finalMix = 0;
    bool operator==(const StageCounts&) const = default;
};

// The picture the pipeline works from and the settings it reads.
struct PipelineInput {
    const BitmapRep* sourceImage = nullptr; // standard premultiplied RGBA
    bool sourceImageIsSimple = false;
    const TintSettings* settings = nullptr;
};

// One stage's result and whether it is up to date with its inputs.
struct StageImage {
    std::optional<BitmapRep> image;
    bool valid = false;

    void drop()
    {
        image.reset();
        valid = false;
    }
};

enum class PipelineStage { sourceBitmap, analysis, tinted, shadow, composite, finalMix };

class RenderPipeline {
public:
    void setDestination(PipelineDestination* destination) { destination_ = destination; }

    void remakeGelcoatWithChanges(const PipelineInput& in, PipelineChanges changes);

    // The model side of the rendering switch: both invalidate the final mix
    // and remake with no changes.
    void toggleTinting(const PipelineInput& in);
    void gelcoatChanged(const PipelineInput& in, bool state);
    bool gelcoatOn() const { return gelcoatOn_; }
    // The switch alone, for a caller that remakes afterwards: a change
    // invalidates the final mix.
    void setGelcoatOn(bool on);

    // A one-shot render (a script's) needs only the result: each stage's
    // image is then dropped as soon as no later stage reads it, so that at
    // most four stencil-sized images exist at once. A window keeps them
    // all, so that a change remakes only the stages it touches.
    void setKeepsStageImages(bool keep) { keepsStageImages_ = keep; }

    const std::optional<BitmapRep>& sourceImageBitmap() const { return sourceBitmap_.image; }
    const std::optional<BitmapRep>& sourceAnalysis() const { return analysis_.image; }
    const std::optional<BitmapRep>& shadowImage() const { return shadow_.image; }
    const std::optional<BitmapRep>& unscaledTintedImage() const { return tinted_.image; }
    const std::optional<BitmapRep>& unscaledShadowedImage() const { return composite_.image; }
    const std::optional<BitmapRep>& finalMixImage() const { return finalMix_.image; }

    bool sourceAnalysisValid() const { return analysis_.valid; }
    bool shadowImageValid() const { return shadow_.valid; }
    bool unscaledTintedImageValid() const { return tinted_.valid; }
    bool unscaledShadowedImageValid() const { return composite_.valid; }
    bool finalMixImageValid() const { return finalMix_.valid; }
    bool finalMixImageNeedsRealloc() const { return finalMixImageNeedsRealloc_; }

    bool shadowNeedsWarning() const { return shadowReport_.needsWarning; }
    const ShadowReport& shadowWarning() const { return shadowReport_; }
    bool shadowHasWarning() const { return shadowHasWarning_; }

    const StageCounts& stageCounts() const { return counts_; }

    // Why the last remake stopped early, empty when it completed.
    const std::string& lastFailure() const { return lastFailure_; }
    // Whether the last remake stopped because its thread's render was
    // superseded (see CancellationScope): the stage it was in and the ones
    // after it stay invalid, and nothing is logged.
    bool lastRemakeCancelled() const { return cancelled_; }

    // The result's size for a source size and final size percentage;
    // nothing when it would exceed the buffer limit.
    static std::optional<std::pair<int, int>> finalPixelSize(float srcW, float srcH,
                                                            float finalSize);

    // Makes the next run of a stage fail as a stage with unusable buffers
    // does, so that tests can see how a failure travels.
    void failStageForTesting(std::optional<PipelineStage> stage) { failingStage_ = stage; }
    // Runs just before each stage that is about to run, on the rendering
    // thread, so that tests can hold a render at a stage.
    void setStageHookForTesting(std::function<void(PipelineStage)> hook)
    {
        stageHook_ = std::move(hook);
    }

private:
    void invalidate(PipelineChanges changes);
    void renderStages(const PipelineInput& in);
    void renderSourceBitmap(const BitmapRep& source);
    void renderAnalysis();
    void renderTinted(const PipelineInput& in);
    void renderShadow(const BitmapRep& stencil, const TintSettings& s);
    void renderComposite(const TintSettings& s);
    void renderFinalMix(const PipelineInput& in);
    void finish(StageImage& stage, PipelineStage which, StageStatus status);
    void updateShadowWarning();
    void updateDestination();

    PipelineDestination* destination_ = nullptr;
    bool gelcoatOn_ = true;
    bool keepsStageImages_ = true;

    // The HSV bitmap is valid while it exists.
    StageImage sourceBitmap_;
    StageImage analysis_;
    StageImage tinted_;
    StageImage shadow_;
    StageImage composite_;
    StageImage finalMix_;
    bool finalMixImageNeedsRealloc_ = false;

    ShadowReport shadowReport_;
    bool shadowHasWarning_ = false;
    StageCounts counts_;
    std::string lastFailure_;
    bool cancelled_ = false;
    std::optional<PipelineStage> failingStage_;
    std::function<void(PipelineStage)> stageHook_;
};

} // namespace gelcoat
