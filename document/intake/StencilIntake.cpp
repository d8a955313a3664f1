#include "document/intake/StencilIntake.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace gelcoat {

namespace {

enum class Conversion { Standardise32, Convert8, Convert24 };

std::optional<bool> refuse(SourcePicture& picture, IntakeRefusal* refusal, IntakeRefusal why)
{
    picture.pixels = BitmapRep();
    if (refusal)
        *refusal = why;
    return std::nullopt;
}

// Samples per pixel each conversion reads from the decoded 8-bit pixels.
int inputSamples(Conversion conversion)
{
    switch (conversion) {
    case Conversion::Standardise32: return 4;
    case Conversion::Convert8: return 1;
    case Conversion::Convert24: return 3;
    }
    return 0;
}

void convertRow(Conversion conversion, const std::uint8_t* in, std::uint8_t* out, int width)
{
    switch (conversion) {
    case Conversion::Standardise32:
        std::memcpy(out, in, std::size_t(width) * 4);
        break;
    case Conversion::Convert8:
        // A grey sample becomes the coverage of a black stencil.
        for (int x = 0; x < width; ++x, out += 4)
            out[0] = out[1] = out[2] = 0, out[3] = in[x];
        break;
    case Conversion::Convert24:
        // Darkness becomes coverage: black opaque, white transparent.
        for (int x = 0; x < width; ++x, in += 3, out += 4) {
            out[0] = out[1] = out[2] = 0;
            out[3] = std::uint8_t(255 - (int(in[0]) + in[1] + in[2]) / 3);
        }
        break;
    }
}

} // namespace

std::optional<bool> checkImage(SourcePicture& picture, IntakeRefusal* refusal)
{
    if (refusal)
        *refusal = IntakeRefusal::None;
    if (picture.representationCount != 1)
        return refuse(picture, refusal, IntakeRefusal::RepresentationCount);
    // The decoders hand 16-bit samples over narrowed to 8 bits (rounded to
    // nearest) and grey with alpha widened to RGBA with the same alpha: such
    // pictures are checked as the 8-bit RGBA picture they now are.
    if (picture.isBitmap && !picture.isPlanar && picture.bitsPerSample == 16) {
        picture.bitsPerSample = 8;
        picture.bitsPerPixel = 8 * picture.samplesPerPixel;
    }
    if (picture.isBitmap && !picture.isPlanar && picture.samplesPerPixel == 2 &&
        picture.hasAlpha && picture.bitsPerSample == 8) {
        picture.samplesPerPixel = 4;
        picture.bitsPerPixel = 32;
    }
    if (picture.bitsPerSample != 8 && !picture.hasAlpha)
        return refuse(picture, refusal, IntakeRefusal::SampleDepth);
    if (!picture.isBitmap)
        return refuse(picture, refusal, IntakeRefusal::NotBitmap);
    if (picture.isPlanar)
        return refuse(picture, refusal, IntakeRefusal::Planar);
    if (picture.unsupportedColourModel)
        return refuse(picture, refusal, IntakeRefusal::ColourModel);

    const int spp = picture.samplesPerPixel;
    const int bpp = picture.bitsPerPixel;
    Conversion conversion;
    bool simple;
    if (spp == 4 || bpp == 32)
        conversion = Conversion::Standardise32, simple = false;
    else if (spp == 1 || bpp == 8)
        conversion = Conversion::Convert8, simple = true;
    else if (spp == 3 || bpp == 24)
        conversion = Conversion::Convert24, simple = true;
    else
        return refuse(picture, refusal, IntakeRefusal::Layout);

    // The decoders always hand over 8-bit pixels, which is what lets a
    // 4-sample picture of other depths be standardised safely. Pixels that
    // do not match the conversion chosen from the description are refused
    // rather than read with the wrong layout.
    const BitmapRep& in = picture.pixels;
    if (in.isNull() || in.pixelsWide() <= 0 || in.pixelsHigh() <= 0)
        return refuse(picture, refusal, IntakeRefusal::NoPixels);
    if (in.isPlanar() || in.bitsPerSample() != 8 ||
        in.samplesPerPixel() != inputSamples(conversion))
        return refuse(picture, refusal, IntakeRefusal::Layout);
    // Tightly packed RGBA is already the standard bitmap: kept, not copied.
    const bool standardAlready = conversion == Conversion::Standardise32 && in.hasAlpha() &&
                                 in.bytesPerRow() == in.pixelsWide() * 4;
    if (!standardAlready) {
        auto out = BitmapRep::makeUninitialized(in.pixelsWide(), in.pixelsHigh());
        if (!out)
            return refuse(picture, refusal, IntakeRefusal::NoPixels);
        for (int y = 0; y < in.pixelsHigh(); ++y)
            convertRow(conversion, in.row(y), out->row(y), in.pixelsWide());
        picture.pixels = std::move(*out);
    }
    picture.representationCount = 1;
    picture.bitsPerSample = 8;
    picture.samplesPerPixel = 4;
    picture.bitsPerPixel = 32;
    picture.hasAlpha = true;
    picture.isPlanar = false;
    return simple;
}

