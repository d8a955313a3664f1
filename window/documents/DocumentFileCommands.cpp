#include "window/documents/DocumentFileCommands.h"

#include "window/TintDocumentWindow.h"
#include "document/model/TintDocument.h"

#include "shared/KPAlertPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

namespace gelcoat {

namespace {

const QString kExtension = QStringLiteral(".gelcoat");

// The revert warning waits until the revert has finished and the window
// shows the reverted document.
constexpr int kRevertWarningDelayMs = 1;

QString quoted(const QString& name)
{
    return QStringLiteral("\u201C%1\u201D").arg(name);
}

} // namespace

QString changedOnDiskSaveMessage()
{
    return DocumentFileCommands::tr(
        "The document could not be saved because it has been changed by another application.");
}

QString withDocumentExtension(const QString& path)
{
    return path.endsWith(kExtension, Qt::CaseInsensitive) ? path : path + kExtension;
}

DocumentFileCommands::DocumentFileCommands(TintDocumentWindow& window)
    : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("documentFileCommands"));
    window_.installEventFilter(this);
}

DocumentFileCommands* DocumentFileCommands::of(QWidget* window)
{
    return window ? window->findChild<DocumentFileCommands*>(
                        QStringLiteral("documentFileCommands"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

TintDocument& DocumentFileCommands::document() const
{
    return window_.document();
}

bool DocumentFileCommands::canRevert() const
{
    const Document& document = window_.document();
    return !document.fileName().isEmpty() && document.isDocumentEdited();
}

void DocumentFileCommands::saveDocument(std::function<void(bool)> done)
{
    const QString path = window_.document().fileName();
    if (path.isEmpty())
        saveDocumentAs(std::move(done));
    else
        writeTo(path, done);
}

void DocumentFileCommands::saveDocumentAs(std::function<void(bool)> done)
{
    const Document& document = window_.document();
    const QString folder =
        document.fileName().isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
            : QFileInfo(document.fileName()).absolutePath();
    auto* panel = new QFileDialog(&window_, tr("Save As"), folder,
                                  tr("Gelcoat documents (*.gelcoat)"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setObjectName(QStringLiteral("savePanel"));
    panel->setAcceptMode(QFileDialog::AcceptSave);
    panel->setFileMode(QFileDialog::AnyFile);
    panel->setDefaultSuffix(kExtension.mid(1));
    panel->selectFile(withDocumentExtension(document.displayName()));
    panel->setWindowModality(Qt::WindowModal);
    connect(panel, &QFileDialog::finished, this, [this, panel, done](int result) {
        const QStringList chosen = panel->selectedFiles();
        if (result != QDialog::Accepted || chosen.isEmpty()) {
            if (done)
                done(false);
            return;
        }
        writeTo(withDocumentExtension(chosen.first()), done);
    });
    panel->open();
}

void DocumentFileCommands::writeTo(const QString& path, const std::function<void(bool)>& done)
{
    const Document& document = window_.document();
    if (document.isDocumentFile(path) && document.fileChangedOnDisk())
        askBeforeReplacingChangedFile(path, done);
    else
        writeNow(path, done);
}

void DocumentFileCommands::askBeforeReplacingChangedFile(const QString& path,
                                                         const std::function<void(bool)>& done)
{
    // One sheet at a time: this one waits for the one before to go.
    if (sheet_) {
        connect(sheet_, &QObject::destroyed, this,
                [this, path, done] { askBeforeReplacingChangedFile(path, done); });
        return;
    }
    sheet_ = KPBeginAlertSheet(
        QMessageBox::Warning, &window_, changedOnDiskSaveMessage(),
        tr("Save Anyway replaces the other application's version with yours.  Revert shows "
           "the other application's version; your changes will be lost."),
        tr("Save Anyway"), tr("Cancel"), tr("Revert"), [this, path, done](int answer) {
            if (answer == KPAlertDefaultReturn) {
                writeNow(path, done);
                return;
            }
            if (answer == KPAlertOtherReturn)
                revertNow();
            if (done)
                done(false);
        });
    // Return keeps both versions as they are: replacing the other one must be chosen.
    for (QAbstractButton* button : sheet_->buttons())
        if (sheet_->buttonRole(button) == QMessageBox::RejectRole)
            sheet_->setDefaultButton(qobject_cast<QPushButton*>(button));
}

void DocumentFileCommands::offerRevertIfChangedOnDisk()
{
    const Document& document = window_.document();
    if (sheet_ || document.isDocumentEdited() || !document.fileChangedOnDisk() ||
        QApplication::activeModalWidget())
        return;
    const std::optional<FileStamp> onDisk = fileStampOf(document.fileName());
    if (onDisk == offeredRevertTo_)
        return;
    offeredRevertTo_ = onDisk;
    sheet_ = KPBeginAlertSheet(
        QMessageBox::Warning, &window_,
        tr("The document %1 has been changed by another application.")
            .arg(quoted(document.displayName())),
        tr("Do you want to revert to the version on disk?  This window has no changes of its "
           "own to lose."),
        tr("Revert"), tr("Ignore"), QString(), [this](int answer) {
            // Edits made meanwhile are not thrown away unasked.
            if (answer == KPAlertDefaultReturn && !window_.document().isDocumentEdited())
                revertNow();
        });
}

void DocumentFileCommands::writeNow(const QString& path, const std::function<void(bool)>& done)
{
    const DocumentOutcome outcome = window_.document().saveDocumentAs(path);
    if (outcome.ok)
        emit documentSaved(window_.document().fileName());
    else
        showAlertSheet(outcome.alert.title, outcome.alert.message);
    if (done)
        done(outcome.ok);
}

void DocumentFileCommands::revertDocumentToSaved()
{
    const Document& document = window_.document();
    if (document.fileName().isEmpty() || sheet_)
        return;
    sheet_ = KPBeginAlertSheet(
        QMessageBox::Warning, &window_,
        tr("Do you want to revert to the most recently saved version of the document %1?")
            .arg(quoted(document.displayName())),
        tr("Your current changes will be lost."), tr("Revert"), tr("Cancel"), QString(),
        [this](int answer) {
            if (answer == KPAlertDefaultReturn)
                revertNow();
        });
}

void DocumentFileCommands::revertNow()
{
    TintDocument& document = window_.document();
    const DocumentOutcome outcome = document.revertDocumentToSaved();
    if (!outcome.ok) {
        showAlertSheet(outcome.alert.title, outcome.alert.message);
        return;
    }
    if (outcome.scheduleRevertWarning) {
        QTimer::singleShot(kRevertWarningDelayMs, this, [this] {
            showAlertSheet(tr("Revert"), window_.document().revertWarningMessage());
        });
    }
}

void DocumentFileCommands::showAlertSheet(const QString& title, const QString& message)
{
    // One sheet at a time, as on any window.
    if (sheet_) {
        connect(sheet_, &QObject::destroyed, this,
                [this, title, message] { showAlertSheet(title, message); });
        return;
    }
    sheet_ = KPBeginAlertSheet(QMessageBox::Critical, &window_, title, message, tr("OK"),
                               QString(), QString());
}

bool DocumentFileCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &window_ && event->type() == QEvent::WindowActivate)
        // Once the window is in front and whatever brought it there is done.
        QTimer::singleShot(0, this, &DocumentFileCommands::offerRevertIfChangedOnDisk);
    if (watched != &window_ || event->type() != QEvent::Close || closeApproved_ ||
        !window_.document().isDocumentEdited())
        return QObject::eventFilter(watched, event);
    event->ignore();
    if (!sheet_)
        askToClose();
    return true;
}

void DocumentFileCommands::askToClose()
{
    window_.raise();
    window_.activateWindow();
    sheet_ = KPBeginAlertSheet(
        QMessageBox::Warning, &window_,
        tr("Do you want to save the changes you made in the document %1?")
            .arg(quoted(window_.document().displayName())),
        tr("Your changes will be lost if you don't save them."), tr("Save"), tr("Cancel"),
        tr("Don't Save"), [this](int answer) {
            if (answer == KPAlertOtherReturn) {
                closeNow();
            } else if (answer == KPAlertDefaultReturn) {
                // The save panel or an alert may follow the sheet: wait for it to go.
                QTimer::singleShot(0, this, [this] {
                    saveDocument([this](bool saved) {
                        if (saved)
                            closeNow();
                        else
                            emit closeCancelled();
                    });
                });
            } else {
                emit closeCancelled();
            }
        });
}

void DocumentFileCommands::closeNow()
{
    closeApproved_ = true;
    // After the sheet has gone.
    QTimer::singleShot(0, &window_, &QWidget::close);
}

} // namespace gelcoat
