#pragma once
// Copy and Paste serve a value field being edited before the document: with
// a text field of the window focused they act on its text.

class QLineEdit;
class QWidget;

namespace gelcoat {

// Runs edit (a copy or a paste) on the focused text field
// of window; false when none has the focus.
bool editFocusedField(QWidget& window, void (*edit)(QLineEdit&));

} // namespace gelcoat
