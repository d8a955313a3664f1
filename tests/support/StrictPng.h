#pragma once
// PNG decoded by libpng with every check on: a wrong chunk CRC, a wrong
// zlib Adler-32 or any warning fails. Qt's reader ignores the zlib checksum,
// so written PNGs are checked through this instead.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gelcoat::test {

struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;   // straight 8-bit RGBA, rows packed
};

// Nothing, with libpng's message in *error, for a file with any fault.
std::optional<DecodedPng> decodePngStrictly(const void* data, std::size_t size,
                                            std::string* error = nullptr);

} // namespace gelcoat::test
