#include "model/TintDocument.h"

#include "resources/BundleImages.h"
#include "settings/DisplayDefaults.h"

namespace gelcoat {

std::optional<SourcePicture> copyPicture(const SourcePicture& picture)
{
    SourcePicture copy;
    copy.representationCount = picture.representationCount;
    copy.isBitmap = picture.isBitmap;
    copy.bitsPerSample = picture.bitsPerSample;
    copy.samplesPerPixel = picture.samplesPerPixel;
    copy.bitsPerPixel = picture.bitsPerPixel;
    copy.hasAlpha = picture.hasAlpha;
    copy.isPlanar = picture.isPlanar;
    copy.unsupportedColourModel = picture.unsupportedColourModel;
    if (!picture.pixels.isNull()) {
        auto pixels = picture.pixels.clone();
        if (!pixels)
            return std::nullopt;
        copy.pixels = std::move(*pixels);
    }
    return copy;
}

TintDocument::TintDocument(QObject* parent) : Document(parent)
{
    installEngineResources();
    registerDefaults();
    pipeline_.gelcoatOn = true;
    setToDefaults(settings);
    readDisplayDefaults(settings);
    if (const auto& start = startPicture()) {
        if (auto copy = copyPicture(*start))
            _useImage(std::move(*copy), QString(), false);
    }
    pipeline_.setDestination(this);
}

TintDocument::~TintDocument() = default;

PipelineInput TintDocument::pipelineInput() const
{
    PipelineInput in;
    in.sourceImage = sourceImage_ ? &*sourceImage_ : nullptr;
    in.sourceImageIsSimple = sourceImageIsSimple_;
    in.settings = &settings;
    return in;
}

void TintDocument::remakeGelcoatWithChangedSourceImage(bool changedSourceImage,
                                                       bool tintParameters,
                                                       bool shadowParameters, bool finalSize)
{
    pipeline_.remakeGelcoatWithChangedSourceImage(pipelineInput(), changedSourceImage,
                                                  tintParameters, shadowParameters, finalSize);
}

void TintDocument::toggleTinting()
{
    pipeline_.toggleTinting(pipelineInput());
}

void TintDocument::gelcoatChanged(bool state)
{
    pipeline_.gelcoatChanged(pipelineInput(), state);
}

void TintDocument::refreshUIFromModel()
{
    emit controlsNeedRefresh();
    remakeGelcoatWithChangedSourceImage(true, true, true, true);
}

bool TintDocument::_useImage(SourcePicture picture, const QString& path, bool internallyGenerated)
{
    bool simple = sourceImageIsSimple_;
    if (!internallyGenerated) {
        const std::optional<bool> accepted = checkImage(picture);
        if (!accepted)
            return false;
        simple = *accepted;
    } else if (!isEngineFormat(picture.pixels)) {
        return false;
    }
    sourceImagePath_ = path;
    sourceImage_ = std::move(picture.pixels);
    sourceImageIsSimple_ = simple;
    unreadableSourceData_.clear();
    return true;
}

bool TintDocument::useImage(SourcePicture picture, const QString& path, bool resetBug,
                            bool internallyGenerated)
{
    if (!_useImage(std::move(picture), path, internallyGenerated))
        return false;
    updateChangeCount();
    emit sourceImageChanged();
    if (resetBug) {
        settings.sourceBugX = 0;
        settings.sourceBugY = 0;
    }
    remakeGelcoatWithChangedSourceImage(true, false, false, false);
    return true;
}

bool TintDocument::useBuiltInPicture(const std::optional<SourcePicture>& picture)
{
    if (!picture)
        return false;
    auto copy = copyPicture(*picture);
    if (!copy || !useImage(std::move(*copy), QString(), true, false))
        return false;
    refreshUIFromModel();
    return true;
}

bool TintDocument::takeMossStencil()
{
    setToDefaults(settings);
    return useBuiltInPicture(startPicture());
}

bool TintDocument::takeFootStencil()
{
    setToDefaults(settings);
    settings.useRainbow = false;
    return useBuiltInPicture(footPicture());
}

bool TintDocument::invertSource()
{
    if (!sourceImage_)
        return false;
    auto inverted = invertedStencil(*sourceImage_);
    if (!inverted)
        return false;
    SourcePicture picture;
    picture.pixels = std::move(*inverted);
    return useImage(std::move(picture), QString(), false, true);
}

bool TintDocument::applySizeAdjustment(const StencilMargins& margins, QString* refusal)
{
    if (!sourceImage_)
        return false;
    auto adjusted = adjustedStencil(*sourceImage_, margins, refusal);
    if (!adjusted)
        return false;
    SourcePicture picture;
    picture.pixels = std::move(*adjusted);
    return useImage(std::move(picture), QString(), false, true);
}

void TintDocument::useDefaultSettings()
{
    usePreset(TintPreset::Default);
}

void TintDocument::usePreset(TintPreset preset)
{
    applyPreset(settings, preset);
    updateChangeCount();
    refreshUIFromModel();
}

void TintDocument::setImage(const BitmapRep&)
{
    emit finalImageChanged();
}

void TintDocument::setImageValid(bool valid)
{
    emit finalImageValidChanged(valid);
}

void TintDocument::setShadowWarningShown(bool shown)
{
    emit shadowWarningShownChanged(shown);
}

} // namespace gelcoat
