#pragma once
// The final image as lossless WebP.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>

namespace gelcoat {

// Premultiplied RGBA in, straight RGBA out (the conversion the PNG writer
// makes, so that both files hold the same pixels), every sample kept
// exactly, even the colour under full transparency. Empty when the image
// cannot be encoded, as one wider or taller than WebP's 16,383 pixels.
QByteArray encodeWebpImage(const BitmapRep& image);

} // namespace gelcoat
