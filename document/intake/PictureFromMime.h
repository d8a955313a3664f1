#pragma once
// Pictures offered by the clipboard or a drop, read through the intake's
// own decoder so that a grey picture stays grey (and becomes a mask) rather
// than being widened to colour on the way in.

#include "document/intake/SourcePicture.h"

#include <QString>

#include <optional>

class QMimeData;

namespace gelcoat {

// The first picture the data yields, trying in turn: raw image bytes of any
// image/ type the decoder reads, then a local file named in a URL list (a
// file manager's drag or copy), then the in-process Qt image taken as a
// 32-bit picture. Nothing when none of them decodes; error then says why
// when the data did offer a picture (damaged, too large, not a picture
// after all) and stays empty when it offered none.
//
// Raw image bytes have the last word: when they do not decode, the Qt
// image is not asked for, since a clipboard makes it by decoding the same
// bytes again with none of the intake's checks (a truncated file filled
// in, a picture far too large decoded in full). Once bytes of a known
// picture kind are refused, the other types, which hold the same picture,
// are not fetched.
std::optional<SourcePicture> pictureFromMimeData(const QMimeData* data, QString* error = nullptr);

} // namespace gelcoat
