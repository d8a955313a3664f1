#include "tests/document/IntakeTestFiles.h"

#include "document/intake/TiffMemoryFile.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstring>
#include <stdexcept>

namespace gelcoat::intaketest {

void appendBigEndian32(QByteArray& out, std::uint32_t v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

namespace {

void appendLittleEndian16(QByteArray& out, std::uint32_t v)
{
    out.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}

void appendLittleEndian32(QByteArray& out, std::uint32_t v)
{
    appendLittleEndian16(out, v & 0xffff);
    appendLittleEndian16(out, v >> 16);
}

std::uint32_t crc32(const QByteArray& bytes)
{
    std::uint32_t crc = 0xffffffffu;
    for (char c : bytes) {
        crc ^= std::uint8_t(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

} // namespace

void appendChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    appendBigEndian32(png, std::uint32_t(data.size()));
    const QByteArray body = QByteArray(type, 4) + data;
    png.append(body);
    appendBigEndian32(png, crc32(body));
}

namespace {

// LZW codes of 9 bits, LSB first; a clear code every 200 pixels keeps the
// decoder's table from ever needing wider codes.
QByteArray gifImageData(const std::vector<std::uint8_t>& indices)
{
    QByteArray packed;
    std::uint32_t bits = 0;
    int bitCount = 0;
    auto put = [&](std::uint32_t code) {
        bits |= code << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            packed.append(char(bits & 0xff));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 200 == 0)
            put(256);
        put(indices[i]);
    }
    put(257);
    if (bitCount > 0)
        packed.append(char(bits & 0xff));
    QByteArray blocks;
    blocks.append(char(8));   // minimum code size
    for (qsizetype at = 0; at < packed.size(); at += 255) {
        const QByteArray block = packed.mid(at, 255);
        blocks.append(char(block.size())).append(block);
    }
    blocks.append(char(0));
    return blocks;
}

} // namespace

QByteArray makeTiff(const std::vector<TiffPage>& pages)
{
    auto file = TiffMemoryFile::openForWriting();
    if (!file)
        throw std::runtime_error("cannot open an in-memory TIFF");
    TIFF* tif = file->tiff();
    for (const TiffPage& page : pages) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samplesPerPixel);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, page.planar);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
        TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, page.sampleFormat);
        if (page.photometric == PHOTOMETRIC_SEPARATED)
            TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
        if (page.orientation)
            TIFFSetField(tif, TIFFTAG_ORIENTATION, page.orientation);
        if (!page.extraSamples.empty())
            TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, std::uint16_t(page.extraSamples.size()),
                         page.extraSamples.data());
        if (!page.palette.empty()) {
            const std::size_t n = page.palette.size() / 3;
            TIFFSetField(tif, TIFFTAG_COLORMAP, page.palette.data(), page.palette.data() + n,
                         page.palette.data() + 2 * n);
        }
        const bool planar = page.planar == PLANARCONFIG_SEPARATE;
        const int planes = planar ? page.samplesPerPixel : 1;
        const std::size_t rowBytes =
            (std::size_t(page.width) * page.bitsPerSample * (planar ? 1 : page.samplesPerPixel) + 7) / 8;
        QByteArray samples = page.samples;   // libtiff may scribble on what it is given
        if (std::size_t(samples.size()) != rowBytes * page.height * planes)
            throw std::runtime_error("sample data does not match the page");
        if (page.tileSize) {
            TIFFSetField(tif, TIFFTAG_TILEWIDTH, page.tileSize);
            TIFFSetField(tif, TIFFTAG_TILELENGTH, page.tileSize);
            const std::size_t pixelBytes = rowBytes / page.width;   // whole bytes only
            std::vector<char> tile(std::size_t(TIFFTileSize(tif)));
            for (int plane = 0; plane < planes; ++plane)
                for (std::uint32_t ty = 0; ty < page.height; ty += page.tileSize)
                    for (std::uint32_t tx = 0; tx < page.width; tx += page.tileSize) {
                        std::fill(tile.begin(), tile.end(), 0);
                        for (std::uint32_t y = ty; y < std::min(ty + page.tileSize, page.height); ++y)
                            for (std::uint32_t x = tx; x < std::min(tx + page.tileSize, page.width); ++x)
                                std::memcpy(tile.data() + ((y - ty) * page.tileSize + (x - tx)) * pixelBytes,
                                            samples.constData() + plane * rowBytes * page.height +
                                                y * rowBytes + x * pixelBytes,
                                            pixelBytes);
                        TIFFWriteTile(tif, tile.data(), tx, ty, 0, std::uint16_t(plane));
                    }
        } else {
            TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
            for (int plane = 0; plane < planes; ++plane)
                for (std::uint32_t y = 0; y < page.height; ++y)
                    TIFFWriteScanline(tif, samples.data() + (plane * page.height + y) * rowBytes, y,
                                      std::uint16_t(plane));
        }
        TIFFWriteDirectory(tif);
    }
    QByteArray bytes = file->finish();
    if (bytes.isEmpty())
        throw std::runtime_error("libtiff could not write the test file");
    return bytes;
}

