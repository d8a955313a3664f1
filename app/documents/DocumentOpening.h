#pragma once
// Opening document files into windows: each file in a window of its own,
// the window that already shows a file raised instead, and every refusal
// told to the user before the next file opens.

#include <QStringList>

#include <functional>

class QWidget;

namespace gelcoat {

// The visible document window that shows path, if any.
QWidget* windowShowingDocument(const QString& path);

// Opens every path; show places and shows each new window. A picture that
// is not a document becomes the stencil of a new untitled document, whose
// window newUntitled makes. The alerts are application-modal: nothing else
// happens while one waits. Returns the number of paths that now show in a
// window (new or raised).
int openDocumentFiles(const QStringList& paths, const std::function<void(QWidget*)>& show,
                      const std::function<QWidget*()>& newUntitled);

} // namespace gelcoat
