#pragma once
// The program's writers for a picture held as a Qt image, which is what the
// views have when a picture is dragged out of them. The views know nothing
// of documents: the application hands these to them at start-up.

#include <QByteArray>
#include <QImage>

namespace gelcoat {

// The program's own LZW TIFF (premultiplied RGBA stored as associated
// alpha); empty when it cannot be made.
QByteArray encodeImageAsLzwTiff(const QImage& image);

// The program's PNG; empty when it cannot be made.
QByteArray encodeImageAsPng(const QImage& image);

} // namespace gelcoat
