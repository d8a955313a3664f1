#include "windows/DocumentWindows.h"

#include "menus/MenuBuilder.h"

#include "DocumentCommands.h"
#include "TintDocumentWindow.h"
#include "export/ExportCommands.h"
#include "intake/StencilCommands.h"
#include "intake/StencilMenus.h"

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
}

} // namespace

QWidget* newDocumentWindow(int untitledNumber)
{
    static const bool registered = [] {
        MenuBuilder::addExtension(addDocumentMenus);
        return true;
    }();
    (void)registered;
    auto* window = new TintDocumentWindow(untitledNumber);
    MenuBuilder::install(*window);
    return window;
}

} // namespace gelcoat
