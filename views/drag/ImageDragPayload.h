#pragma once
// What dragging a picture out of a view hands to the receiver: TIFF made by
// the program's own LZW writer, PNG, and a PNG file named by a URL list,
// since file managers and browsers' upload fields accept only files.

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
// an encoder (or when encoding fails) the TIFF type is left out.  The file
// is fileName (a name without its folder; ".png" is added when it lacks
// that suffix) in a folder of the user's cache folder that is removed when
// the program ends; an empty name gives "Gelcoat image.png".
QMimeData* makeImageDragPayload(const QImage& image, const QString& fileName = {});

// The name a dragged picture's file takes: name with ".png" added unless
// it already ends so, any "/" made "-", "Gelcoat image.png" when empty.
QString dragFileName(const QString& name);

} // namespace gelcoat
