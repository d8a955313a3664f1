#pragma once
// The application-modal open panels: documents (several at once) and
// pictures (one, for a document whose own picture is missing). Each starts
// in the folder last opened from, which it remembers on OK.

#include <QString>
#include <QStringList>

namespace gelcoat {

// The chosen documents; none when cancelled.
QStringList runDocumentOpenPanel();
// The chosen picture; empty when cancelled.
QString runPictureOpenPanel();

} // namespace gelcoat
