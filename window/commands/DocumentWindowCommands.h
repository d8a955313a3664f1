#pragma once
// The commands of a document window: rendering on and off, the wells'
// display, the result's backgrounds, the presets, Undo and Redo, the stencil
// and result commands, and saving. The program's own commands and the menu bar's
// menus are declared with the application.

#include "window/commands/Command.h"

#include <vector>

namespace gelcoat {

const std::vector<Command>& documentWindowCommands();
// The menus of the source and result wells' pop-up buttons.
const MenuDeclaration& sourceActionMenu();
const MenuDeclaration& destActionMenu();

} // namespace gelcoat
