#include "app/menus/MenuBuilder.h"

#include "app/menus/ProgramCommands.h"

#include "window/commands/CommandActions.h"
#include "window/commands/DocumentWindowCommands.h"

#include <QMainWindow>
#include <QMenuBar>

namespace gelcoat {

void MenuBuilder::install(QMainWindow& window)
{
    CommandActions& actions = CommandActions::of(window);
    actions.install(programCommands());
    // A window that is not a document's gets none of these.
    actions.install(documentWindowCommands());
    auto* bar = new QMenuBar(&window);
    window.setMenuBar(bar);
    actions.fillMenuBar(*bar, menuBarMenus());
}

} // namespace gelcoat
