#pragma once
// Grey and colour Netpbm pictures (PGM, PPM; binary or text) whose samples
// go beyond 8 bits. Qt's reader narrows them without rounding, and not the
// same way for PGM and PPM, so they are read here.

#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// True for a P2, P3, P5 or P6 header whose largest sample value is above
// 255; only the header is looked at.
bool isDeepNetpbm(const QByteArray& bytes);

// The picture described as 16-bit grey or RGB without alpha, its samples
// narrowed to 8 bits rounded to nearest (v × 255 / maximum). Nothing, with
// the reason in *error, for a damaged or oversized file.
std::optional<SourcePicture> readDeepNetpbm(const QByteArray& bytes, QString* error = nullptr);

} // namespace gelcoat
