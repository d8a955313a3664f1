#pragma once
// Writing a rendered buffer to a file, atomically: a failed write leaves
// no partial file and any earlier file of that name intact.

#include "buffer/BitmapRep.h"

#include <QString>

namespace gelcoat {

enum class OutputKind { Tiff, Png, Unknown };

// By extension: .tif/.tiff or .png, any case.
OutputKind outputKindForPath(const QString& path);

// The final image: LZW TIFF with associated alpha, or PNG.
bool writeResultImage(const BitmapRep& image, const QString& path, QString* error);

// A pipeline buffer's four bytes per pixel unchanged, as an uncompressed
// TIFF whose alpha is marked unspecified so that no reader un-premultiplies.
bool writeStageImage(const BitmapRep& buffer, const QString& path, QString* error);

} // namespace gelcoat
