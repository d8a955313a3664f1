#pragma once
// TIFF in and out of memory: the encoding used for documents and exports,
// and the decoder that describes a TIFF file for the intake check.

#include "engine/buffer/BitmapRep.h"
#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// LzwPredictor: LZW after horizontal differencing (Predictor 2), which
// makes the smooth rows of a rendered gel about a third smaller; every
// reader that decodes LZW undoes it.
enum class TiffCompression { None, Lzw, LzwPredictor };

// How the fourth sample is labelled (ExtraSamples 1 or 0). Both carry the
// same premultiplied bytes.
enum class TiffAlphaKind { Associated, Unspecified };

// 8-bit RGBA, Photometric RGB, top-left orientation, rows top first,
// contiguous samples. The source must be in engine format; anything else,
// or a failure inside libtiff, gives an empty array.
QByteArray encodeTiff(const BitmapRep& rgbaPremultiplied, TiffCompression compression,
                      TiffAlphaKind alpha);

// True when the bytes start like a classic or big TIFF file.
bool looksLikeTiff(const QByteArray& bytes);

// Describes the first directory as stored and decodes it to 8-bit pixels
// (see SourcePicture). Nothing, with the reason in *error, when the data is
// not a TIFF, claims a size beyond bitmapSizeAllowed, or cannot be decoded.
std::optional<SourcePicture> decodeTiff(const QByteArray& bytes, QString* error = nullptr);

} // namespace gelcoat
