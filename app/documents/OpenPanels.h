#pragma once
// The application-modal open panel for documents (several at once). It
// starts in the folder last opened from, which it remembers on OK.

#include <QString>
#include <QStringList>

namespace gelcoat {

// The chosen documents; none when cancelled.
QStringList runDocumentOpenPanel();

} // namespace gelcoat
