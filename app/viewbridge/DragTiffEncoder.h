#pragma once

#include <QByteArray>
#include <QImage>

namespace gelcoat {

// The picture as the program's own LZW TIFF (premultiplied RGBA stored as
// associated alpha); empty when it cannot be made.
QByteArray encodeImageAsLzwTiff(const QImage& image);

// Makes the views drag pictures out as that TIFF.  Call once at start-up.
void installDragTiffEncoder();

} // namespace gelcoat
