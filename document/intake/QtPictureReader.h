#pragma once
// PNG, JPEG, GIF, BMP and WebP through Qt's image readers, described the way
// the intake check expects: palettes expanded, straight alpha premultiplied,
// and PNG's stored depth and layout kept in the description.

#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace gelcoat {

// format is the Qt reader's name ("png", "jpeg", "gif", "bmp", "webp"); the
// caller has recognised the bytes already, so Qt does not guess. Nothing,
// with the reason in *error, for sizes beyond bitmapSizeAllowed or data the
// reader rejects.
std::optional<SourcePicture> readPictureWithQt(const QByteArray& bytes, const QByteArray& format,
                                               QString* error = nullptr);

// A Qt image taken as a 32-bit picture with alpha (what a clipboard's
// in-process image offers): RGBA premultiplied, described as 4 samples of 8
// bits. Nothing for a null image or a size the buffers do not allow.
std::optional<SourcePicture> pictureFromQtImage(const QImage& image);

} // namespace gelcoat
