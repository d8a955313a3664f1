#include "document/intake/DeepNetpbmReader.h"

#include "document/intake/SampleReduction.h"

#include <algorithm>
#include <cctype>

namespace gelcoat {

namespace {

struct NetpbmHeader {
    char kind = 0;   // '2', '3', '5' or '6'
    long long width = 0, height = 0, maxValue = 0;
    qsizetype dataStart = 0;
};

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Blank space and comments, which run to the end of their line.
qsizetype skipBlank(const QByteArray& bytes, qsizetype i)
{
    while (i < bytes.size() && (isSpace(bytes[i]) || bytes[i] == '#')) {
        if (bytes[i] == '#')
            while (i < bytes.size() && bytes[i] != '\n')
                ++i;
        else
            ++i;
    }
    return i;
}

// A decimal number, capped so that it cannot overflow; nothing when no
// digit is there.
std::optional<long long> number(const QByteArray& bytes, qsizetype& i)
{
    i = skipBlank(bytes, i);
    if (i >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[i])))
        return std::nullopt;
    long long value = 0;
    while (i < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[i])))
        value = std::min(value * 10 + (bytes[i++] - '0'), 1LL << 40);
    return value;
}

std::optional<NetpbmHeader> readHeader(const QByteArray& bytes)
{
    if (bytes.size() < 2 || bytes[0] != 'P' || !QByteArray("2356").contains(bytes[1]))
        return std::nullopt;
    NetpbmHeader header;
    header.kind = bytes[1];
    qsizetype i = 2;
    const auto width = number(bytes, i), height = number(bytes, i), maxValue = number(bytes, i);
    if (!width || !height || !maxValue)
        return std::nullopt;
    header.width = *width, header.height = *height, header.maxValue = *maxValue;
    // One blank character ends the header of a binary file.
    header.dataStart = i + 1;
    return header;
}

std::optional<SourcePicture> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

} // namespace

bool isDeepNetpbm(const QByteArray& bytes)
{
    const std::optional<NetpbmHeader> header = readHeader(bytes.left(1024));
    return header && header->maxValue > 255;
}

std::optional<SourcePicture> readDeepNetpbm(const QByteArray& bytes, QString* error)
{
    const std::optional<NetpbmHeader> header = readHeader(bytes);
    if (!header || header->maxValue <= 255 || header->maxValue > 65535)
        return fail(error, QStringLiteral("damaged: the Netpbm header cannot be read"));
    if (!bitmapSizeAllowed(header->width, header->height))
        return fail(error, QStringLiteral("The image is %1 × %2 pixels, which is empty or beyond "
                                          "the limit of %3 pixels.")
                               .arg(header->width)
                               .arg(header->height)
                               .arg(kMaxBitmapPixels));
    const bool colour = header->kind == '3' || header->kind == '6';
    const bool binary = header->kind == '5' || header->kind == '6';
    const int samples = colour ? 3 : 1;
    const int width = int(header->width), height = int(header->height);
    const qint64 sampleCount = qint64(width) * height * samples;
    if (binary && header->dataStart + sampleCount * 2 > bytes.size())
        return fail(error, QStringLiteral("damaged: the file ends early"));
    auto pixels = BitmapRep::makeLayout(width, height, samples, 8, false, false, 0, false);
    if (!pixels)
        return fail(error, QStringLiteral("Not enough memory to decode the image."));

    const auto maxValue = std::uint32_t(header->maxValue);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    qsizetype at = header->dataStart;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = pixels->row(y);
        for (int s = 0; s < width * samples; ++s) {
            std::uint32_t v = 0;
            if (binary) {
                v = std::uint32_t(data[at]) << 8 | data[at + 1];   // big-endian
                at += 2;
            } else {
                const std::optional<long long> text = number(bytes, at);
                if (!text)
                    return fail(error, QStringLiteral("damaged: the file ends early"));
                v = std::uint32_t(std::min<long long>(*text, maxValue));
            }
            out[s] = reducedSample(v, maxValue);
        }
    }

    SourcePicture picture;
    picture.representationCount = 1;
    picture.isBitmap = true;
    picture.isPlanar = false;
    picture.hasAlpha = false;
    picture.bitsPerSample = 16;
    picture.samplesPerPixel = samples;
    picture.bitsPerPixel = 16 * samples;
    picture.pixels = std::move(*pixels);
    return picture;
}

} // namespace gelcoat
