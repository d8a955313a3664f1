#pragma once
// PNG, JPEG, GIF, BMP and WebP through Qt's image readers, described the way
// the intake check expects: palettes expanded, straight alpha premultiplied,
// and PNG's stored depth and layout kept in the description.

#include "intake/SourcePicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// format is the Qt reader's name ("png", "jpeg", "gif", "bmp", "webp"); the
// caller has recognised the bytes already, so Qt does not guess. Nothing,
// with the reason in *error, for sizes beyond bitmapSizeAllowed or data the
// reader rejects.
std::optional<SourcePicture> readPictureWithQt(const QByteArray& bytes, const QByteArray& format,
                                               QString* error = nullptr);

} // namespace gelcoat
