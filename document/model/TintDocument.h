#pragma once
// The model side of a Gelcoat document: its settings, its stencil and the
// render pipeline that turns one into the other. Windows observe it through
// signals; nothing here knows about widgets.

#include "intake/SourcePicture.h"
#include "model/Document.h"
#include "intake/StencilIntake.h"
#include "pipeline/RenderPipeline.h"
#include "settings/TintSettings.h"

#include <QString>

#include <optional>

namespace gelcoat {

class TintDocument : public Document, private PipelineDestination {
    Q_OBJECT
public:
    // A new document: display options from the user defaults, every other
    // setting at its default, and the start picture as its stencil.
    explicit TintDocument(QObject* parent = nullptr);
    ~TintDocument() override;

    TintSettings settings;

    const std::optional<BitmapRep>& sourceImage() const { return sourceImage_; }
    bool sourceImageIsSimple() const { return sourceImageIsSimple_; }
    const QString& sourceImagePath() const { return sourceImagePath_; }
    const QString& destImagePath() const { return destImagePath_; }

    RenderPipeline& pipeline() { return pipeline_; }
    const RenderPipeline& pipeline() const { return pipeline_; }
    bool gelcoatOn() const { return pipeline_.gelcoatOn; }

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

    void remakeGelcoatWithChangedSourceImage(bool changedSourceImage, bool tintParameters,
                                             bool shadowParameters, bool finalSize);
    void toggleTinting();
    void gelcoatChanged(bool state);

    // Re-renders with every change flag after the model changed wholesale;
    // windows bring their controls up to date on controlsNeedRefresh.
    void refreshUIFromModel();

    // Intake. _useImage makes an accepted picture the source; internally
    // generated pictures skip the acceptance check and keep the simple flag.
    bool _useImage(SourcePicture picture, const QString& path, bool internallyGenerated);
    bool useImage(SourcePicture picture, const QString& path, bool resetBug,
                  bool internallyGenerated);

    // The built-in stencils: what the mascot and foot confirmation sheets
    // do on OK (settings to defaults, the picture, a full refresh).
    bool takeMossStencil();
    bool takeFootStencil();

    // Derived stencils. invertSource is false (a beep) when nothing changed;
    // applySizeAdjustment is the adjust-size sheet's OK: it fills refusal
    // with the alert text when the margins are refused.
    bool invertSource();
    bool applySizeAdjustment(const StencilMargins& margins, QString* refusal);

    // Presets: write the values, mark edited, refresh.
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

private:
    PipelineInput pipelineInput() const;
    void setImage(const BitmapRep& finalImage) override;
    void setImageValid(bool valid) override;
    void setShadowWarningShown(bool shown) override;
    bool useBuiltInPicture(const std::optional<SourcePicture>& picture);

    std::optional<BitmapRep> sourceImage_;
    bool sourceImageIsSimple_ = false;
    QString sourceImagePath_;
    QString destImagePath_;
    QByteArray unreadableSourceData_;
    RenderPipeline pipeline_;
};

// An independent copy of a decoded picture.
std::optional<SourcePicture> copyPicture(const SourcePicture& picture);

} // namespace gelcoat
