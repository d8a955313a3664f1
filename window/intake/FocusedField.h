#pragma once
// Copy and Paste serve a text field of the window that has the focus only
// when that is what the user means: Paste when the clipboard holds text,
// Copy when some of the field's text is selected. Otherwise they act on
// the document (a picture becomes the stencil, the result is copied), as
// with no field focused.

class QWidget;

namespace gelcoat {

// Pastes the clipboard's text into the focused text field of window;
// false, doing nothing, when no field has the focus or there is no text.
bool pasteIntoFocusedField(QWidget& window);

// Copies the selection of the focused text field of window; false, doing
// nothing, when no field has the focus or nothing in it is selected.
bool copyFromFocusedField(QWidget& window);

} // namespace gelcoat
