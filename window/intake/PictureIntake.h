#pragma once
// A picture taken in without holding the window: its bytes are decoded and
// run through the acceptance check on a thread of their own, then the document's
// render worker makes the new stencil's stages. Meanwhile the caller waits
// in a loop that serves the progress panel, which appears after its
// threshold and keeps the window painting; its Stop gives up the picture,
// and once the new stencil is in, puts the previous stencil back with its
// settings and edit mark.

#include "document/intake/SourcePicture.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace gelcoat {

class TintDocument;

// Makes the picture, on the decoding thread; nothing with an empty error for
// data that offered no picture at all.
using PictureSource = std::function<std::optional<SourcePicture>(QString* error)>;

enum class IntakeOutcome {
    Taken,
    NoPicture,    // nothing offered: passed over without a word
    Unreadable,   // offered but damaged or too large (error says why)
    Refused,      // decoded, but turned away by the acceptance check (error says why)
    Stopped,      // the user stopped it; nothing changed
};

// The panel's texts.
QString intakeProgressTitle();
QString intakeDecodingMessage();
QString intakeRenderingMessage();

// The picture the window shows of a new stencil, made from it on the decoding
// thread so that the interface thread does not copy a large picture; it is
// handed over just before the stencil goes in.
using StencilShown = std::function<void(QImage shown, const BitmapRep& stencil)>;

// Takes the picture source makes into the document as its stencil, its bug
// put back in the middle. window is the one the panel is a sheet of.
IntakeOutcome takeInPicture(TintDocument& document, QWidget* window, PictureSource source,
                            const QString& path, const StencilShown& shown = nullptr,
                            QString* error = nullptr);

// The first half alone, for a picture that opens a window of its own: the
// picture decoded and checked, with the source well's picture of it, and
// the panel application-modal. picture is empty when the source made
// nothing or the user stopped; simple is empty when the check refused it.
// error says why the source made nothing, or why the check refused.
struct CheckedPicture {
    std::optional<SourcePicture> picture;
    std::optional<bool> simple;
    QImage shown;
    QString error;
    bool stopped = false;
};
CheckedPicture checkPictureWithProgress(PictureSource source);

} // namespace gelcoat
