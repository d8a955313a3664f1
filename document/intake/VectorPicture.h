#pragma once
// SVG drawings (plain or gzip-compressed) drawn into a bitmap stencil with
// transparency. A logo usually comes as SVG; the stencil, the document and
// every stage after intake only ever see the bitmap drawn here.

#include "document/intake/SourcePicture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace gelcoat {

// The longer side of a drawn vector picture, unless the user chose another.
inline constexpr int kDefaultVectorSide = 1024;
// The largest longer side: a square drawing of that side stays within
// kMaxBitmapPixels.
inline constexpr int kMaxVectorSide = 16384;
static_assert(std::int64_t(kMaxVectorSide) * kMaxVectorSide <= kMaxBitmapPixels);

// Text that opens as XML (after an optional byte-order mark and blank
// space) with an <svg element near its start.
bool looksLikeSvg(const QByteArray& bytes);

// A gzip stream, which may hold an SVG (an .svgz file); only the header is
// looked at.
bool looksLikeGzip(const QByteArray& bytes);

// The SVG text of plain or gzip-compressed bytes. Nothing, with the reason
// in *error, for a damaged stream, one that opens beyond the size an SVG
// file may have, or text that is no SVG.
std::optional<QByteArray> plainSvgText(const QByteArray& bytes, QString* error = nullptr);

// The drawing scaled so that its longer side is longerSide pixels (the
// shorter one in proportion, at least 1), antialiased on transparency, as
// an 8-bit RGBA picture; vectorSource keeps the SVG text. Nothing, with the
// reason in *error, for an SVG that Qt cannot parse or that has no size.
std::optional<SourcePicture> drawSvg(const QByteArray& svgText, int longerSide,
                                     QString* error = nullptr);

} // namespace gelcoat
