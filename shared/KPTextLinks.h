#pragma once
// Turning the last occurrence of a text into a link.  No link is made when
// the text does not occur, or occurs only at the very start.  Links open
// through QDesktopServices::openUrl.

#include <QString>

class QLabel;
class QTextBrowser;

// Index of the stretch that becomes a link, or -1.
qsizetype KPLinkPosition(const QString& text, const QString& linkText);

// Takes the frame, the scroll bars, the background and the document margin
// off a text view, so that its text sits on its parent like a label's.
void KPMakeBorderlessTextView(QTextBrowser* view);

// Links the stretch in the browser's own text (blue, underlined).
bool KPFixTextToGoToLink(QTextBrowser* view, const QString& linkText, const QString& url);

// Replaces the label, in its parent and at its geometry, by a read-only,
// selectable, borderless text view with the label's text, font and
// alignment, links the stretch in it, deletes the label (later) and returns
// the view.  The label must have a parent widget.
QTextBrowser* KPFixTextToGoToLink(QLabel* field, const QString& linkText, const QString& url);