QByteArray makeRawTiff(const std::vector<RawTiffEntry>& entries)
{
    QByteArray out("II*\0", 4);
    appendLittleEndian32(out, 8);
    appendLittleEndian16(out, std::uint32_t(entries.size()));
    for (const RawTiffEntry& e : entries) {
        appendLittleEndian16(out, e.tag);
        appendLittleEndian16(out, e.type);
        appendLittleEndian32(out, 1);
        if (e.type == 3) {
            appendLittleEndian16(out, e.value);
            appendLittleEndian16(out, 0);
        } else {
            appendLittleEndian32(out, e.value);
        }
    }
    appendLittleEndian32(out, 0);   // no next directory
    out.append(QByteArray(64, '\0'));   // room for any strip the entries point into
    return out;
}

QByteArray makePng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                   const QByteArray& rows, const QByteArray& palette,
                   const QByteArray& transparency)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian32(header, width);
    appendBigEndian32(header, height);
    header.append(char(bitDepth)).append(char(colourType)).append(3, '\0');
    appendChunk(png, "IHDR", header);
    if (!palette.isEmpty())
        appendChunk(png, "PLTE", palette);
    if (!transparency.isEmpty())
        appendChunk(png, "tRNS", transparency);
    // Each row is prefixed by filter type 0 (none).
    QByteArray filtered;
    const qsizetype rowBytes = height ? rows.size() / qsizetype(height) : 0;
    for (std::uint32_t y = 0; y < height; ++y)
        filtered.append('\0').append(rows.mid(qsizetype(y) * rowBytes, rowBytes));
    appendChunk(png, "IDAT", qCompress(filtered).mid(4));   // qCompress prefixes a length
    appendChunk(png, "IEND", {});
    return png;
}

QByteArray makeGif(int width, int height, const std::vector<QRgb>& palette, int transparentIndex,
                   const std::vector<std::vector<std::uint8_t>>& frames)
{
    QByteArray gif("GIF89a");
    appendLittleEndian16(gif, std::uint32_t(width));
    appendLittleEndian16(gif, std::uint32_t(height));
    gif.append(char(0xF7)).append('\0').append('\0');   // 256-entry global table
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[std::size_t(i)] : 0;
        gif.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    for (const auto& frame : frames) {
        if (transparentIndex >= 0) {
            gif.append("\x21\xF9\x04", 3).append(char(0x01)).append(2, '\0');
            gif.append(char(transparentIndex)).append('\0');
        }
        gif.append(char(0x2C));
        appendLittleEndian16(gif, 0);
        appendLittleEndian16(gif, 0);
        appendLittleEndian16(gif, std::uint32_t(width));
        appendLittleEndian16(gif, std::uint32_t(height));
        gif.append('\0');
        gif.append(gifImageData(frame));
    }
    gif.append(char(0x3B));
    return gif;
}

QByteArray encodeWithQt(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error("Qt could not write the test image: " +
                                 writer.errorString().toStdString());
    return bytes;
}

BitmapRep makeRgba(int width, int height, int rowPadding)
{
    auto rep = BitmapRep::makeLayout(width, height, 4, 8, true, false, width * 4 + rowPadding);
    if (!rep)
        throw std::runtime_error("cannot allocate a test bitmap");
    if (rowPadding)   // padding the code under test must never copy
        for (int y = 0; y < height; ++y)
            std::memset(rep->row(y) + width * 4, 0xEE, std::size_t(rowPadding));
    return std::move(*rep);
}

std::array<std::uint8_t, 4> pixelAt(const BitmapRep& rep, int x, int y)
{
    const std::uint8_t* p = rep.row(y) + std::ptrdiff_t(x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

} // namespace gelcoat::intaketest
