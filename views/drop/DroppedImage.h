#pragma once
// Reading a picture out of dropped data: image data in any format the
// image readers know, or a list of URLs naming a local picture file, which
// is what file managers send.

#include <QImage>

class QMimeData;

namespace gelcoat {

// True when the data offers a picture in a readable format; checks the
// types offered (and a named file's header), without decoding.
bool mimeDataOffersImage(const QMimeData* data);

// The picture of the data, or a null image when none can be read (unknown
// or broken data, a size beyond the readers' allocation limit).
QImage imageFromMimeData(const QMimeData* data);

} // namespace gelcoat
