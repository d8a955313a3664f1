#pragma once
// Pictures offered by the clipboard or a drop, read through the intake's
// own decoder so that a grey picture stays grey (and becomes a mask) rather
// than being widened to colour on the way in.

#include "document/intake/SourcePicture.h"

#include <optional>

class QMimeData;

namespace gelcoat {

// The first picture the data yields, trying in turn: raw image bytes of any
// image/ type the decoder reads, then a local file named in a URL list (a
// file manager's drag or copy), then the in-process Qt image taken as a
// 32-bit picture. Nothing when none of them decodes.
std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data);

} // namespace gelcoat
