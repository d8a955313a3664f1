#pragma once
// Pictures that skip the acceptance check (those a document file names or
// embeds) still enter the document in the engine's layout, so that invert,
// adjust size and the pipeline only ever see 8-bit RGBA.

#include "engine/buffer/BitmapRep.h"
#include "document/intake/SourcePicture.h"

#include <optional>

namespace gelcoat {

// The picture's pixels as premultiplied RGBA: grey and RGB become opaque
// colour, RGBA is kept as it is. Nothing for a picture without pixels or
// when memory runs out.
std::optional<BitmapRep> standardBitmap(SourcePicture picture);

// True when every colour sample is 0: a black alpha mask, which is what the
// intake makes of a simple stencil.
bool isBlackMask(const BitmapRep& rgba);

} // namespace gelcoat
