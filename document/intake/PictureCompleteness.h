#pragma once
// Whether a picture's bytes hold everything its headers announce. Qt's
// decoders fill what a truncated BMP, GIF, JPEG or XBM lacks (with nothing,
// or with grey), read past a PNG's cut end, and report success; these
// walks of the file structure find the missing part first. Each takes bytes
// already known to be of its kind and is false when the data stops early.

#include <QByteArray>

namespace gelcoat {

// The markers up to the first scan, then an end-of-image marker after it
// (an EXIF thumbnail's markers lie inside a segment and are skipped).
bool jpegDataComplete(const QByteArray& bytes);

// Every block, each image's data sub-blocks through their terminator, and
// the trailer.
bool gifDataComplete(const QByteArray& bytes);

// The chunks, each whole, through IEND (Qt's reader does not need IEND's
// checksum; the one for 8-bit RGBA reads through it with libpng).
bool pngDataComplete(const QByteArray& bytes);

// The C array of an XBM holds the values its width and height need, and
// is closed; Qt's reader fills a short one with zeros.
bool xbmDataComplete(const QByteArray& bytes);

// The C array of an XPM is closed: a file cut inside it has lost rows or
// the end of one.
bool xpmDataComplete(const QByteArray& bytes);

// The pixel array the headers announce lies inside the file.
bool bmpDataComplete(const QByteArray& bytes);

} // namespace gelcoat
