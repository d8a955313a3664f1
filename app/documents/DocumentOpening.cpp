#include "app/documents/DocumentOpening.h"

#include "app/documents/OpenPanels.h"
#include "window/intake/PictureIntake.h"
#include "window/intake/StencilCommands.h"
#include "app/documents/RecentDocuments.h"
#include "app/windows/DocumentWindows.h"

#include "window/TintDocumentWindow.h"
#include "document/file/DocumentInput.h"
#include "document/intake/PictureDecoder.h"
#include "document/intake/StencilIntake.h"
#include "document/model/TintDocument.h"
#include "document/settings/Preferences.h"

#include "shared/KPAlertPanel.h"

#include <QApplication>
#include <QFileInfo>

#include <memory>

namespace gelcoat {

namespace {

void showAlert(const DocumentAlert& alert)
{
    KPRunCriticalAlertPanel(alert.title, QStringLiteral("%@"), QStringLiteral("OK"), QString(),
                            QString(), alert.message);
}

void showIncompatibleImageAlert(const QString& reason)
{
    showAlert({incompatibleImageTitle(), incompatibleImageMessage(reason)});
}

// Files are the same when their canonical paths are: a link or a path
// through another folder names the same document.
QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

// A window for the document in path, or none after telling the user why.
QWidget* openDocumentFile(const QString& path)
{
    auto document = std::make_unique<TintDocument>();
    const DocumentOutcome outcome = document->readFromFile(path);
    if (!outcome.alert.isEmpty())
        showAlert(outcome.alert);
    if (!outcome.ok)
        return nullptr;
    auto* window = static_cast<TintDocumentWindow*>(documentWindowFor(document.release()));
    // Before the window shows, as though the document were still loading.
    if (outcome.runSubstitutePanel)
        window->stencilCommands().chooseSubstituteImage();
    return window;
}

// A new untitled window with the picture in path as its stencil, or none
// after telling the user why.
QWidget* openPictureFile(const QString& path, const std::function<QWidget*()>& newUntitled)
{
    CheckedPicture checked = checkPictureWithProgress(
        [path, options = PictureOptions{Preferences::shared().vectorSide()}](QString* error) {
            return decodePictureFile(path, error, options);
        });
    if (checked.stopped)
        return nullptr;
    if (!checked.picture) {
        showAlert({openTitle(), documentUnreadableMessage(path, checked.error)});
        return nullptr;
    }
    if (!checked.simple) {
        showIncompatibleImageAlert(checked.error);
        return nullptr;
    }
    auto* window = qobject_cast<TintDocumentWindow*>(newUntitled());
    if (!window)
        return nullptr;
    window->prepareSourceImage(std::move(checked.shown), checked.picture->pixels);
    window->document().useCheckedImage(std::move(checked.picture->pixels), *checked.simple, path,
                                       std::move(checked.picture->vectorSource));
    window->document().keepNewImage();
    return window;
}

} // namespace

QWidget* windowShowingDocument(const QString& path)
{
    const QString wanted = canonical(path);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<TintDocumentWindow*>(widget);
        if (window && window->isVisible() && !window->document().fileName().isEmpty() &&
            canonical(window->document().fileName()) == wanted)
            return window;
    }
    return nullptr;
}

int openDocumentFiles(const QStringList& paths, const std::function<void(QWidget*)>& show,
                      const std::function<QWidget*()>& newUntitled)
{
    int showing = 0;
    for (const QString& path : paths) {
        if (QWidget* open = windowShowingDocument(path)) {
            open->raise();
            open->activateWindow();
            ++showing;
            continue;
        }
        if (!isDocumentInput(path)) {
            if (QWidget* window = openPictureFile(path, newUntitled)) {
                show(window);
                ++showing;
            }
            continue;
        }
        QWidget* window = openDocumentFile(path);
        if (!window)
            continue;
        RecentDocuments::add(path);
        show(window);
        ++showing;
    }
    return showing;
}

} // namespace gelcoat
