#pragma once
// 8-bit RGBA PNGs, the usual stencil, read straight into the stencil's
// premultiplied pixels. Qt's reader would first load every image
// plug-in to ask whether one of them reads PNG, then decode into an image
// of its own that is converted and copied again.

#include "document/intake/PngHeader.h"
#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// Non-interlaced 8-bit RGBA of an allowed size without an eXIf chunk: the
// pictures whose pixels and description this reader gives as Qt's would.
bool readsAsRgbaPng(const PngHeader& header, const QByteArray& bytes);

enum class RgbaPngPath {
    Fastest,   // the whole image data at once when the file is well formed
    ByRows,    // libpng alone (for comparing the two)
};

// The picture of a file whose header readsAsRgbaPng() took, or nothing with
// the reason in *error.
std::optional<SourcePicture> readRgbaPng(const QByteArray& bytes, const PngHeader& header,
                                         QString* error, RgbaPngPath path = RgbaPngPath::Fastest);

} // namespace gelcoat
