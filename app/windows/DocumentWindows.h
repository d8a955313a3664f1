#pragma once
// The program's document windows: each with the program's menus, to which
// a document window adds its View and Presets menus.

class QWidget;

namespace gelcoat {

class TintDocument;

// A new, not yet shown window for a new untitled document; the factory the
// application delegate opens documents with.
QWidget* newDocumentWindow(int untitledNumber);
// A new, not yet shown window for document, which it takes over.
QWidget* documentWindowFor(TintDocument* document);

} // namespace gelcoat
