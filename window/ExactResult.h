#pragma once
// Copy, export and drag-out take the exact result of the current settings.
// While the document's render worker is still on it, they wait; a wait
// longer than the progress panel's threshold shows the panel, whose Stop
// gives up the wait.

class QWidget;

namespace gelcoat {

class TintDocument;

// True once the document's last result is the one for its settings; false
// when the user stopped the wait.
bool waitForExactResult(TintDocument& document, QWidget* window);

} // namespace gelcoat
