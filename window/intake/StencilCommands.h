#pragma once
// Every way a stencil enters a document window: the open panel, paste, a
// drop on the source well, the two built-in stencils behind their warning
// sheets, and the two edits that derive a new stencil from the current one.
// Outside pictures are made and rendered without holding the window (see
// PictureIntake). Each runs the picture through the document's intake; a
// refused picture, and one offered that cannot be read at all (damaged, or
// too large to be decoded), gets the "Incompatible image" sheet with the
// reason and changes nothing.

#include "document/intake/SourcePicture.h"
#include "document/intake/StencilIntake.h"
#include "window/intake/PictureIntake.h"

#include <QObject>

#include <optional>

class QMainWindow;
class QMimeData;

namespace gelcoat {

class AdjustSizeSheet;
class TintDocument;

class StencilCommands : public QObject {
    Q_OBJECT
public:
    StencilCommands(TintDocument& document, QMainWindow& window);
    ~StencilCommands() override;

    // The commands of the Edit menu and the source well's pop-up.
    void chooseSourceImage() { runOpenPanel(true); }
    // Into the focused text field when there is one, else a picture from
    // the clipboard.
    void paste();
    // A beep when the stencil stays as it is.
    void invertSource();
    void adjustSourceSize();
    // Each asks first, since the current stencil is lost.
    void useMoss();
    void useFoot();

    // The shadow warning's command: the sheet opened with the clipping the
    // shadow reported, so that OK grows the stencil just enough.
    void adjustSourceSizeForShadow();
    void runAdjustSizePanel(const StencilMargins& margins);
    AdjustSizeSheet& adjustSizeSheet() { return *adjustSizeSheet_; }

    // The open panel run application-modal, for a document whose stored
    // picture went missing; it ends as the sheet does.
    void chooseSubstituteImage();

    // Data dropped on the source well: read at once, then decoded and
    // offered to the document; dropTakenIn tells how that ended.
    void takePictureFrom(const QMimeData* data);

signals:
    void dropTakenIn(bool taken);

private:
    void runOpenPanel(bool asSheet);
    void openPanelDidSelectImage(const QString& path, const QString& folder);
    // Takes an outside picture in (see takeInPicture); alerts with the
    // reason when it is refused or cannot be made, and says nothing when
    // nothing was offered.
    bool takeOutsidePicture(PictureSource source, const QString& path);
    void alertIncompatibleImage(const QString& reason);
    void confirmBuiltInStencil(const QString& title, const QString& message, bool foot);
    void adjustSizeSheetDidEnd(const StencilMargins& margins);

    TintDocument& document_;
    QMainWindow& window_;
    AdjustSizeSheet* adjustSizeSheet_ = nullptr;
};

// The texts of the two built-in stencils' warning sheets.
QString useMossTitle();
QString useMossMessage();
QString useFootTitle();
QString useFootMessage();

} // namespace gelcoat
