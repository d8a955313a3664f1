#include "document/pipeline/RenderPipeline.h"

#include "document/pipeline/StencilDrawing.h"
#include "document/settings/SettingsKeys.h"

#include "engine/buffer/EngineLog.h"
#include "engine/draw/Draw.h"
#include "engine/shading/Gloss.h"
#include "engine/stencil/StencilOps.h"
#include "engine/util/Parallel.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace gelcoat {

namespace {

// A buffer in a layout no stage accepts, standing in for a damaged one.
BitmapRep unusableBuffer(int width, int height)
{
    auto rep = BitmapRep::makeLayout(std::max(width, 1), std::max(height, 1), 3, 8, false, false);
    if (!rep)
        throw RenderFailure("Not enough memory for a test buffer.");
    return std::move(*rep);
}

const char* stageName(PipelineStage stage)
{
    switch (stage) {
    case PipelineStage::sourceBitmap:
        return "source bitmap";
    case PipelineStage::analysis:
        return "analysis";
    case PipelineStage::tinted:
        return "gloss";
    case PipelineStage::shadow:
        return "shadow";
    case PipelineStage::composite:
        return "composite";
    case PipelineStage::finalMix:
        return "final mix";
    }
    return "unknown";
}

bool sameApartFromDisplay(const TintSettings& a, TintSettings b)
{
    copyDisplayOptions(a, b);
    return a == b;
}

AquifyParameters glossParameters(const PipelineInput& in)
{
    using S = TintSettings;
    const S& s = *in.settings;
    // A simple stencil's own hue, saturation and brightness mean nothing.
    const bool original = !in.sourceImageIsSimple;
    AquifyParameters p;
    p.useOriginalHue = original && s.useOriginalHue;
    p.useOriginalSaturation = original && s.useOriginalSaturation;
    p.useOriginalBrightness = original && s.useOriginalBrightness;
    p.rainbow = s.useRainbow;
    p.circular = s.circularRainbow;
    p.xCenter = pipelineValue(s, &S::sourceBugX);
    p.yCenter = pipelineValue(s, &S::sourceBugY);
    p.xOffset = pipelineValue(s, &S::rainbowXOffset);
    p.yOffset = pipelineValue(s, &S::rainbowYOffset);
    p.hue = pipelineValue(s, &S::userHue);
    p.saturation = pipelineValue(s, &S::userSaturation);
    p.brightness = pipelineValue(s, &S::userBrightness);
    p.margin = pipelineValue(s, &S::aquaMargin);
    p.contrast = pipelineValue(s, &S::userContrast);
    p.alpha = pipelineValue(s, &S::userAlpha);
    return p;
}

// Thrown when the thread's render is superseded; not a failure.
struct RenderCancelled {};

void stopIfCancelled()
{
    if (cancellationRequested())
        throw RenderCancelled{};
}

} // namespace

PipelineChanges& PipelineChanges::operator|=(const PipelineChanges& other)
{
    sourceImage = sourceImage || other.sourceImage;
    tint = tint || other.tint;
    shadow = shadow || other.shadow;
    finalSize = finalSize || other.finalSize;
    return *this;
}

PipelineChanges changesBetween(const TintSettings& before, const TintSettings& after)
{
    PipelineChanges changes;
    for (const SettingField& f : settingFields()) {
        if (f.isDisplayOption() || !differs(f, before, after) ||
            (f.countsWhile && !f.countsWhile(after)))
            continue;
        switch (f.remakes) {
        case Remakes::tint: changes.tint = true; break;
        case Remakes::shadow: changes.shadow = true; break;
        case Remakes::size: changes.finalSize = true; break;
        case Remakes::nothing: break;
        }
    }
    return changes;
}

bool documentSettingsDiffer(const TintSettings& before, const TintSettings& after)
{
    return !sameApartFromDisplay(before, after);
}

std::optional<std::pair<int, int>> RenderPipeline::finalPixelSize(float srcW, float srcH,
                                                                  float finalSize)
{
    const double scale = double(finalSize) / 100.0;
    auto side = [&](float src) -> double {
        const double v = std::round(double(src) * scale);
        return v >= 1.0 ? v : 1.0; // also NaN
    };
    const double w = side(srcW);
    const double h = side(srcH);
    if (w > double(kMaxBitmapPixels) || h > double(kMaxBitmapPixels) ||
        !bitmapSizeAllowed(std::int64_t(w), std::int64_t(h)))
        return std::nullopt;
    return std::make_pair(int(w), int(h));
}

void RenderPipeline::invalidate(PipelineChanges changes)
{
    if (changes.sourceImage) {
        sourceBitmap_.drop();
        analysis_.drop();
        shadow_.drop();
        tinted_.drop();
        composite_.drop();
        finalMix_.valid = false;
        finalMixImageNeedsRealloc_ = true;
    }
    if (changes.shadow)
        shadow_.valid = composite_.valid = finalMix_.valid = false;
    if (changes.tint)
        tinted_.valid = composite_.valid = finalMix_.valid = false;
    if (changes.finalSize) {
        finalMix_.valid = false;
        finalMixImageNeedsRealloc_ = true;
    }
}

