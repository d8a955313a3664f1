#pragma once
// The engine's pixel buffer: one rectangular raster in memory, row 0 at the
// top. Buffers the engine makes are 8-bit RGBA, premultiplied, not planar;
// other layouts exist only so that intake can describe what it decoded and
// so that the stages can refuse what they cannot process.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace gelcoat {

// Largest raster any buffer may hold. Beyond this a picture, a margin or a
// final size is refused rather than allocated.
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 28;

// True when a width × height raster is positive and within kMaxBitmapPixels.
bool bitmapSizeAllowed(std::int64_t width, std::int64_t height);

struct BitmapSize {
    float width = 0;
    float height = 0;
};

class BitmapRep {
public:
    BitmapRep() = default;
    BitmapRep(BitmapRep&&) noexcept = default;
    BitmapRep& operator=(BitmapRep&&) noexcept = default;
    BitmapRep(const BitmapRep&) = delete;
    BitmapRep& operator=(const BitmapRep&) = delete;

    // A zero-filled (fully transparent) engine-format buffer; nothing when
    // the size is not allowed or memory runs out.
    static std::optional<BitmapRep> make(int width, int height);

    // An engine-format buffer whose bytes are left as they come, for
    // results that overwrite every pixel.
    static std::optional<BitmapRep> makeUninitialized(int width, int height);

    // A zero-filled buffer of any chunky or planar layout, for callers that
    // describe decoded pictures. bytesPerRow 0 means tightly packed.
    static std::optional<BitmapRep> makeLayout(int width, int height, int samplesPerPixel,
                                               int bitsPerSample, bool hasAlpha, bool isPlanar,
                                               int bytesPerRow = 0, bool zeroed = true);

    // An exact copy, stride included.
    std::optional<BitmapRep> clone() const;

    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }
    BitmapSize size() const { return size_; }
    int bytesPerRow() const { return bytesPerRow_; }
    int samplesPerPixel() const { return samplesPerPixel_; }
    int bitsPerSample() const { return bitsPerSample_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    bool hasAlpha() const { return hasAlpha_; }
    bool isPlanar() const { return isPlanar_; }
    std::uint8_t* bitmapData() { return data_.get(); }
    const std::uint8_t* bitmapData() const { return data_.get(); }

    bool isNull() const { return !data_; }
    std::uint8_t* row(int y) { return data_.get() + std::ptrdiff_t(y) * bytesPerRow_; }
    const std::uint8_t* row(int y) const { return data_.get() + std::ptrdiff_t(y) * bytesPerRow_; }
    std::size_t byteCount() const { return std::size_t(bytesPerRow_) * std::size_t(pixelsHigh_); }

    // Loop bounds of the pixel stages: the logical size truncated toward zero.
    int loopWidth() const { return int(size_.width); }
    int loopHeight() const { return int(size_.height); }

    // Same pixel size and bytes, stride aside.
    bool samePixels(const BitmapRep& other) const;

private:
    int pixelsWide_ = 0;
    int pixelsHigh_ = 0;
    BitmapSize size_;
    int bytesPerRow_ = 0;
    int samplesPerPixel_ = 0;
    int bitsPerSample_ = 0;
    int bitsPerPixel_ = 0;
    bool hasAlpha_ = false;
    bool isPlanar_ = false;
    struct FreeBuffer {
        void operator()(std::uint8_t* p) const;
    };
    std::unique_ptr<std::uint8_t, FreeBuffer> data_;
};

// Engine format: 4 samples, 32 bits per pixel, chunky.
bool isEngineFormat(const BitmapRep& rep);

// True when rep holds at least width × height pixels of 4 bytes.
bool coversFourByteRaster(const BitmapRep& rep, int width, int height);

// Pixel words keep their memory order R, G, B, A on any host: the packed
// value's most significant byte is byte 0.
inline std::uint32_t loadPixelWord(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

inline void storePixelWord(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

} // namespace gelcoat
