#include "window/intake/StencilMenus.h"

#include "window/export/ExportCommands.h"
#include "window/intake/StencilCommands.h"

#include <QAction>
#include <QMenu>

namespace gelcoat {

QMenu* addStencilCommands(QMenu* menu, const StencilCommands& commands)
{
    menu->addSeparator();
    menu->addActions({commands.paste, commands.invertSource, commands.adjustSourceSize});
    menu->addSeparator();
    menu->addActions({commands.chooseSourceImage, commands.useMoss, commands.useFoot});
    return menu;
}

QMenu* addExportCommands(QMenu* menu, const ExportCommands& commands)
{
    menu->addSeparator();
    menu->addActions({commands.copy, commands.saveDestImage, commands.exportIconSet});
    return menu;
}

void addToApplicationMenus(QMenu* file, QMenu* edit, const StencilCommands& stencil,
                           const ExportCommands& result)
{
    const QList<QAction*> editItems = edit->actions();
    QAction* editFirst = editItems.isEmpty() ? nullptr : editItems.first();
    edit->insertActions(editFirst, {result.copy, stencil.paste});
    edit->insertSeparator(editFirst);
    edit->insertActions(editFirst, {stencil.invertSource, stencil.adjustSourceSize});
    edit->insertSeparator(editFirst);
    edit->insertActions(editFirst, {stencil.chooseSourceImage, stencil.useMoss, stencil.useFoot});
    if (editFirst)
        edit->insertSeparator(editFirst);

    // After New and Close, before the group that ends the program.
    QAction* fileSeparator = nullptr;
    for (QAction* action : file->actions())
        if (action->isSeparator()) {
            fileSeparator = action;
            break;
        }
    file->insertSeparator(fileSeparator);
    file->insertAction(fileSeparator, result.saveDestImage);
    file->insertAction(fileSeparator, result.exportIconSet);
}

} // namespace gelcoat
