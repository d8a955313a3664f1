#pragma once
// The model side of a Gelcoat document: its settings, its stencil and the
// render pipeline that turns one into the other. Windows observe it through
// signals; nothing here knows about widgets.

#include "document/intake/SourcePicture.h"
#include "document/model/Document.h"
#include "document/intake/StencilIntake.h"
#include "document/pipeline/RenderPipeline.h"
#include "document/pipeline/RenderWorker.h"
#include "document/settings/TintSettings.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace gelcoat {

class TintDocument : public Document, private PipelineDestination {
    Q_OBJECT
public:
    // A new document: display options from the user defaults, every other
    // setting at its default, and the start picture as its stencil, or no
    // stencil at all for a caller that adopts its own at once (the start
    // picture is then never decoded).
    enum class FirstStencil { StartPicture, None };
    explicit TintDocument(QObject* parent = nullptr,
                          FirstStencil first = FirstStencil::StartPicture);
    ~TintDocument() override;

    const TintSettings& settings() const { return settings_; }

    // The one way a control changes the settings. Fields are compared by
    // exact equality; when nothing a document saves differs, nothing
    // happens and the answer is false. Otherwise the settings are stored,
    // the stages the difference touches are remade (see changesBetween)
    // and the change goes on the undo stack as a step named stepName, or
    // by default after the control whose fields it touched. Display
    // options in next are ignored.
    bool changeSettings(const TintSettings& next, const QString& stepName = QString());
    template <class Edit>
    bool changeSetting(Edit&& edit)
    {
        TintSettings next = settings_;
        edit(next);
        return changeSettings(next);
    }

    // A drag of a slider, a circle or the bug: every change from the press
    // to the release is made as it comes and goes on the undo stack as one
    // step when the drag ends, if the settings then differ from those at
    // its start. The document shows as edited meanwhile.
    void beginSettingsDrag();
    void endSettingsDrag();
    bool settingsDragOpen() const { return dragStart_.has_value(); }

    // What undoing or redoing a step does: the document's settings of
    // settings stored through the same path as a control's change, the
    // stages the difference touches remade, and settingsReplaced sent so
    // that every control shows them. The display options stay.
    void restoreSettings(const TintSettings& settings);

    // The display options of the two views (the six flags and the result's
    // background): stored and written to the user defaults so that later
    // documents start with them, without marking the document edited.
    void changeDisplayOptions(const TintSettings& next);

    // Replaces every setting at once (a script's options): marks the
    // document edited, clears the undo stack and remakes everything.
    void replaceSettings(const TintSettings& next);

    const std::optional<BitmapRep>& sourceImage() const { return sourceImage_; }
    bool sourceImageIsSimple() const { return sourceImageIsSimple_; }
    const QString& sourceImagePath() const { return sourceImagePath_; }
    // The SVG text the stencil was drawn from when it came in as a vector
    // picture, for exports that want the drawing itself (an icon theme's
    // scalable icon); empty for every other stencil, and after anything
    // changes the stencil. Not kept in the document file.
    const QByteArray& stencilVectorSource() const { return stencilVectorSource_; }
    const QString& destImagePath() const { return destImagePath_; }

    // While the document renders in the background, reaching the pipeline
    // waits for the worker to finish (see finishRendering).
    RenderPipeline& pipeline();
    const RenderPipeline& pipeline() const;
    bool gelcoatOn() const;

    // A window's document renders on a thread of its own: each remake only
    // records a request, the latest of which wins, and the results come
    // back through the same signals. A script's document renders inside
    // each call.
    void setRendersInBackground(bool background);
    bool rendersInBackground() const { return worker_ != nullptr; }
    // The last exact result handed back (background rendering only), and
    // whether it was valid when made.
    const std::shared_ptr<const BitmapRep>& finalImage() const { return finalImage_; }
    bool finalImageValid() const { return finalImageValid_; }
    // The exact result reduced to the room it is shown in, when larger.
    const std::shared_ptr<const BitmapRep>& roomImage() const { return roomImage_; }
    // The latest preview and the size of the result it stands in for; none
    // once the exact result of its settings or later ones is in.
    const std::shared_ptr<const BitmapRep>& previewImage() const { return previewImage_; }
    std::pair<int, int> previewStandsFor() const { return previewFor_; }
    // The room the result is shown in, in device pixels; a larger result is
    // previewed at this size while it is made. Empty for no previews.
    void setPreviewRoom(int width, int height);
    // The shadow clipping of the last result.
    const ShadowReport& shadowWarning() const;
    // No render waits or runs and the last one's result has been taken in.
    bool resultIsCurrent() const;
    // Waits for the worker and takes in its last result at once.
    void finishRendering() const;
    // The worker, for tests that hold a render.
    RenderWorker* renderWorker() { return worker_.get(); }

    // The file format. Saving writes every setting, the last export path and
    // the stencil as LZW TIFF (or, for a stencil that could not be decoded,
    // the bytes it was stored as).
    QByteArray dataRepresentationOfType() const override;
    DocumentOutcome loadDataRepresentation(const QByteArray& bytes, LoadMode mode,
                                           const QString& documentPath) override;
    // Reloads the saved file and, when that works, refreshes everything.
    DocumentOutcome revertDocumentToSaved() override;
    // The text of the sheet a revert schedules when the stored external
    // picture is missing.
    QString revertWarningMessage() const;
    // Stored picture bytes that did not decode, kept for the next save.
    const QByteArray& unreadableSourceData() const { return unreadableSourceData_; }

