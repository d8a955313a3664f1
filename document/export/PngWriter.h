#pragma once
// Every PNG the program writes, compressed on every core: Qt's writer tries
// every row filter at a fixed zlib level, converts the whole image first
// and compresses on one core.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>
#include <QImage>

namespace gelcoat {

// Straight 8-bit RGBA (the same conversion, and so the same pixels, Qt's
// writer gives), with the image's resolution. Empty for a null image or
// when memory runs out.
QByteArray encodePng(const QImage& image);

// An engine buffer: premultiplied RGBA in. Empty when the buffer is not in
// the engine's format.
QByteArray encodePng(const BitmapRep& image);

} // namespace gelcoat
