#pragma once
// Whether dropped data may hold a picture: image data of any kind, a list
// of URLs naming a local file (what file managers send), or an in-process
// image. The receiver decodes it and has the last word.

class QMimeData;

namespace gelcoat {

// Looks at the types offered only, without decoding.
bool mimeDataOffersImage(const QMimeData* data);

} // namespace gelcoat