    // Export bookkeeping: a save to a new path records it and marks the
    // document edited, because the path is saved with the document.
    void recordDestImagePath(const QString& path);

    void remakeGelcoatWithChanges(PipelineChanges changes);
    void toggleTinting();
    void gelcoatChanged(bool state);

    // Re-renders with every change flag after the model changed wholesale;
    // windows bring their controls up to date on controlsNeedRefresh.
    void refreshUIFromModel();

    // Intake: an accepted picture becomes the source and everything is
    // remade; internally generated pictures skip the acceptance check and
    // keep the simple flag.
    bool useImage(SourcePicture picture, const QString& path, bool resetBug,
                  bool internallyGenerated);
    // Only the first half of useImage: the picture becomes the source with
    // no edit mark, no signal and no render, for callers that render once
    // afterwards.
    // refusal, when given, says which test of the check refused a picture.
    bool adoptImage(SourcePicture picture, const QString& path, bool internallyGenerated,
                    IntakeRefusal* refusal = nullptr);

    // A picture already through the acceptance check (on another thread)
    // becomes the stencil as useImage makes it, and the stencil it replaces
    // is kept, with its path, simple flag, bug position and edit mark, until
    // keepNewImage() lets it go or putBackPreviousImage() restores it all
    // and renders it again. Any other new stencil lets it go too.
    void useCheckedImage(BitmapRep pixels, bool simple, const QString& path,
                         QByteArray vectorSource = {});
    void keepNewImage();
    bool putBackPreviousImage();

    // The built-in stencils: what the mascot and foot confirmation sheets
    // do on OK (settings to defaults, the picture, a full refresh).
    bool takeMossStencil();
    bool takeFootStencil();

    // Derived stencils. invertSource is false (a beep) when nothing changed;
    // applySizeAdjustment is the adjust-size sheet's OK: it fills refusal
    // with the alert text when the margins are refused.
    bool invertSource();
    bool applySizeAdjustment(const StencilMargins& margins, QString* refusal);

    // Presets: write the values, refresh; a change goes on the undo stack
    // as one step named after the preset.
    void useDefaultSettings();
    void useBluePresets() { usePreset(TintPreset::Blue); }
    void useBlueHighlightedPresets() { usePreset(TintPreset::BlueHighlighted); }
    void useGraphitePresets() { usePreset(TintPreset::Graphite); }
    void useGraphiteHighlightedPresets() { usePreset(TintPreset::GraphiteHighlighted); }
    void useInactivePresets() { usePreset(TintPreset::Inactive); }
    void usePreset(TintPreset preset);

signals:
    void sourceImageChanged();
    void finalImageChanged();
    void finalImageValidChanged(bool valid);
    void shadowWarningShownChanged(bool shown);
    void controlsNeedRefresh();
    // The settings changed other than by a control (an undo, a redo):
    // every control showing one shows it anew.
    void settingsReplaced();
    void displayOptionsChanged();
    void gelcoatOnChanged(bool on);
    // A background render's result was taken in.
    void renderDelivered();
    // A new preview came in.
    void previewChanged();

private:
    PipelineInput pipelineInput() const;
    void setImage(const BitmapRep& finalImage) override;
    void setImageValid(bool valid) override;
    void setShadowWarningShown(bool shown) override;
    bool useBuiltInPicture(const std::optional<SourcePicture>& picture, bool foot);
    // Stores next, ignoring its display options, and remakes the stages the
    // difference touches; false when no setting differs.
    bool storeSettings(const TintSettings& next);
    void pushSettingsStep(const TintSettings& before, const QString& name);
    // After a change that is not on the stack: steps before it could not be
    // undone over it.
    void forgetUndoHistory();
    void emitGelcoatOnIfChanged(bool before);
    // The worker lets go of the stencil before it is replaced.
    void stopRendering();
    void takeResult(const RenderResult& result);
    void takeHandedResults();
    void replaceStencil(BitmapRep pixels, bool simple, const QString& path);

    // The stencil a picture still being taken in replaced.
    struct PreviousStencil {
        std::optional<BitmapRep> image;
        bool simple = false;
        QString path;
        QByteArray unreadableData;
        QByteArray vectorSource;
        BugPosition bug;
        bool edited = false;
    };
    std::optional<PreviousStencil> previous_;

    TintSettings settings_;
    std::optional<TintSettings> dragStart_;
    std::optional<BitmapRep> sourceImage_;
    bool sourceImageIsSimple_ = false;
    QString sourceImagePath_;
    QString destImagePath_;
    QByteArray unreadableSourceData_;
    QByteArray stencilVectorSource_;
    RenderPipeline pipeline_;

    // Background rendering; the worker goes first when the document does.
    bool gelcoatOn_ = true;
    std::uint64_t requestedGeneration_ = 0;
    std::uint64_t takenGeneration_ = 0;
    std::uint64_t firstWantedGeneration_ = 0;
    std::shared_ptr<const BitmapRep> finalImage_;
    std::shared_ptr<const BitmapRep> roomImage_;
    std::shared_ptr<const BitmapRep> previewImage_;
    std::pair<int, int> previewFor_{0, 0};
    std::uint64_t previewGeneration_ = 0;
    int roomWidth_ = 0;
    int roomHeight_ = 0;
    bool finalImageValid_ = false;
    bool shadowWarningShown_ = false;
    ShadowReport shadowReport_;
    std::mutex handedMutex_;
    std::vector<RenderResult> handed_;
    std::unique_ptr<RenderWorker> worker_;
};

// An independent copy of a decoded picture.
std::optional<SourcePicture> copyPicture(const SourcePicture& picture);

} // namespace gelcoat
