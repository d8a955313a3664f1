#include "document/export/PngWriter.h"

#include "document/image/BitmapImage.h"
#include "engine/util/Parallel.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace gelcoat {

namespace {

// Rows compressed as one piece: enough for zlib's window to pay off, few
// enough that an image of a few hundred rows still splits across the cores.
constexpr int kStripRows = 64;

void appendBigEndian32(QByteArray& out, std::uint32_t v)
{
    char bytes[4];
    qToBigEndian<quint32>(v, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& png, const char* type, const char* data, qsizetype length)
{
    appendBigEndian32(png, std::uint32_t(length));
    const qsizetype typeAt = png.size();
    png.append(type, 4);
    if (length > 0)
        png.append(data, length);
    const auto* typed = reinterpret_cast<const Bytef*>(png.constData() + typeAt);
    appendBigEndian32(png, std::uint32_t(crc32(0, typed, uInt(length + 4))));
}

// One strip's rows as straight RGBA behind the Sub filter's type byte (the
// one cheap filter, which suits the smooth gradients of a gel), unpremultiplied
// by Qt as its writer does it.
bool filterStrip(const QImage& image, int firstRow, int rows, std::vector<Bytef>& out)
{
    const int width = image.width();
    const std::size_t rowBytes = std::size_t(width) * 4;
    const QImage straight = QImage(image.constScanLine(firstRow), width, rows,
                                   image.bytesPerLine(), image.format())
                                .convertToFormat(QImage::Format_RGBA8888);
    if (straight.isNull())
        return false;
    out.resize((rowBytes + 1) * std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* in = straight.constScanLine(r);
        Bytef* row = out.data() + std::size_t(r) * (rowBytes + 1);
        row[0] = 1;
        std::copy_n(in, 4, row + 1);
        for (std::size_t i = 4; i < rowBytes; ++i)
            row[1 + i] = Bytef(in[i] - in[i - 4]);
    }
    return true;
}

// A strip as raw deflate data that the next strip's data may follow: ended
// on a byte boundary by a sync flush, or by the final block for the last.
struct CompressedStrip {
    std::vector<Bytef> data;
    uLong adler = 1;
    uLong length = 0;   // uncompressed bytes, for combining the checksums
    bool ok = false;
};

void compressStrip(const QImage& image, int firstRow, int rows, bool last,
                   CompressedStrip& strip)
{
    std::vector<Bytef> filtered;
    try {
        if (!filterStrip(image, firstRow, rows, filtered))
            return;
        z_stream z{};
        if (deflateInit2(&z, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return;
        strip.data.resize(deflateBound(&z, uLong(filtered.size())) + 16);
        z.next_in = filtered.data();
        z.avail_in = uInt(filtered.size());
        z.next_out = strip.data.data();
        z.avail_out = uInt(strip.data.size());
        const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
        strip.ok = (last ? status == Z_STREAM_END : status == Z_OK) && z.avail_in == 0;
        strip.data.resize(strip.data.size() - z.avail_out);
        deflateEnd(&z);
    } catch (const std::bad_alloc&) {
        strip.ok = false;
        return;
    }
    strip.adler = adler32(1, filtered.data(), uInt(filtered.size()));
    strip.length = uLong(filtered.size());
}

// An image whose rows each strip can read on its own: 32 bits a pixel and
// no colour table. Premultiplied images stay as they are, so that the
// strips unpremultiply in parallel.
QImage withSelfContainedRows(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_RGBA8888_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBX8888:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_ARGB32:
    case QImage::Format_RGB32:
        return image;
    default:
        return image.convertToFormat(QImage::Format_RGBA8888);
    }
}

} // namespace

// Strips are compressed side by side on the cores and joined into one zlib
// stream, as pigz does: one stream is what PNG allows, and zlib alone would
// keep one core busy for as long as the render took on both.
QByteArray encodePng(const QImage& picture)
{
    const QImage image = withSelfContainedRows(picture);
    if (image.isNull())
        return {};
    const int height = image.height();
    const int stripCount = (height + kStripRows - 1) / kStripRows;
    std::vector<CompressedStrip> strips(static_cast<std::size_t>(stripCount));
    parallelFor(stripCount, [&](int begin, int end) {
        for (int s = begin; s < end; ++s) {
            const int first = s * kStripRows;
            compressStrip(image, first, std::min(kStripRows, height - first), s == stripCount - 1,
                          strips[std::size_t(s)]);
        }
    }, 1);

    std::size_t compressedBytes = 0;
    for (const CompressedStrip& strip : strips) {
        if (!strip.ok)
            return {};
        compressedBytes += strip.data.size();
    }

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(qsizetype(compressedBytes) + 12 * stripCount + 128);
    QByteArray header;
    appendBigEndian32(header, std::uint32_t(image.width()));
    appendBigEndian32(header, std::uint32_t(height));
    header.append(char(8)).append(char(6)).append(3, '\0');   // 8-bit RGBA, not interlaced
    appendChunk(png, "IHDR", header.constData(), header.size());
    // The image's resolution, which Qt's writer stores too (for a buffer,
    // the one Qt gives an image of its own).
    QByteArray physical;
    appendBigEndian32(physical, std::uint32_t(image.dotsPerMeterX()));
    appendBigEndian32(physical, std::uint32_t(image.dotsPerMeterY()));
    physical.append(char(1));   // per metre
    appendChunk(png, "pHYs", physical.constData(), physical.size());
    // The one zlib stream spread over IDAT chunks, which may break it
    // anywhere: its header, a chunk per strip, its checksum.
    appendChunk(png, "IDAT", "\x78\x01", 2);   // deflate, 32 KiB window, fastest
    uLong adler = 1;
    for (const CompressedStrip& strip : strips) {
        appendChunk(png, "IDAT", reinterpret_cast<const char*>(strip.data.data()),
                    qsizetype(strip.data.size()));
        adler = adler32_combine(adler, strip.adler, z_off_t(strip.length));
    }
    QByteArray checksum;
    appendBigEndian32(checksum, std::uint32_t(adler));
    appendChunk(png, "IDAT", checksum.constData(), checksum.size());
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}

QByteArray encodePng(const BitmapRep& image)
{
    return encodePng(imageOverBitmap(image));
}

} // namespace gelcoat
