#pragma once
// Writing and reading 8-bit RGBA TIFF files with associated (premultiplied)
// alpha, LZW-compressed, rows top first.

#include <cstdint>
#include <string>
#include <vector>

namespace gelcoat::resources {

// Writes a tightly packed premultiplied RGBA raster. Returns false (with a
// message in error) when the file cannot be written.
bool writeRgbaTiff(const std::string& path, int width, int height,
                   const std::vector<std::uint8_t>& rgba, std::string& error);

// Reads back a file written by writeRgbaTiff; false (with a message in
// error) for any other layout, compression or orientation.
bool readRgbaTiff(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgba,
                  std::string& error);

} // namespace gelcoat::resources
