#pragma once
// The tags and raw scanlines of a TIFF file gelcoat-render wrote, read with
// libtiff: what the checks compare field by field.

#include <QString>

#include <tiffio.h>

#include <cstdint>
#include <vector>

struct RawTiff {
    bool ok = false;
    uint32_t width = 0, height = 0;
    uint16_t compression = 0, spp = 0, bps = 0, photometric = 0, orientation = 0;
    uint16_t extraCount = 0, extra = 99;
    std::vector<std::uint8_t> pixels;
};

inline RawTiff readRawTiff(const QString& file)
{
    RawTiff r;
    TIFF* tif = TIFFOpen(file.toLocal8Bit().constData(), "r");
    if (!tif)
        return r;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &r.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &r.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &r.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &r.spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &r.bps);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &r.photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &r.orientation);
    uint16_t* extras = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &r.extraCount, &extras) && r.extraCount)
        r.extra = extras[0];
    r.pixels.resize(std::size_t(TIFFScanlineSize(tif)) * r.height);
    for (uint32_t y = 0; y < r.height; ++y)
        TIFFReadScanline(tif, r.pixels.data() + std::size_t(TIFFScanlineSize(tif)) * y, y);
    TIFFClose(tif);
    r.ok = true;
    return r;
}
