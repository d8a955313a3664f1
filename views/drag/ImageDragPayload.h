#pragma once
// What dragging a picture out of a view hands to the receiver: TIFF made by
// the program's own LZW writer, PNG made by its own PNG writer, and a
// temporary TIFF file named by a URL list, since many Linux applications
// accept only files.

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
// left out; the file is the TIFF, else the PNG.
QMimeData* makeImageDragPayload(const QImage& image);

} // namespace gelcoat
