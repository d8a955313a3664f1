#include "document/model/TintDocument.h"

#include "document/resources/BundleImages.h"
#include "document/settings/DisplayDefaults.h"
#include "document/settings/SettingsStepName.h"

#include <algorithm>

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

TintDocument::~TintDocument()
{
    worker_.reset();
}

RenderPipeline& TintDocument::pipeline()
{
    finishRendering();
    return pipeline_;
}

const RenderPipeline& TintDocument::pipeline() const
{
    finishRendering();
    return pipeline_;
}

bool TintDocument::gelcoatOn() const
{
    return worker_ ? gelcoatOn_ : pipeline_.gelcoatOn();
}

void TintDocument::setRendersInBackground(bool background)
{
    if (background == rendersInBackground())
        return;
    if (!background) {
        finishRendering();
        worker_.reset();
        pipeline_.setDestination(this);
        return;
    }
    gelcoatOn_ = pipeline_.gelcoatOn();
    finalImageValid_ = pipeline_.finalMixImageValid();
    shadowWarningShown_ = pipeline_.shadowHasWarning();
    shadowReport_ = pipeline_.shadowWarning();
    pipeline_.setDestination(nullptr);
    // Results wait in a queue of the document's own for its thread, which a
    // posted call drains; one still on its way when the document goes is
    // dropped with it.
    worker_ = std::make_unique<RenderWorker>(pipeline_, [this](const RenderResult& result) {
        {
            const std::lock_guard lock(handedMutex_);
            handed_.push_back(result);
        }
        QMetaObject::invokeMethod(this, &TintDocument::takeHandedResults, Qt::QueuedConnection);
    });
}

void TintDocument::setPreviewRoom(int width, int height)
{
    roomWidth_ = std::max(0, width);
    roomHeight_ = std::max(0, height);
}

const ShadowReport& TintDocument::shadowWarning() const
{
    return worker_ ? shadowReport_ : pipeline_.shadowWarning();
}

bool TintDocument::resultIsCurrent() const
{
    return !worker_ || takenGeneration_ == requestedGeneration_;
}

void TintDocument::finishRendering() const
{
    if (!worker_)
        return;
    worker_->waitUntilIdle();
    const_cast<TintDocument*>(this)->takeHandedResults();
    if (const std::optional<RenderResult> last = worker_->lastResult())
        const_cast<TintDocument*>(this)->takeResult(*last);
}

void TintDocument::stopRendering()
{
    if (!worker_)
        return;
    worker_->stop();
    firstWantedGeneration_ = requestedGeneration_ + 1;
    takenGeneration_ = requestedGeneration_;
}

void TintDocument::takeHandedResults()
{
    std::vector<RenderResult> results;
    {
        const std::lock_guard lock(handedMutex_);
        results.swap(handed_);
    }
    for (const RenderResult& result : results)
        takeResult(result);
}

// Results come in the order asked for; one older than what is shown, or
// made before the stencil was replaced, is passed over.
void TintDocument::takeResult(const RenderResult& result)
{
    if (result.generation < firstWantedGeneration_ || result.generation <= takenGeneration_)
        return;
    if (result.preview) {
        if (result.generation <= previewGeneration_)
            return;
        previewGeneration_ = result.generation;
        previewImage_ = result.finalImage;
        previewFor_ = {result.exactWidth, result.exactHeight};
        emit previewChanged();
        return;
    }
    takenGeneration_ = result.generation;
    // The exact result replaces any preview shown meanwhile.
    const bool previewShown = previewImage_ != nullptr;
    previewImage_.reset();
    shadowReport_ = result.shadowReport;
    finalImageValid_ = result.valid;
    const bool newImage = result.valid && result.finalImage &&
                          (result.finalImage != finalImage_ || result.roomImage != roomImage_);
    if (newImage) {
        finalImage_ = result.finalImage;
        roomImage_ = result.roomImage;
    }
    if (newImage || previewShown)
        emit finalImageChanged();
    emit finalImageValidChanged(result.valid);
    if (result.shadowWarningShown != shadowWarningShown_) {
        shadowWarningShown_ = result.shadowWarningShown;
        emit shadowWarningShownChanged(shadowWarningShown_);
    }
    emit renderDelivered();
}

PipelineInput TintDocument::pipelineInput() const
{
    PipelineInput in;
    in.sourceImage = sourceImage_ ? &*sourceImage_ : nullptr;
    in.sourceImageIsSimple = sourceImageIsSimple_;
    in.settings = &settings_;
    return in;
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
    forgetUndoHistory();
    refreshUIFromModel();
}

