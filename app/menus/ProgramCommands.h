#pragma once
// The program's own commands, which every window's menus carry (new, open,
// close, quit, preferences, help, the maker's pages, version checking,
// about), and the menus of the menu bar with the places of their submenus.

#include "window/commands/Command.h"

#include <vector>

namespace gelcoat {

const std::vector<Command>& programCommands();
const std::vector<MenuDeclaration>& menuBarMenus();

} // namespace gelcoat
