#include "tools/common/RgbaTiff.h"

#include <tiffio.h>

#include <cstring>
#include <memory>

namespace gelcoat::resources {

namespace {

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

} // namespace

bool writeRgbaTiff(const std::string& path, int width, int height,
                   const std::vector<std::uint8_t>& rgba, std::string& error)
{
    if (width <= 0 || height <= 0 || rgba.size() != std::size_t(width) * height * 4) {
        error = "raster size does not match";
        return false;
    }
    TiffHandle tif(TIFFOpen(path.c_str(), "w"));
    if (!tif) {
        error = "cannot create " + path;
        return false;
    }
    const std::uint16_t extra[1] = {EXTRASAMPLE_ASSOCALPHA};
    TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, std::uint32_t(width));
    TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, std::uint32_t(height));
    TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, std::uint16_t(8));
    TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, std::uint16_t(4));
    TIFFSetField(tif.get(), TIFFTAG_EXTRASAMPLES, std::uint16_t(1), extra);
    TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC, std::uint16_t(PHOTOMETRIC_RGB));
    TIFFSetField(tif.get(), TIFFTAG_PLANARCONFIG, std::uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tif.get(), TIFFTAG_ORIENTATION, std::uint16_t(ORIENTATION_TOPLEFT));
    TIFFSetField(tif.get(), TIFFTAG_COMPRESSION, std::uint16_t(COMPRESSION_LZW));
    TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, std::uint32_t(height));
    TIFFSetField(tif.get(), TIFFTAG_RESOLUTIONUNIT, std::uint16_t(RESUNIT_INCH));
    TIFFSetField(tif.get(), TIFFTAG_XRESOLUTION, 72.0f);
    TIFFSetField(tif.get(), TIFFTAG_YRESOLUTION, 72.0f);

    std::vector<std::uint8_t> row(std::size_t(width) * 4);
    for (int y = 0; y < height; ++y) {
        std::memcpy(row.data(), &rgba[std::size_t(y) * width * 4], row.size());
        if (TIFFWriteScanline(tif.get(), row.data(), std::uint32_t(y), 0) < 0) {
            error = "cannot write row " + std::to_string(y) + " of " + path;
            return false;
        }
    }
    if (!TIFFWriteDirectory(tif.get())) {
        error = "cannot finish " + path;
        return false;
    }
    return true;
}

bool readRgbaTiff(const std::string& path, int& width, int& height, std::vector<std::uint8_t>& rgba,
                  std::string& error)
{
    TiffHandle tif(TIFFOpen(path.c_str(), "r"));
    if (!tif) {
        error = "cannot open " + path;
        return false;
    }
    std::uint32_t w = 0, h = 0;
    std::uint16_t bits = 0, samples = 0, planar = 0, photometric = 0;
    std::uint16_t compression = 0, orientation = 0;
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
    if (bits != 8 || samples != 4 || planar != PLANARCONFIG_CONTIG ||
        photometric != PHOTOMETRIC_RGB || extraCount != 1 || !extra ||
        extra[0] != EXTRASAMPLE_ASSOCALPHA || w == 0 || h == 0) {
        error = path + " is not 8-bit RGBA with associated alpha";
        return false;
    }
    if (compression != COMPRESSION_LZW || orientation != ORIENTATION_TOPLEFT) {
        error = path + " is not LZW-compressed with the top row first";
        return false;
    }
    width = int(w);
    height = int(h);
    rgba.assign(std::size_t(w) * h * 4, 0);
    for (std::uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif.get(), &rgba[std::size_t(y) * w * 4], y, 0) < 0) {
            error = "cannot read row " + std::to_string(y) + " of " + path;
            return false;
        }
    }
    return true;
}

} // namespace gelcoat::resources
