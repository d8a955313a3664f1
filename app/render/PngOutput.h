#pragma once
// The final image as PNG, written with libpng directly: Qt's writer tries
// every row filter at a fixed zlib level and converts the whole image first.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>

namespace gelcoat {

// Premultiplied RGBA in, straight 8-bit RGBA out (the same conversion Qt
// applies when it writes the image); empty when it cannot be encoded.
QByteArray encodePngImage(const BitmapRep& image);

} // namespace gelcoat
