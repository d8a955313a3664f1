#pragma once
// The render pipeline of one document: source → HSV bitmap → analysis;
// (bitmap, analysis) → tinted; bitmap → shadow; (shadow, tinted) →
// composite → final image at the chosen size. Every intermediate result is
// kept, so a change recomputes only the stages that depend on it.

#include "buffer/BitmapRep.h"
#include "settings/TintSettings.h"
#include "shadow/DropShadow.h"

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

class RenderPipeline {
public:
    void setDestination(PipelineDestination* destination) { destination_ = destination; }

    void remakeGelcoatWithChangedSourceImage(const PipelineInput& in, bool changedSourceImage,
                                             bool tintParameters, bool shadowParameters,
                                             bool finalSize);

    // The model side of the rendering switch: both invalidate the final mix
    // and remake with no change flags.
    void toggleTinting(const PipelineInput& in);
    void gelcoatChanged(const PipelineInput& in, bool state);

    bool gelcoatOn = true;

    const std::optional<BitmapRep>& sourceImageBitmap() const { return sourceImageBitmap_; }
    const std::optional<BitmapRep>& sourceAnalysis() const { return sourceAnalysis_; }
    const std::optional<BitmapRep>& shadowImage() const { return shadowImage_; }
    const std::optional<BitmapRep>& unscaledTintedImage() const { return unscaledTintedImage_; }
    const std::optional<BitmapRep>& unscaledShadowedImage() const { return unscaledShadowedImage_; }
    const std::optional<BitmapRep>& finalMixImage() const { return finalMixImage_; }

    bool sourceAnalysisValid() const { return sourceAnalysisValid_; }
    bool shadowImageValid() const { return shadowImageValid_; }
    bool unscaledTintedImageValid() const { return unscaledTintedImageValid_; }
    bool unscaledShadowedImageValid() const { return unscaledShadowedImageValid_; }
    bool finalMixImageValid() const { return finalMixImageValid_; }
    bool finalMixImageNeedsRealloc() const { return finalMixImageNeedsRealloc_; }

    bool shadowNeedsWarning() const { return shadowReport_.needsWarning; }
    const ShadowReport& shadowWarning() const { return shadowReport_; }
    bool shadowHasWarning() const { return shadowHasWarning_; }

    const StageCounts& stageCounts() const { return counts_; }

    // Why the last remake stopped early, empty when it completed.
    const std::string& lastFailure() const { return lastFailure_; }

    // The result's size for a source size and final size percentage;
    // nothing when it would exceed the buffer limit.
    static std::optional<std::pair<int, int>> finalPixelSize(float srcW, float srcH,
                                                            float finalSize);

private:
    void invalidate(bool changedSourceImage, bool tintParameters, bool shadowParameters,
                    bool finalSize);
    void renderStages(const PipelineInput& in);
    void ensureBuffers(const BitmapRep& source);
    void renderTinted(const PipelineInput& in);
    void renderShadow(const TintSettings& s);
    void renderComposite(const TintSettings& s);
    void renderFinalMix(const PipelineInput& in);
    void updateShadowWarning();
    void updateDestination();

    PipelineDestination* destination_ = nullptr;

    std::optional<BitmapRep> sourceImageBitmap_;
    std::optional<BitmapRep> sourceAnalysis_;
    std::optional<BitmapRep> shadowImage_;
    std::optional<BitmapRep> unscaledTintedImage_;
    std::optional<BitmapRep> unscaledShadowedImage_;
    std::optional<BitmapRep> finalMixImage_;

    bool sourceAnalysisValid_ = false;
    bool shadowImageValid_ = false;
    bool unscaledTintedImageValid_ = false;
    bool unscaledShadowedImageValid_ = false;
    bool finalMixImageValid_ = false;
    bool finalMixImageNeedsRealloc_ = false;

    ShadowReport shadowReport_;
    bool shadowHasWarning_ = false;
    StageCounts counts_;
    std::string lastFailure_;
};

} // namespace gelcoat
