#pragma once
// The final image as PNG, compressed on every core: Qt's writer tries
// every row filter at a fixed zlib level, converts the whole image first
// and compresses on one core.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>

namespace gelcoat {

// Premultiplied RGBA in, straight 8-bit RGBA out (the same conversion Qt
// applies when it writes the image); empty when it cannot be encoded.
QByteArray encodePngImage(const BitmapRep& image);

} // namespace gelcoat
