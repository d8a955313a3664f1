#include "app/windows/DocumentWindows.h"

#include "app/menus/MenuBuilder.h"

#include "window/TintDocumentWindow.h"
#include "window/documents/DocumentFileCommands.h"

namespace gelcoat {

namespace {

// Saving belongs to the program's windows; the menus then find their
// commands.
QWidget* withMenus(TintDocumentWindow* window)
{
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
