#include "document/model/Document.h"

#include "document/file/DocumentArchive.h"
#include "document/io/RegularFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUndoStack>

namespace gelcoat {

namespace {

// Files are the same when their canonical paths are.
QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

} // namespace

Document::Document(QObject* parent) : QObject(parent), undoStack_(new QUndoStack(this))
{
    undoStack_->setUndoLimit(kUndoLimit);
    connect(undoStack_, &QUndoStack::cleanChanged, this, &Document::showEditedState);
}

void Document::setFileName(const QString& path)
{
    if (path == fileName_)
        return;
    fileName_ = path;
    fileStamp_.reset();
    emit fileNameChanged(path);
}

bool Document::fileChangedOnDisk() const
{
    if (fileName_.isEmpty() || !fileStamp_)
        return false;
    const std::optional<FileStamp> now = fileStampOf(fileName_);
    return now && *now != *fileStamp_;
}

bool Document::isDocumentFile(const QString& path) const
{
    return !fileName_.isEmpty() && canonical(path) == canonical(fileName_);
}

QString Document::displayName() const
{
    if (!fileName_.isEmpty())
        return QFileInfo(fileName_).fileName();
    return untitledNumber_ <= 1
               ? QCoreApplication::translate("Document", "Untitled")
               : QCoreApplication::translate("Document", "Untitled %1").arg(untitledNumber_);
}

bool Document::isDocumentEdited() const
{
    return changedOffStack_ || pendingEdit_ || !undoStack_->isClean();
}

void Document::updateChangeCount()
{
    changedOffStack_ = true;
    showEditedState();
}

void Document::clearChangeCount()
{
    changedOffStack_ = false;
    pendingEdit_ = false;
    undoStack_->setClean();
    showEditedState();
}

void Document::setPendingEdit(bool pending)
{
    pendingEdit_ = pending;
    showEditedState();
}

void Document::showEditedState()
{
    const bool edited = isDocumentEdited();
    if (edited == editedShown_)
        return;
    editedShown_ = edited;
    emit editedChanged(edited);
}

DocumentOutcome Document::loadFile(const QString& path, LoadMode mode,
                                   std::optional<FileStamp>* stamp)
{
    // Taken before the bytes: a change made while they are read then shows
    // as a change, never the other way round.
    if (stamp)
        *stamp = fileStampOf(path);
    QString reason;
    const std::optional<QByteArray> bytes = readRegularFile(path, kMaxDocumentFileBytes, &reason);
    if (!bytes) {
        DocumentOutcome outcome;
        outcome.alert = {mode == LoadMode::Open ? openTitle() : revertTitle(),
                         documentUnreadableMessage(path, reason)};
        return outcome;
    }
    return loadDataRepresentation(*bytes, mode, QFileInfo(path).absoluteFilePath());
}

DocumentOutcome Document::readFromFile(const QString& path)
{
    std::optional<FileStamp> stamp;
    DocumentOutcome outcome = loadFile(path, LoadMode::Open, &stamp);
    if (outcome.ok) {
        setFileName(QFileInfo(path).absoluteFilePath());
        fileStamp_ = stamp;
        clearChangeCount();
    }
    return outcome;
}

DocumentOutcome Document::revertDocumentToSaved()
{
    if (fileName_.isEmpty())
        return {};
    std::optional<FileStamp> stamp;
    DocumentOutcome outcome = loadFile(fileName_, LoadMode::Revert, &stamp);
    if (outcome.ok) {
        fileStamp_ = stamp;
        clearChangeCount();
    }
    return outcome;
}

DocumentOutcome Document::writeFile(const QString& path) const
{
    DocumentOutcome outcome;
    const QByteArray bytes = dataRepresentationOfType();
    QString reason;
    if (bytes.isEmpty()) {
        reason = QCoreApplication::translate("Document", "The document's data could not be made.");
    } else {
        // A failed save leaves the previous file as it was.
        writeFileAtomically(path, bytes, &reason);
    }
    if (!reason.isEmpty()) {
        outcome.alert = {saveTitle(), documentSaveFailedMessage(path, reason)};
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

DocumentOutcome Document::saveDocument()
{
    if (fileName_.isEmpty())
        return {};
    return saveDocumentAs(fileName_);
}

DocumentOutcome Document::saveDocumentAs(const QString& path)
{
    DocumentOutcome outcome = writeFile(path);
    if (outcome.ok) {
        setFileName(QFileInfo(path).absoluteFilePath());
        fileStamp_ = fileStampOf(fileName_);
        clearChangeCount();
    }
    return outcome;
}

DocumentOutcome Document::saveDocumentTo(const QString& path)
{
    return writeFile(path);
}

} // namespace gelcoat
