#pragma once
// Copy and Paste serve a value field being edited before the document: with
// a text field of the window focused they act on its text.

class QWidget;

namespace gelcoat {

// True when a focused text field of window took the command.
bool copyFromFocusedField(QWidget& window);
bool pasteIntoFocusedField(QWidget& window);

} // namespace gelcoat
