#include "window/export/DragWriters.h"

#include "document/export/ImageEncoders.h"
#include "views/drag/ImageDragPayload.h"

namespace gelcoat {

void installDragWriters()
{
    setDragEncoders({encodeImageAsLzwTiff, encodeImageAsPng});
}

} // namespace gelcoat
