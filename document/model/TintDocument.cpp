#include "document/model/TintDocument.h"

#include "document/resources/BundleImages.h"
#include "document/settings/DisplayDefaults.h"

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

TintDocument::TintDocument(QObject* parent, FirstStencil first) : Document(parent)
{
    installEngineResources();
    registerDefaults();
    setToDefaults(settings_);
    readDisplayDefaults(settings_);
    if (first == FirstStencil::StartPicture) {
        if (const auto& start = startPicture())
            if (auto copy = copyPicture(*start))
                adoptImage(std::move(*copy), QString(), false);
    }
    pipeline_.setDestination(this);
}

TintDocument::~TintDocument() = default;

PipelineInput TintDocument::pipelineInput() const
{
    PipelineInput in;
    in.sourceImage = sourceImage_ ? &*sourceImage_ : nullptr;
    in.sourceImageIsSimple = sourceImageIsSimple_;
    in.settings = &settings_;
    return in;
}

bool TintDocument::changeSettings(const TintSettings& next)
{
    TintSettings stored = next;
    copyDisplayOptions(settings_, stored);
    if (!documentSettingsDiffer(settings_, stored))
        return false;
    const PipelineChanges changes = changesBetween(settings_, stored);
    settings_ = stored;
    updateChangeCount();
    if (changes.any())
        remakeGelcoatWithChanges(changes);
    return true;
}

void TintDocument::changeDisplayOptions(const TintSettings& next)
{
    TintSettings stored = settings_;
    copyDisplayOptions(next, stored);
    if (stored == settings_)
        return;
    writeChangedDisplayDefaults(settings_, stored);
    settings_ = stored;
    emit displayOptionsChanged();
}

void TintDocument::replaceSettings(const TintSettings& next)
{
    settings_ = next;
    updateChangeCount();
    refreshUIFromModel();
}

void TintDocument::remakeGelcoatWithChanges(PipelineChanges changes)
{
    pipeline_.remakeGelcoatWithChanges(pipelineInput(), changes);
}

void TintDocument::toggleTinting()
{
    const bool before = gelcoatOn();
    pipeline_.toggleTinting(pipelineInput());
    emitGelcoatOnIfChanged(before);
}

void TintDocument::gelcoatChanged(bool state)
{
    const bool before = gelcoatOn();
    pipeline_.gelcoatChanged(pipelineInput(), state);
    emitGelcoatOnIfChanged(before);
}

void TintDocument::emitGelcoatOnIfChanged(bool before)
{
    if (gelcoatOn() != before)
        emit gelcoatOnChanged(gelcoatOn());
}

void TintDocument::refreshUIFromModel()
{
    emit controlsNeedRefresh();
    remakeGelcoatWithChanges(PipelineChanges::all());
}

bool TintDocument::adoptImage(SourcePicture picture, const QString& path, bool internallyGenerated,
                              IntakeRefusal* refusal)
{
    bool simple = sourceImageIsSimple_;
    if (!internallyGenerated) {
        const std::optional<bool> accepted = checkImage(picture, refusal);
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
    if (!adoptImage(std::move(picture), path, internallyGenerated))
        return false;
    updateChangeCount();
    // Views showing the new source read the bug with it.
    if (resetBug) {
        settings_.sourceBugX = 0;
        settings_.sourceBugY = 0;
    }
    emit sourceImageChanged();
    remakeGelcoatWithChanges({.sourceImage = true});
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
    setToDefaults(settings_);
    return useBuiltInPicture(startPicture());
}

bool TintDocument::takeFootStencil()
{
    setToDefaults(settings_);
    settings_.useRainbow = false;
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
    applyPreset(settings_, preset);
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
