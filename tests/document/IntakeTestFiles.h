#pragma once
// Picture files made by the intake tests themselves, byte by byte where Qt
// cannot write the layout wanted (grey + alpha PNG, GIF, odd TIFFs).

#include "engine/buffer/BitmapRep.h"

#include <QByteArray>
#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

#include <tiffio.h>

namespace gelcoat::intaketest {

// One TIFF directory. samples holds the rows top first, packed as the tags
// say (16-bit samples in host order); planar data is plane after plane.
struct TiffPage {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    std::uint16_t bitsPerSample = 8;
    std::uint16_t samplesPerPixel = 3;
    std::uint16_t photometric = PHOTOMETRIC_RGB;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t compression = COMPRESSION_NONE;
    std::uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    std::uint16_t orientation = 0;   // 0: tag left out
    std::uint32_t tileSize = 0;      // 0: strips
    std::vector<std::uint16_t> extraSamples;
    std::vector<std::uint16_t> palette;   // red, green, blue tables one after another
    QByteArray samples;
};
QByteArray makeTiff(const std::vector<TiffPage>& pages);

// A little-endian TIFF of one directory whose entries are given raw: for
// headers no encoder would write, such as hostile sizes.
struct RawTiffEntry {
    std::uint16_t tag;
    std::uint16_t type;   // 3 SHORT or 4 LONG
    std::uint32_t value;
};
QByteArray makeRawTiff(const std::vector<RawTiffEntry>& entries);

void appendBigEndian32(QByteArray& out, std::uint32_t v);
// A PNG chunk: length, type, data and CRC.
void appendChunk(QByteArray& png, const char* type, const QByteArray& data);

// PNG from unfiltered rows; tRNS and PLTE written when not empty.
QByteArray makePng(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType,
                   const QByteArray& rows, const QByteArray& palette = {},
                   const QByteArray& transparency = {});

// GIF with a 256-entry global palette; each frame is width × height indices.
QByteArray makeGif(int width, int height, const std::vector<QRgb>& palette, int transparentIndex,
                   const std::vector<std::vector<std::uint8_t>>& frames);

// Encodes with Qt's writer for the format ("png", "jpeg", "bmp", "webp").
QByteArray encodeWithQt(const QImage& image, const char* format, int quality = -1);

// An engine-format buffer, optionally with padding after each row.
BitmapRep makeRgba(int width, int height, int rowPadding = 0);

std::array<std::uint8_t, 4> pixelAt(const BitmapRep& rep, int x, int y);

} // namespace gelcoat::intaketest
