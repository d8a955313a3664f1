#pragma once
// What a PNG file stores, read from its chunks: Qt's reader widens every
// PNG to its own formats, which hides the bit depth and the grey-with-alpha
// layout that the intake check has to see.

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace gelcoat {

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;      // 1, 2, 4, 8 or 16
    int colourType = 0;    // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool hasTransparencyChunk = false;   // tRNS before the image data
    bool interlaced = false;
};

// Whether an eXIf chunk (which may turn the picture) is anywhere in the file.
bool pngHasExif(const QByteArray& bytes);

// Nothing when the bytes are not a PNG signature followed by a valid IHDR.
std::optional<PngHeader> readPngHeader(const QByteArray& bytes);

} // namespace gelcoat
