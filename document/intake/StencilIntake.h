#pragma once
// The gate every stencil passes: the acceptance check that turns a decoded
// picture into the engine's standard RGBA bitmap, and the two edit commands
// that derive a new stencil from the current one (invert, adjust size).

#include "engine/buffer/BitmapRep.h"
#include "document/intake/SourcePicture.h"

#include <QString>

#include <optional>

namespace gelcoat {

// Which test of the acceptance check refused a picture, for logs and tests.
enum class IntakeRefusal {
    None,
    RepresentationCount,   // not exactly one page
    SampleDepth,           // neither 8 bits per sample nor alpha
    NotBitmap,             // a vector picture
    Planar,
    ColourModel,           // CMYK and other models the decoder cannot show
    Layout,                // no 32-, 8- or 24-bit classification applies
    NoPixels,              // zero size, or the new bitmap cannot be allocated
};

// Runs the acceptance check. On acceptance picture.pixels becomes a
// standard bitmap (the same buffer when it already was one) (8-bit RGBA premultiplied, chunky), the description is
// updated to match, and the result is the simple flag: true for a grey or
// RGB picture turned into a black alpha mask. On refusal the pixels are
// released and the result is empty.
std::optional<bool> checkImage(SourcePicture& picture, IntakeRefusal* refusal = nullptr);

// The test that refused a picture, in words, for a command line that shows
// it beneath the alert; described is the picture as decoded.
QString intakeRefusalReason(IntakeRefusal refusal, const SourcePicture& described);

// Texts of the alert shown when a picture is refused.
QString incompatibleImageTitle();
QString incompatibleImageMessage();
// The message with the precise reason beneath it, as the window shows it
// (the reason in the same words the command line prints).
QString incompatibleImageMessage(const QString& reason);
QString intakeAlertButton();   // "OK", for every intake alert

// A new standard bitmap with each pixel's R, G, B kept and A' = 255 − A.
// Colour samples may then exceed alpha; inverting again restores the bytes.
// Empty for a source that is not 4 bytes per pixel, is empty, or when memory
// runs out.
std::optional<BitmapRep> invertedStencil(const BitmapRep& source);

// Margins added to (or, when negative, cut from) each side of the stencil.
struct StencilMargins {
    int top = 0, bottom = 0, left = 0, right = 0;
};

// The stencil grown or cropped by the margins: destination (x, y) takes
// source (x − left, y − top) when that lies inside, else transparent black.
// When the margins leave nothing, or the result would be too large, the
// result is empty and *refusal holds the message to show under
// adjustSizeTitle(); an empty *refusal with an empty result means the
// source was unusable or memory ran out.
std::optional<BitmapRep> adjustedStencil(const BitmapRep& source, const StencilMargins& margins,
                                         QString* refusal = nullptr);

QString adjustSizeTitle();
QString adjustSizeObliteratedMessage();
QString adjustSizeTooLargeMessage(qint64 width, qint64 height);

} // namespace gelcoat
