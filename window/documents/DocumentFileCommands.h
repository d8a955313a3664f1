#pragma once
// Saving, reverting and closing one document window: the Save, Save As…
// and Revert to Saved actions, the save panel, the sheet that asks before
// an edited window closes, and the questions about a file that another
// program changed (before a save would replace it, and when the window
// comes to the front). Every question is window-modal, so other windows
// stay usable while one asks.

#include <QMessageBox>
#include <QObject>
#include <QPointer>

#include "document/model/FileStamp.h"

#include <functional>
#include <optional>

namespace gelcoat {

class TintDocument;
class TintDocumentWindow;
struct DocumentOutcome;

class DocumentFileCommands : public QObject {
    Q_OBJECT
public:
    // Attaches to window, as its child.
    explicit DocumentFileCommands(TintDocumentWindow& window);

    // The commands of the window, if it has them.
    static DocumentFileCommands* of(QWidget* window);

    TintDocument& document() const;

    // Saves to the document's file, or asks for one while untitled; done
    // learns whether the document was written.
    void saveDocument(std::function<void(bool saved)> done = {});
    void saveDocumentAs(std::function<void(bool saved)> done = {});
    // Asks first, since a revert cannot be undone.
    void revertDocumentToSaved();
    // There is a saved file, and changes to lose.
    bool canRevert() const;

    // The open question sheet, while one shows.
    QMessageBox* sheet() const { return sheet_; }

signals:
    // The document was written to path (and now belongs to it).
    void documentSaved(const QString& path);
    // The user kept an edited window open when asked whether to close it.
    void closeCancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askToClose();
    void closeNow();
    void writeTo(const QString& path, const std::function<void(bool)>& done);
    void writeNow(const QString& path, const std::function<void(bool)>& done);
    void askBeforeReplacingChangedFile(const QString& path,
                                       const std::function<void(bool)>& done);
    void offerRevertIfChangedOnDisk();
    void revertNow();
    void showAlertSheet(const QString& title, const QString& message);

    TintDocumentWindow& window_;
    QPointer<QMessageBox> sheet_;
    bool closeApproved_ = false;
    // The version on disk the window last offered to revert to, so that
    // it is offered once, not each time the window comes to the front.
    std::optional<FileStamp> offeredRevertTo_;
};

// The question before a save would replace a file another program changed.
QString changedOnDiskSaveMessage();

// A document file name always ends in ".gelcoat".
QString withDocumentExtension(const QString& path);

} // namespace gelcoat
