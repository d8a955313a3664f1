#pragma once
// The model side of a Gelcoat document: its settings, its stencil and the
// render pipeline that turns one into the other. Windows observe it through
// signals; nothing here knows about widgets.

#include "intake/SourcePicture.h"
#include "intake/StencilIntake.h"
#include "pipeline/RenderPipeline.h"
#include "settings/TintSettings.h"

#include <QObject>
#include <QString>

#include <optional>

namespace gelcoat {

class TintDocument : public QObject, private PipelineDestination {
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

    // Edited state: every change the user makes counts.
    bool isDocumentEdited() const { return changeCount_ != 0; }
    void updateChangeCount() { ++changeCount_; emit editedChanged(true); }
    void clearChangeCount() { changeCount_ = 0; emit editedChanged(false); }

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
    void editedChanged(bool edited);

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
    RenderPipeline pipeline_;
    int changeCount_ = 0;
};

// An independent copy of a decoded picture.
std::optional<SourcePicture> copyPicture(const SourcePicture& picture);

} // namespace gelcoat
