#pragma once
// What dragging a picture out of a view hands to the receiver: TIFF made by
// the program's own LZW writer, PNG made by its own PNG writer, and a PNG
// file named by a URL list, since file managers and browsers' upload
// fields accept only files.

#include <QByteArray>
#include <QImage>

#include <functional>

class QMimeData;

namespace gelcoat {

// Turns a picture into file data; an empty array on failure.
using ImageEncoder = std::function<QByteArray(const QImage&)>;

// The views know nothing of documents, so the application installs the
// program's writers here once at start-up.
struct DragEncoders {
    ImageEncoder tiff;
    ImageEncoder png;
};
void setDragEncoders(DragEncoders encoders);

// The data of a drag of the picture, or nullptr for a null picture or when
// nothing could be encoded. A type whose writer is missing (or fails) is
// left out. The file is the PNG (else the TIFF) under fileName (a name
// without its folder, see dragFileName()) in a folder of the user's cache
// folder that is removed when the program ends.
QMimeData* makeImageDragPayload(const QImage& image, const QString& fileName = {});

// The name a dragged picture's file takes: name with ".png" added unless
// it already ends so, any "/" made "-", "Gelcoat image.png" when empty.
QString dragFileName(const QString& name);

} // namespace gelcoat
