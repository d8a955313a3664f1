#pragma once
// Encoding a rendered buffer for its output file.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>

namespace gelcoat {

enum class OutputKind { Tiff, Png, Unknown };

// By extension: .tif/.tiff or .png, any case.
OutputKind outputKindForPath(const QByteArray& path);

// The final image: LZW TIFF (horizontal predictor) with associated alpha, or
// PNG. Empty when it
// cannot be encoded.
QByteArray encodeResultImage(const BitmapRep& image, OutputKind kind);

// A pipeline buffer's four bytes per pixel unchanged, as an uncompressed
// TIFF whose alpha is marked unspecified so that no reader un-premultiplies.
QByteArray encodeStageImage(const BitmapRep& buffer);

} // namespace gelcoat
