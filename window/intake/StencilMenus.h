#pragma once
// Where the stencil and result commands appear: the wells' pop-up buttons
// and the program's File and Edit menus carry the same actions.

class QMenu;

namespace gelcoat {

class ExportCommands;
class StencilCommands;

// Append the commands to a pop-up button's menu; return the menu.
QMenu* addStencilCommands(QMenu* menu, const StencilCommands& commands);
QMenu* addExportCommands(QMenu* menu, const ExportCommands& commands);

// Copy, Paste and the stencil commands at the top of edit; Export Result
// after the first group of file.
void addToApplicationMenus(QMenu* file, QMenu* edit, const StencilCommands& stencil,
                           const ExportCommands& result);

} // namespace gelcoat
