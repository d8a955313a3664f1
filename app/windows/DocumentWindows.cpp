#include "app/windows/DocumentWindows.h"

#include "app/menus/MenuBuilder.h"

#include "window/DocumentCommands.h"
#include "window/TintDocumentWindow.h"
#include "window/UndoCommands.h"
#include "window/documents/DocumentFileCommands.h"
#include "document/model/TintDocument.h"
#include "window/export/ExportCommands.h"
#include "window/intake/StencilCommands.h"
#include "window/intake/StencilMenus.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace gelcoat {

namespace {

// Puts a document window's own menus between Edit and Help and its stencil
// and result commands into File and Edit; other windows get nothing.
void addDocumentMenus(AppMenus& menus, QMainWindow& window)
{
    auto* documentWindow = qobject_cast<TintDocumentWindow*>(&window);
    if (!documentWindow)
        return;
    const DocumentCommands& commands = documentWindow->commands();
    QAction* help = menus.help->menuAction();
    menus.bar->insertMenu(help, commands.makeViewMenu(menus.bar));
    menus.bar->insertMenu(help, commands.makePresetsMenu(menus.bar));
    addToApplicationMenus(menus.file, menus.edit, documentWindow->stencilCommands(),
                          documentWindow->exportCommands());
    // Undo and Redo head the Edit menu.
    QAction* editFirst = menus.edit->actions().value(0);
    menus.edit->insertActions(editFirst, documentWindow->undoCommands().all());
    menus.edit->insertSeparator(editFirst);
}

// Save, Save As… and Revert to Saved follow Close in the File menu.
void addFileCommands(AppMenus& menus, QMainWindow& window)
{
    DocumentFileCommands* commands = DocumentFileCommands::of(&window);
    if (!commands)
        return;
    const QList<QAction*> items = menus.file->actions();
    qsizetype close = 0;
    while (close < items.size() && items[close]->objectName() != QLatin1String("closeWindow"))
        ++close;
    QAction* before = close + 1 < items.size() ? items[close + 1] : nullptr;
    menus.file->insertActions(before, {commands->save, commands->saveAs, commands->revert});
}

QWidget* withMenus(TintDocumentWindow* window)
{
    static const bool registered = [] {
        MenuBuilder::addExtension(addFileCommands);
        MenuBuilder::addExtension(addDocumentMenus);
        return true;
    }();
    (void)registered;
    new DocumentFileCommands(*window);
    MenuBuilder::install(*window);
    return window;
}

} // namespace

QWidget* newDocumentWindow(int untitledNumber)
{
    return withMenus(new TintDocumentWindow(untitledNumber));
}

QWidget* documentWindowFor(TintDocument* document)
{
    return withMenus(new TintDocumentWindow(document));
}

} // namespace gelcoat
