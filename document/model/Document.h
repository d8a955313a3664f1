#pragma once
// The document machinery a window builds on: a file path or none
// (untitled), a change count, and open, save, save as and revert. Saving is
// atomic; subclasses supply the bytes and the loader. The document
// remembers how its file looked when it last read or wrote it, so that a
// window can ask before a save replaces another program's version. Its
// undo stack holds the edits that can be taken back; the edited mark
// follows the stack's clean state.

#include "document/file/DocumentMessages.h"
#include "document/model/FileStamp.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QUndoStack;

namespace gelcoat {

enum class LoadMode { Open, Revert };

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    // The file the document was opened from or last saved to; empty while
    // untitled.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& path);
    // The file's name; while untitled, "Untitled" for the first untitled
    // document of the session and "Untitled 2" and on for later ones.
    QString displayName() const;
    void setUntitledNumber(int number) { untitledNumber_ = number; }

    // True when another program has changed the document's file since the
    // document last read or wrote it. A file that has gone holds nothing to
    // lose and does not count.
    bool fileChangedOnDisk() const;
    // True when path names the document's file, however it is spelt (a
    // link, "./", another way through the folders).
    bool isDocumentFile(const QString& path) const;

    // Edited state: the undo stack away from the state last saved or read,
    // an edit under way that is not on the stack yet, or a change that
    // cannot be undone since then.
    bool isDocumentEdited() const;
    // A change that cannot be undone (a new stencil, an export path): the
    // document stays edited until it is saved or reverted.
    void updateChangeCount();
    // Saved, read or reverted: not edited, and the stack's present state
    // is the clean one.
    void clearChangeCount();

    // The edits that can be undone. Every step on it is a change of the
    // document; a change that cannot be undone clears it.
    QUndoStack& undoStack() const { return *undoStack_; }
    // Steps kept; the oldest go first. A step holds two settings records,
    // so the whole stack stays within a few hundred kilobytes.
    static constexpr int kUndoLimit = 1000;

    // Reads a file into this (new) document; on success it becomes the
    // document's file and the document is clean.
    DocumentOutcome readFromFile(const QString& path);
    // Writes to the document's file; fails for an untitled document, which
    // needs saveDocumentAs.
    DocumentOutcome saveDocument();
    // Writes to path, which then becomes the document's file; clean after.
    DocumentOutcome saveDocumentAs(const QString& path);
    // Writes a copy to path; name and edited state stay.
    DocumentOutcome saveDocumentTo(const QString& path);
    // Reloads the document's file; on success the document is clean.
    virtual DocumentOutcome revertDocumentToSaved();

    // The file's bytes; empty when they cannot be made.
    virtual QByteArray dataRepresentationOfType() const = 0;
    // Fills the document from file bytes; changes nothing when it fails.
    virtual DocumentOutcome loadDataRepresentation(const QByteArray& bytes, LoadMode mode,
                                                   const QString& documentPath) = 0;

signals:
    void editedChanged(bool edited);
    void fileNameChanged(const QString& path);

protected:
    // An edit under way that goes on the stack only when it ends (a drag):
    // the document shows as edited meanwhile.
    void setPendingEdit(bool pending);

    // Reads and loads path without touching the file name; *stamp is the
    // file as it was just before it was read.
    DocumentOutcome loadFile(const QString& path, LoadMode mode,
                             std::optional<FileStamp>* stamp = nullptr);

private:
    DocumentOutcome writeFile(const QString& path) const;
    void showEditedState();

    QString fileName_;
    // The file as read or written last; nothing while untitled.
    std::optional<FileStamp> fileStamp_;
    int untitledNumber_ = 1;
    QUndoStack* undoStack_;
    bool changedOffStack_ = false;
    bool pendingEdit_ = false;
    bool editedShown_ = false;
};

} // namespace gelcoat
