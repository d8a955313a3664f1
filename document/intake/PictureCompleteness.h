#pragma once
// Whether a picture's bytes hold everything its headers announce. Qt's
// decoders fill what a truncated BMP, GIF or JPEG lacks (with nothing, or
// with grey) and report success; these walks of the file structure find
// the missing part first. Each takes bytes already known to be of its kind
// and is false when the data stops early.

#include <QByteArray>

namespace gelcoat {

// The markers up to the first scan, then an end-of-image marker after it
// (an EXIF thumbnail's markers lie inside a segment and are skipped).
bool jpegDataComplete(const QByteArray& bytes);

// The blocks up to the first image, and all of that image's data
// sub-blocks through their terminator.
bool gifDataComplete(const QByteArray& bytes);

// The pixel array the headers announce lies inside the file.
bool bmpDataComplete(const QByteArray& bytes);

} // namespace gelcoat
