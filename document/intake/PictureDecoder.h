#pragma once
// The one way a picture's bytes become a SourcePicture: the kind is told by
// the content, never by a file name, then the matching decoder describes it.

#include "document/intake/SourcePicture.h"
#include "document/intake/VectorPicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// Larger files are not read at all.
inline constexpr qint64 kMaxPictureFileBytes = qint64(512) << 20;

// How pictures without pixels of their own become a bitmap.
struct PictureOptions {
    int vectorSide = kDefaultVectorSide;   // longer side of a drawn SVG, in pixels
};

// TIFF through libtiff; every raster format Qt's image plug-ins read through
// Qt (a truncated file is refused, never completed with filler); SVG and
// SVGZ drawn into a bitmap; PDF and PostScript described as vector pictures
// without pixels. Nothing, with the reason in *error, for unknown or
// undecodable data.
std::optional<SourcePicture> decodePicture(const QByteArray& bytes, QString* error = nullptr,
                                           const PictureOptions& options = {});

// True when the bytes begin as a picture of a kind the decoder knows,
// whether or not the rest of them decodes. Looks at the header only.
bool isPictureData(const QByteArray& bytes);

// Reads a regular file of at most kMaxPictureFileBytes (never a FIFO, device
// or folder) and decodes it.
std::optional<SourcePicture> decodePictureFile(const QString& path, QString* error = nullptr,
                                               const PictureOptions& options = {});

} // namespace gelcoat
