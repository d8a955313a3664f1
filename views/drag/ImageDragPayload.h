#pragma once
// What dragging a picture out of a view hands to the receiver: TIFF made by
// the program's own LZW writer, PNG, and a temporary TIFF file named by a
// URL list, since many Linux applications accept only files.

#include <QByteArray>
#include <QImage>

#include <functional>

class QMimeData;

namespace gelcoat {

// Turns a picture into LZW TIFF data; an empty array on failure.  The
// views know nothing of documents, so the application installs the
// program's TIFF writer here once at start-up.
using TiffEncoder = std::function<QByteArray(const QImage&)>;
void setDragTiffEncoder(TiffEncoder encoder);
bool hasDragTiffEncoder();

// The data of a drag of the picture, or nullptr for a null picture.  Without
// an encoder (or when encoding fails) the TIFF type is left out and the
// file is a PNG.
QMimeData* makeImageDragPayload(const QImage& image);

} // namespace gelcoat
