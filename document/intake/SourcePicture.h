#pragma once
// A decoded picture as the intake's acceptance check sees it: the layout the
// file stored, plus its first representation decoded to plain 8-bit pixels.

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>
#include <QString>

namespace gelcoat {

struct SourcePicture {
    int representationCount = 1;   // pages (TIFF directories); an animated GIF counts as 1
    bool isBitmap = true;          // false for vector kinds left undrawn (PDF)
    int bitsPerSample = 8;         // as stored in the file (1, 2, 4, 8, 16)
    int samplesPerPixel = 4;       // colour samples + alpha, as stored
    int bitsPerPixel = 32;
    bool hasAlpha = true;
    bool isPlanar = false;
    // Set for colour models the decoder cannot turn into RGB faithfully
    // (CMYK, Lab, floating-point samples); the check refuses such pictures.
    bool unsupportedColourModel = false;
    // What an undrawn vector picture is, for the refusal ("a PDF").
    QString vectorKind;
    // First representation, 8-bit chunky: 1 sample = grey, 3 = RGB,
    // 4 = RGBA premultiplied. Empty for vector pictures.
    BitmapRep pixels;
    // The SVG text (uncompressed) a drawn vector picture came from, for
    // whatever wants the drawing itself, such as an icon theme's scalable
    // icon; empty for every bitmap picture.
    QByteArray vectorSource;
    bool fromVector() const { return !vectorSource.isEmpty(); }
};

} // namespace gelcoat
