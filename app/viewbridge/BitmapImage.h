#pragma once
// Conversions between the engine's pixel buffers and Qt images, for handing
// pictures between documents and views.

#include "engine/buffer/BitmapRep.h"

#include <QImage>

#include <memory>
#include <optional>

namespace gelcoat {

// A Qt image holding a copy of the buffer's premultiplied RGBA pixels; null
// when the buffer is not in the engine's format.
QImage imageFromBitmap(const BitmapRep& bitmap);

// A read-only Qt image over the buffer's own pixels, which it keeps alive:
// no copy is made. Null when the buffer is not in the engine's format.
QImage imageSharingBitmap(std::shared_ptr<const BitmapRep> bitmap);

// The image's pixels as an engine buffer; nothing for a null image or a
// size the buffers do not allow.
std::optional<BitmapRep> bitmapFromImage(const QImage& image);

} // namespace gelcoat