void RenderPipeline::remakeGelcoatWithChanges(const PipelineInput& in, PipelineChanges changes)
{
    invalidate(changes);
    lastFailure_.clear();
    cancelled_ = false;

    if (gelcoatOn_ && in.sourceImage && !in.sourceImage->isNull() && in.settings) {
        try {
            renderStages(in);
        } catch (const RenderCancelled&) {
            cancelled_ = true;
        } catch (const std::exception& e) {
            engineLog("Raise during image caching!");
            lastFailure_ = e.what();
        }
    } else if (gelcoatOn_ && in.settings) {
        lastFailure_ = "There is no stencil to render.";
    }
    updateShadowWarning();
    updateDestination();
}

void RenderPipeline::renderStages(const PipelineInput& in)
{
    const TintSettings& s = *in.settings;
    takeSkippedWork();
    // Between stages a superseded render stops, keeping the stages done.
    auto next = [this](PipelineStage stage) {
        if (stageHook_)
            stageHook_(stage);
        stopIfCancelled();
    };
    if (!sourceBitmap_.image) {
        next(PipelineStage::sourceBitmap);
        renderSourceBitmap(*in.sourceImage);
    }
    if (!analysis_.valid) {
        next(PipelineStage::analysis);
        renderAnalysis();
    }
    if (!tinted_.valid) {
        next(PipelineStage::tinted);
        renderTinted(in);
    }
    // The shadow reads the stencil's alpha, not the HSV bitmap's (the same
    // bytes), so that a one-shot render holds at most three stencil-sized
    // buffers: the stencil, the tinted image and one more.
    if (!keepsStageImages_) {
        analysis_.drop();
        sourceBitmap_.drop();
    }
    if (!shadow_.valid) {
        next(PipelineStage::shadow);
        renderShadow(*in.sourceImage, s);
    }
    if (!composite_.valid) {
        next(PipelineStage::composite);
        renderComposite(s);
    }
    if (!keepsStageImages_) {
        tinted_.drop();
        shadow_.drop();
    }
    if (!finalMix_.valid) {
        next(PipelineStage::finalMix);
        renderFinalMix(in);
    }
}

// Each stage makes its buffer the first time it runs. Only the HSV bitmap
// starts from the source's pixels; every other stage overwrites all of its
// output, so those buffers are left uninitialised.
namespace {
BitmapRep& outputFor(StageImage& stage, const BitmapRep& sizeOf, bool failing)
{
    if (failing)
        stage.image = unusableBuffer(sizeOf.pixelsWide(), sizeOf.pixelsHigh());
    else if (!stage.image)
        stage.image = allocateImage(sizeOf.pixelsWide(), sizeOf.pixelsHigh());
    return *stage.image;
}
} // namespace

void RenderPipeline::renderSourceBitmap(const BitmapRep& source)
{
    BitmapRep& bitmap =
        outputFor(sourceBitmap_, source, failingStage_ == PipelineStage::sourceBitmap);
    const StageStatus status =
        copyPixels(source, bitmap) ? hsvConvertImage(bitmap) : StageStatus::wrongOutputFormat;
    ++counts_.sourceBitmap;
    finish(sourceBitmap_, PipelineStage::sourceBitmap, status);
}

void RenderPipeline::renderAnalysis()
{
    const BitmapRep& bitmap = *sourceBitmap_.image;
    BitmapRep& out = outputFor(analysis_, bitmap, failingStage_ == PipelineStage::analysis);
    const StageStatus status = analyzeImage(bitmap, out);
    ++counts_.analysis;
    finish(analysis_, PipelineStage::analysis, status);
}

// Each tinted pixel needs only the analysis of the same pixel, so a render
// that keeps no stage images writes it over the analysis.
void RenderPipeline::renderTinted(const PipelineInput& in)
{
    const BitmapRep& bitmap = *sourceBitmap_.image;
    const bool failing = failingStage_ == PipelineStage::tinted;
    if (!keepsStageImages_ && !failing && !tinted_.image) {
        tinted_.image = std::move(analysis_.image);
        analysis_.drop();
    }
    const BitmapRep& analysis = analysis_.image ? *analysis_.image : *tinted_.image;
    BitmapRep& out = outputFor(tinted_, bitmap, failing);
    const StageStatus status = aquifyImage(bitmap, analysis, out, glossParameters(in));
    ++counts_.tinted;
    finish(tinted_, PipelineStage::tinted, status);
}

