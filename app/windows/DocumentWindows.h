#pragma once
// The program's document windows: each with the program's menus, to which
// a document window adds its View and Presets menus.

class QWidget;

namespace gelcoat {

// A new, not yet shown window for a new untitled document; the factory the
// application delegate opens documents with.
QWidget* newDocumentWindow(int untitledNumber);

} // namespace gelcoat
