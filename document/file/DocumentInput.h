#pragma once
// Whether a file given to the program is a document or a picture, decided
// alike by every program that takes both.

#include <QByteArray>
#include <QString>

namespace gelcoat {

// A document by its extension, or by a property list near the start (an
// SVG picture opens as XML too).
bool isDocumentInput(const QString& path);
bool isDocumentInput(const QByteArray& nativePath);

} // namespace gelcoat
