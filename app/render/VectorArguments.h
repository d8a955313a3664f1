#pragma once
// Whether a run of gelcoat-render will draw an SVG. Text in an SVG is drawn
// with the system's fonts, which only a GUI application can reach; the
// renderer starts as one (on the offscreen platform, needing no display)
// only then, so that the usual run starts as quickly as a core one.

#include <QByteArrayList>

namespace gelcoat {

// True when an argument names a regular file that starts as an SVG or as a
// gzip stream (which may hold one). Never opens anything but regular files.
bool argumentsNameVectorPicture(const QByteArrayList& args);

} // namespace gelcoat