QString intakeRefusalReason(IntakeRefusal refusal, const SourcePicture& d)
{
    switch (refusal) {
    case IntakeRefusal::None: break;
    case IntakeRefusal::RepresentationCount:
        return QStringLiteral("several pages (%1); a stencil is exactly one picture")
            .arg(d.representationCount);
    case IntakeRefusal::SampleDepth:
        return QStringLiteral("%1-bit samples without alpha").arg(d.bitsPerSample);
    case IntakeRefusal::NotBitmap:
        return QStringLiteral("%1 is a vector picture")
            .arg(d.vectorKind.isEmpty() ? QStringLiteral("this") : d.vectorKind);
    case IntakeRefusal::Planar: return QStringLiteral("planar samples (each colour stored apart)");
    case IntakeRefusal::ColourModel:
        return QStringLiteral("a colour model other than RGB or grey (CMYK, Lab or "
                              "floating-point samples)");
    case IntakeRefusal::Layout:
        return QStringLiteral("%1 samples and %2 bits per pixel, a layout no stencil has")
            .arg(d.samplesPerPixel)
            .arg(d.bitsPerPixel);
    case IntakeRefusal::NoPixels:
        return QStringLiteral("no pixels to be had (an empty picture, or not enough memory)");
    }
    return {};
}

QString incompatibleImageTitle()
{
    return QCoreApplication::translate("TintDocument", "Incompatible image");
}

QString incompatibleImageMessage()
{
    return QCoreApplication::translate("TintDocument",
                                       "The image chosen is not compatible with Gelcoat.  Please "
                                       "see Gelcoat's help for more information.");
}

QString incompatibleImageMessage(const QString& reason)
{
    if (reason.isEmpty())
        return incompatibleImageMessage();
    return incompatibleImageMessage() + QStringLiteral("\n\n") + reason;
}

QString intakeAlertButton() { return QCoreApplication::translate("TintDocument", "OK"); }

std::optional<BitmapRep> invertedStencil(const BitmapRep& source)
{
    if (!isEngineFormat(source) || source.bitsPerSample() != 8)
        return std::nullopt;
    auto out = BitmapRep::make(source.pixelsWide(), source.pixelsHigh());
    if (!out)
        return std::nullopt;
    for (int y = 0; y < source.pixelsHigh(); ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* o = out->row(y);
        for (int x = 0; x < source.pixelsWide(); ++x, in += 4, o += 4) {
            o[0] = in[0];
            o[1] = in[1];
            o[2] = in[2];
            o[3] = std::uint8_t(255 - in[3]);
        }
    }
    return out;
}

std::optional<BitmapRep> adjustedStencil(const BitmapRep& source, const StencilMargins& margins,
                                         QString* refusal)
{
    if (refusal)
        refusal->clear();
    if (!isEngineFormat(source) || source.bitsPerSample() != 8)
        return std::nullopt;
    // 64-bit throughout: margins are whatever integers the user typed.
    const qint64 w = source.pixelsWide(), h = source.pixelsHigh();
    const qint64 top = margins.top, bottom = margins.bottom;
    const qint64 left = margins.left, right = margins.right;
    const qint64 width = w + left + right, height = h + top + bottom;
    if (w + left <= 0 || w + right <= 0 || width <= 0 || h + top <= 0 || h + bottom <= 0 ||
        height <= 0) {
        if (refusal)
            *refusal = adjustSizeObliteratedMessage();
        return std::nullopt;
    }
    if (!bitmapSizeAllowed(width, height)) {
        if (refusal)
            *refusal = adjustSizeTooLargeMessage(width, height);
        return std::nullopt;
    }
    auto out = BitmapRep::make(int(width), int(height));
    if (!out)
        return std::nullopt;
    // The destination starts transparent; copy the part of each source row
    // that lands inside it. The tests above leave at least one source column
    // and row inside, and every index fits in int once the size is allowed.
    const qint64 firstX = std::max<qint64>(0, left);
    const qint64 endX = std::min<qint64>(width, w + left);
    for (qint64 y = std::max<qint64>(0, top); y < std::min<qint64>(height, h + top); ++y) {
        const std::uint8_t* in = source.row(int(y - top)) + (firstX - left) * 4;
        std::memcpy(out->row(int(y)) + firstX * 4, in, std::size_t(endX - firstX) * 4);
    }
    return out;
}

QString adjustSizeTitle()
{
    return QCoreApplication::translate("TintDocument", "Adjust Stencil Size");
}

QString adjustSizeObliteratedMessage()
{
    return QCoreApplication::translate("TintDocument",
                                       "The margins entered would completely obliterate the "
                                       "existing stencil, so the size adjustment will not be "
                                       "performed.");
}

QString adjustSizeTooLargeMessage(qint64 width, qint64 height)
{
    return QCoreApplication::translate("TintDocument",
                                       "The stencil would be %1 × %2 pixels, which is too large.")
        .arg(width)
        .arg(height);
}

} // namespace gelcoat
