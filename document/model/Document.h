#pragma once
// The document machinery a window builds on: a file path or none
// (untitled), a change count, and open, save, save as and revert. Saving is
// atomic; subclasses supply the bytes and the loader.

#include "document/file/DocumentMessages.h"

#include <QByteArray>
#include <QObject>
#include <QString>

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

    // Edited state: every change the user makes counts.
    bool isDocumentEdited() const { return changeCount_ != 0; }
    void updateChangeCount();
    void clearChangeCount();

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
    // Reads and loads path without touching the file name.
    DocumentOutcome loadFile(const QString& path, LoadMode mode);

private:
    DocumentOutcome writeFile(const QString& path) const;

    QString fileName_;
    int untitledNumber_ = 1;
    int changeCount_ = 0;
};

} // namespace gelcoat
