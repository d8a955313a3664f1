#include "pipeline/RenderPipeline.h"

#include "pipeline/StencilDrawing.h"

#include "buffer/EngineLog.h"
#include "draw/Draw.h"
#include "shading/Gloss.h"
#include "stencil/StencilOps.h"

#include <cmath>
#include <sstream>

namespace gelcoat {

namespace {

// A new buffer holding the source picture drawn at its own size.
BitmapRep renderedSource(const BitmapRep& source)
{
    BitmapRep rep = allocateImage(source.pixelsWide(), source.pixelsHigh());
    copyPixels(source, rep);
    return rep;
}

AquifyParameters glossParameters(const PipelineInput& in)
{
    const TintSettings& s = *in.settings;
    const bool original = !in.sourceImageIsSimple;
    AquifyParameters p;
    p.useOriginalHue = original && s.useOriginalHue;
    p.useOriginalSaturation = original && s.useOriginalSaturation;
    p.useOriginalBrightness = original && s.useOriginalBrightness;
    p.rainbow = s.useRainbow;
    p.circular = s.circularRainbow;
    p.xCenter = float(s.sourceBugX);
    p.yCenter = -float(s.sourceBugY);
    p.xOffset = s.rainbowXOffset;
    p.yOffset = -s.rainbowYOffset;
    p.hue = s.userHue / 100.0f;
    p.saturation = s.userSaturation / 100.0f;
    p.brightness = (s.userBrightness - 100.0f) / 100.0f;
    p.margin = 100.0f - s.aquaMargin;
    const float c = s.userContrast / 100.0f;
    p.contrast = c * c * c;
    p.alpha = s.userAlpha / 100.0f;
    return p;
}

} // namespace

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

void RenderPipeline::invalidate(bool changedSourceImage, bool tintParameters,
                                bool shadowParameters, bool finalSize)
{
    if (changedSourceImage) {
        sourceImageBitmap_.reset();
        sourceAnalysis_.reset();
        shadowImage_.reset();
        unscaledTintedImage_.reset();
        unscaledShadowedImage_.reset();
        sourceAnalysisValid_ = shadowImageValid_ = unscaledTintedImageValid_ = false;
        unscaledShadowedImageValid_ = finalMixImageValid_ = false;
        finalMixImageNeedsRealloc_ = true;
    }
    if (shadowParameters)
        shadowImageValid_ = unscaledShadowedImageValid_ = finalMixImageValid_ = false;
    if (tintParameters)
        unscaledTintedImageValid_ = unscaledShadowedImageValid_ = finalMixImageValid_ = false;
    if (finalSize) {
        finalMixImageValid_ = false;
        finalMixImageNeedsRealloc_ = true;
    }
}

void RenderPipeline::remakeGelcoatWithChangedSourceImage(const PipelineInput& in,
                                                         bool changedSourceImage,
                                                         bool tintParameters,
                                                         bool shadowParameters, bool finalSize)
{
    invalidate(changedSourceImage, tintParameters, shadowParameters, finalSize);
    lastFailure_.clear();

    if (gelcoatOn && in.sourceImage && !in.sourceImage->isNull() && in.settings) {
        try {
            renderStages(in);
        } catch (const std::exception& e) {
            engineLog("Raise during image caching!");
            lastFailure_ = e.what();
        }
    } else if (gelcoatOn && in.settings) {
        lastFailure_ = "There is no stencil to render.";
    }
    updateShadowWarning();
    updateDestination();
}

void RenderPipeline::renderStages(const PipelineInput& in)
{
    const TintSettings& s = *in.settings;
    ensureBuffers(*in.sourceImage);
    if (!sourceAnalysisValid_) {
        analyzeImage(*sourceImageBitmap_, *sourceAnalysis_);
        ++counts_.analysis;
        sourceAnalysisValid_ = true;
    }
    if (!unscaledTintedImageValid_)
        renderTinted(in);
    if (!shadowImageValid_)
        renderShadow(s);
    if (!unscaledShadowedImageValid_)
        renderComposite(s);
    if (!finalMixImageValid_)
        renderFinalMix(in);
}

void RenderPipeline::ensureBuffers(const BitmapRep& source)
{
    if (sourceImageBitmap_ && sourceAnalysis_ && shadowImage_)
        return;
    if (!sourceImageBitmap_) {
        sourceImageBitmap_ = renderedSource(source);
        hsvConvertImage(*sourceImageBitmap_);
        ++counts_.sourceBitmap;
    }
    if (!sourceAnalysis_)
        sourceAnalysis_ = renderedSource(source);
    if (!shadowImage_)
        shadowImage_ = renderedSource(source);
    if (!unscaledTintedImage_)
        unscaledTintedImage_ = renderedSource(source);
}

void RenderPipeline::renderTinted(const PipelineInput& in)
{
    if (!unscaledTintedImage_)
        unscaledTintedImage_ = renderedSource(*in.sourceImage);
    aquifyImage(*sourceImageBitmap_, *sourceAnalysis_, *unscaledTintedImage_, glossParameters(in));
    ++counts_.tinted;
    unscaledTintedImageValid_ = true;
}

void RenderPipeline::renderShadow(const TintSettings& s)
{
    if (s.shadowDensity <= 0.0f) {
        shadowReport_.needsWarning = false;
    } else {
        gelcoat::shadowImage(*sourceImageBitmap_, *shadowImage_, s.shadowDensity, s.shadowSharpness,
                    truncatedOffset(s.shadowXOffset), truncatedOffset(-s.shadowYOffset),
                    &shadowReport_);
        ++counts_.shadow;
    }
    shadowImageValid_ = true;
}

void RenderPipeline::renderComposite(const TintSettings& s)
{
    const BitmapRep& tinted = *unscaledTintedImage_;
    if (!unscaledShadowedImage_)
        unscaledShadowedImage_ = allocateImage(tinted.pixelsWide(), tinted.pixelsHigh());
    if (shadowImage_ && s.shadowDensity > 0.0f) {
        compositeSourceOver(tinted, *shadowImage_, *unscaledShadowedImage_);
    } else {
        copyPixels(tinted, *unscaledShadowedImage_);
    }
    ++counts_.composite;
    unscaledShadowedImageValid_ = true;
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
    if (finalMixImageNeedsRealloc_)
        finalMixImage_.reset();
    if (finalMixImage_ &&
        (finalMixImage_->pixelsWide() != finalW || finalMixImage_->pixelsHigh() != finalH))
        finalMixImage_.reset();
    setUpStencil(finalMixImage_, finalW, finalH, *unscaledShadowedImage_, 0);
    ++counts_.finalMix;
    finalMixImageNeedsRealloc_ = false;
    finalMixImageValid_ = true;
}

void RenderPipeline::updateShadowWarning()
{
    const bool show = shadowReport_.needsWarning && gelcoatOn;
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
    if (finalMixImageValid_ && finalMixImage_)
        destination_->setImage(*finalMixImage_);
    destination_->setImageValid(finalMixImageValid_);
}

void RenderPipeline::toggleTinting(const PipelineInput& in)
{
    gelcoatOn = !gelcoatOn;
    finalMixImageValid_ = false;
    remakeGelcoatWithChangedSourceImage(in, false, false, false, false);
}

void RenderPipeline::gelcoatChanged(const PipelineInput& in, bool state)
{
    if (state == gelcoatOn)
        return;
    gelcoatOn = state;
    finalMixImageValid_ = false;
    remakeGelcoatWithChangedSourceImage(in, false, false, false, false);
}

} // namespace gelcoat
