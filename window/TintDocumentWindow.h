#pragma once
// The window of one document: the form of controls, each control's handler
// moving its value into the document's settings, the refresh that brings
// every control into line with the document, the two wells fed from the
// render pipeline, and the window's commands. The document decides whether
// a value is a change, marks itself edited and remakes what the change
// touches; the window converts values and shows results.

#include "document/settings/TintSettings.h"
#include "engine/buffer/BitmapRep.h"
#include "window/ScalarControl.h"

#include <QImage>
#include <QMainWindow>

#include <cstdint>
#include <memory>

class QButtonGroup;

namespace Ui {
class TintDocument;
}

namespace gelcoat {

class CommandActions;
class LiveLayout;
class ExportCommands;
class StencilCommands;
class TintDocument;
class UndoCommands;

class TintDocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    // A window for a new untitled document; untitledNumber 1 is titled
    // "Untitled", later ones "Untitled 2" and on.
    explicit TintDocumentWindow(int untitledNumber = 1, QWidget* parent = nullptr);
    // A window for document, which it takes over.
    explicit TintDocumentWindow(TintDocument* document, int untitledNumber = 1,
                                QWidget* parent = nullptr);
    ~TintDocumentWindow() override;

    TintDocument& document() { return *document_; }
    Ui::TintDocument& form() { return *form_; }
    // The window's commands as actions.
    CommandActions& commands() { return *commands_; }
    StencilCommands& stencilCommands() { return *stencilCommands_; }
    ExportCommands& exportCommands() { return *exportCommands_; }
    UndoCommands& undoCommands() { return *undoCommands_; }

    // Hides the use-original check boxes and widens the hue, saturation and
    // brightness rows into their room for a simple stencil; restores both
    // for any other picture. Changes only what differs.
    void fixTintingControlsForSimpleStencil();
    // Places every control of the form for the document area's size.
    void layOutForm();

    // The source well's picture of a stencil about to come in, made off the
    // interface thread; shown in place of a copy made here when that
    // stencil arrives.
    void prepareSourceImage(QImage image, const BitmapRep& stencil);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpForm();
    void setUpCircles();
    void connectUserSignals();
    void setUpEditing();
    void connectDocument();
    // The document's name with the edited mark.
    void showTitle();

    // Every control from the document, firing no handler.
    void refreshControls();
    // The controls of the settings alone, the stencil left as shown.
    void showSettings();
    void showDisplayOptions();
    void enableGelcoatArrows();
    // What the window derives from the settings rather than shows of one:
    // the hue well's colour and whether the rainbow's controls take input.
    void showDerivedControls();
    void showHueInWell();
    void enableRainbowControls(bool enabled);
    // A circle's angle and distance shown in its two fields.
    static void showCircleFields(const CircleControl& control);
    void showRainbowStripPreference();
    void showFinalImage();
    void showPreview();
    void updatePreviewRoom();
    void showSourceImage();

    // The handlers of the user's changes.
    void sliderChanged(const ScalarControl& control);
    void valueFieldChanged(const ScalarControl& control);
    void switchChanged(const SwitchControl& control, bool state);
    void rainbowTypeChanged(int tag);
    void circleChanged(const CircleControl& control);
    void circleFieldChanged(const CircleControl& control);
    void sourceBugChanged();
    void gelcoatChanged(bool state);

    TintDocument* document_;
    std::unique_ptr<Ui::TintDocument> form_;
    SettingControls controls_;
    std::unique_ptr<LiveLayout> layout_;
    QImage preparedSourceImage_;
    const std::uint8_t* preparedFor_ = nullptr;
    CommandActions* commands_ = nullptr;
    StencilCommands* stencilCommands_ = nullptr;
    ExportCommands* exportCommands_ = nullptr;
    UndoCommands* undoCommands_ = nullptr;
    QButtonGroup* rainbowTypes_ = nullptr;
};

} // namespace gelcoat
