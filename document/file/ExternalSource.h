#pragma once
// Finding the picture a document file names instead of embedding it: the
// path as written (a relative one taken from the document's folder), then a
// file of the same name beside the document.

#include "engine/buffer/BitmapRep.h"

#include <QString>

#include <optional>

namespace gelcoat {

struct ExternalSource {
    BitmapRep pixels;   // standard RGBA
    QString path;       // the stored path, or the place beside the document
};

// Nothing when neither place holds a readable picture, with why the path as
// written could not be used in *reason. Only regular files up to the
// picture size limit are read.
std::optional<ExternalSource> findExternalSource(const QString& storedPath,
                                                 const QString& documentPath,
                                                 QString* reason = nullptr);

// The last component of a stored path, for messages.
QString lastPathComponent(const QString& path);

} // namespace gelcoat