void TintDocument::remakeGelcoatWithChanges(PipelineChanges changes)
{
    if (!worker_) {
        pipeline_.remakeGelcoatWithChanges(pipelineInput(), changes);
        return;
    }
    RenderRequest request;
    request.source = sourceImage_ ? &*sourceImage_ : nullptr;
    request.sourceIsSimple = sourceImageIsSimple_;
    request.settings = settings_;
    request.changes = changes;
    request.gelcoatOn = gelcoatOn_;
    request.generation = ++requestedGeneration_;
    request.roomWidth = roomWidth_;
    request.roomHeight = roomHeight_;
    worker_->request(std::move(request));
}

void TintDocument::toggleTinting()
{
    gelcoatChanged(!gelcoatOn());
}

void TintDocument::gelcoatChanged(bool state)
{
    const bool before = gelcoatOn();
    if (!worker_) {
        pipeline_.gelcoatChanged(pipelineInput(), state);
    } else if (state != gelcoatOn_) {
        // The worker's pipeline invalidates its final mix on the switch.
        gelcoatOn_ = state;
        remakeGelcoatWithChanges({});
    }
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
    replaceStencil(std::move(picture.pixels), simple, path);
    stencilVectorSource_ = std::move(picture.vectorSource);
    return true;
}

void TintDocument::replaceStencil(BitmapRep pixels, bool simple, const QString& path)
{
    stopRendering();
    previous_.reset();
    sourceImagePath_ = path;
    sourceImage_ = std::move(pixels);
    sourceImageIsSimple_ = simple;
    unreadableSourceData_.clear();
    stencilVectorSource_.clear();
}

void TintDocument::useCheckedImage(BitmapRep pixels, bool simple, const QString& path,
                                   QByteArray vectorSource)
{
    PreviousStencil previous;
    previous.simple = sourceImageIsSimple_;
    previous.path = sourceImagePath_;
    previous.unreadableData = unreadableSourceData_;
    previous.vectorSource = stencilVectorSource_;
    previous.bug = bugPosition(settings_);
    previous.edited = isDocumentEdited();
    stopRendering();
    // Moved aside, not copied: the two never need more than one buffer each.
    previous.image = std::move(sourceImage_);
    replaceStencil(std::move(pixels), simple, path);
    stencilVectorSource_ = std::move(vectorSource);
    previous_ = std::move(previous);
    updateChangeCount();
    moveBug(settings_, {});
    emit sourceImageChanged();
    remakeGelcoatWithChanges({.sourceImage = true});
}

// The stencil that went stays gone: so do the steps made on it, whose bug
// positions belong to it.
void TintDocument::keepNewImage()
{
    previous_.reset();
    forgetUndoHistory();
}

bool TintDocument::putBackPreviousImage()
{
    if (!previous_)
        return false;
    PreviousStencil previous = std::move(*previous_);
    previous_.reset();
    stopRendering();
    sourceImage_ = std::move(previous.image);
    sourceImageIsSimple_ = previous.simple;
    sourceImagePath_ = previous.path;
    unreadableSourceData_ = previous.unreadableData;
    stencilVectorSource_ = previous.vectorSource;
    moveBug(settings_, previous.bug);
    if (!previous.edited)
        clearChangeCount();
    emit sourceImageChanged();
    remakeGelcoatWithChanges({.sourceImage = true});
    return true;
}

bool TintDocument::useImage(SourcePicture picture, const QString& path, bool resetBug,
                            bool internallyGenerated)
{
    if (!adoptImage(std::move(picture), path, internallyGenerated))
        return false;
    updateChangeCount();
    forgetUndoHistory();
    // Views showing the new source read the bug with it.
    if (resetBug)
        moveBug(settings_, {});
    emit sourceImageChanged();
    remakeGelcoatWithChanges({.sourceImage = true});
    return true;
}

// The settings go to their defaults only once the picture is there.
bool TintDocument::useBuiltInPicture(const std::optional<SourcePicture>& picture, bool foot)
{
    if (!picture)
        return false;
    auto copy = copyPicture(*picture);
    if (!copy)
        return false;
    const TintSettings before = settings_;
    setToDefaults(settings_);
    if (foot)
        settings_.useRainbow = false;
    if (!useImage(std::move(*copy), QString(), true, false)) {
        settings_ = before;
        return false;
    }
    refreshUIFromModel();
    return true;
}

bool TintDocument::takeMossStencil()
{
    return useBuiltInPicture(startPicture(), false);
}

bool TintDocument::takeFootStencil()
{
    return useBuiltInPicture(footPicture(), true);
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
    endSettingsDrag();
    const TintSettings before = settings_;
    applyPreset(settings_, preset);
    if (documentSettingsDiffer(before, settings_))
        pushSettingsStep(before, presetStepName(preset));
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
