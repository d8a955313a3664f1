#pragma once
// A vector stencil's own drawing, which a hicolor icon tree keeps beside
// its bitmaps as scalable/apps/NAME.svg.

#include <QByteArray>

namespace gelcoat {

// The file's SVG when it is one (plain, or gzip compressed as SVGZ, given
// back uncompressed); else empty. Decided by the content, not the name.
QByteArray scalableSource(const QByteArray& nativePath);

} // namespace gelcoat