void RenderPipeline::renderShadow(const BitmapRep& stencil, const TintSettings& s)
{
    if (s.shadowDensity <= 0.0f) {
        shadowReport_.needsWarning = false;
        shadow_.valid = true;
        return;
    }
    BitmapRep& out = outputFor(shadow_, stencil, failingStage_ == PipelineStage::shadow);
    const StageStatus status =
        gelcoat::shadowImage(stencil, out, s.shadowDensity, s.shadowSharpness,
                             truncatedOffset(pipelineValue(s, &TintSettings::shadowXOffset)),
                             truncatedOffset(pipelineValue(s, &TintSettings::shadowYOffset)),
                             &shadowReport_);
    ++counts_.shadow;
    finish(shadow_, PipelineStage::shadow, status);
}

void RenderPipeline::renderComposite(const TintSettings& s)
{
    const BitmapRep& tinted = *tinted_.image;
    const bool failing = failingStage_ == PipelineStage::composite;
    const bool overShadow = shadow_.image && s.shadowDensity > 0.0f;
    // Without stage images to keep, the tinted image is drawn over the
    // shadow in the shadow's own buffer.
    const bool inPlace = overShadow && !keepsStageImages_ && !failing && !composite_.image;
    if (inPlace) {
        composite_.image = std::move(shadow_.image);
        shadow_.drop();
    }
    BitmapRep& out = outputFor(composite_, tinted, failing);
    const bool drawn = !overShadow ? copyPixels(tinted, out)
                       : inPlace   ? compositeSourceOver(tinted, out)
                                   : compositeSourceOver(tinted, *shadow_.image, out);
    ++counts_.composite;
    finish(composite_, PipelineStage::composite,
           drawn ? StageStatus::done : StageStatus::wrongOutputFormat);
}

void RenderPipeline::renderFinalMix(const PipelineInput& in)
{
    const BitmapSize size = in.sourceImage->size();
    const auto finalPx = finalPixelSize(size.width, size.height, in.settings->finalSize);
    if (!finalPx) {
        std::ostringstream message;
        message << "A final size of " << in.settings->finalSize
                << " % would make the result too large.";
        throw RenderFailure(message.str());
    }
    const auto [finalW, finalH] = *finalPx;
    std::optional<BitmapRep>& image = finalMix_.image;
    if (finalMixImageNeedsRealloc_ ||
        (image && (image->pixelsWide() != finalW || image->pixelsHigh() != finalH)))
        image.reset();
    if (failingStage_ == PipelineStage::finalMix)
        image = unusableBuffer(finalW, finalH);
    ++counts_.finalMix;
    try {
        setUpStencil(image, finalW, finalH, *composite_.image, 0);
    } catch (const RenderFailure&) {
        finalMix_.drop();
        throw;
    }
    if (takeSkippedWork()) {
        finalMix_.valid = false;
        throw RenderCancelled{};
    }
    finalMixImageNeedsRealloc_ = false;
    finalMix_.valid = true;
}

// A stage that did not complete leaves its result invalid and drops its
// buffer, so that the next remake starts it afresh; the stages after it do
// not run.
void RenderPipeline::finish(StageImage& stage, PipelineStage which, StageStatus status)
{
    if (takeSkippedWork()) {
        // Superseded part way. The next run overwrites the whole buffer,
        // except the HSV bitmap's, which is valid while it exists.
        if (which == PipelineStage::sourceBitmap)
            stage.drop();
        else
            stage.valid = false;
        throw RenderCancelled{};
    }
    if (status != StageStatus::done) {
        stage.drop();
        throw RenderFailure(std::string("The ") + stageName(which) + " stage failed: " +
                            describe(status) + ".");
    }
    stage.valid = true;
}

void RenderPipeline::updateShadowWarning()
{
    const bool show = shadowReport_.needsWarning && gelcoatOn_;
    if (show != shadowHasWarning_) {
        shadowHasWarning_ = show;
        if (destination_)
            destination_->setShadowWarningShown(show);
    }
}

void RenderPipeline::updateDestination()
{
    if (!destination_)
        return;
    if (finalMix_.valid && finalMix_.image)
        destination_->setImage(*finalMix_.image);
    destination_->setImageValid(finalMix_.valid);
}

void RenderPipeline::toggleTinting(const PipelineInput& in)
{
    gelcoatOn_ = !gelcoatOn_;
    finalMix_.valid = false;
    remakeGelcoatWithChanges(in, {});
}

void RenderPipeline::setGelcoatOn(bool on)
{
    if (on == gelcoatOn_)
        return;
    gelcoatOn_ = on;
    finalMix_.valid = false;
}

void RenderPipeline::gelcoatChanged(const PipelineInput& in, bool state)
{
    if (state == gelcoatOn_)
        return;
    gelcoatOn_ = state;
    finalMix_.valid = false;
    remakeGelcoatWithChanges(in, {});
}

} // namespace gelcoat
