#pragma once
// The one place where engine buffers and Qt images meet. The engine's
// premultiplied RGBA bytes are exactly Qt's RGBA8888_Premultiplied, so a
// buffer can be shown, encoded or dragged without converting; the other way,
// a picture of any Qt format becomes a buffer here.

#include "engine/buffer/BitmapRep.h"

#include <QImage>

#include <memory>
#include <optional>

namespace gelcoat {

// A read-only Qt image over the buffer's own pixels: no copy, and the
// caller keeps the buffer alive while the image is in use. Null when the
// buffer is not in the engine's format.
QImage imageOverBitmap(const BitmapRep& bitmap);

// The same, keeping the buffer alive itself for as long as the image (or a
// copy of it) lives.
QImage imageSharingBitmap(std::shared_ptr<const BitmapRep> bitmap);

// A Qt image holding a copy of the buffer's pixels; null when the buffer is
// not in the engine's format or memory runs out.
QImage imageFromBitmap(const BitmapRep& bitmap);

// The image's pixels as 8-bit chunky samples: premultiplied RGBA for 4
// samples (colour with straight alpha is premultiplied rounding as Qt's
// qPremultiply() does), RGB for 3 and grey for 1. The image is converted in
// place where its depth allows, so pass it by moving when it is not needed
// afterwards. Nothing for a null image, another sample count, or a size the
// buffers do not allow.
std::optional<BitmapRep> bitmapFromImage(QImage image, int samplesPerPixel = 4);

} // namespace gelcoat
