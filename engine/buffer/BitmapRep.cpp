#include "engine/buffer/BitmapRep.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace gelcoat {

bool bitmapSizeAllowed(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxBitmapPixels && height <= kMaxBitmapPixels &&
           width * height <= kMaxBitmapPixels;
}

namespace {

// Plain malloc on purpose: glibc raises its mmap threshold after the first
// large free, so buffers freed and made again (every new stencil) come back
// from the heap without page faults. An aligned allocation asks for a little
// more than the buffer it replaces and is mapped afresh every time, which
// cost a page fault per 4 KiB of every stage buffer. Rows are not aligned in
// any case (a row is 4 × width bytes), so the vector loops load unaligned.
std::uint8_t* allocateBuffer(std::size_t bytes)
{
    return static_cast<std::uint8_t*>(std::malloc(std::max<std::size_t>(bytes, 1)));
}

} // namespace

void BitmapRep::FreeBuffer::operator()(std::uint8_t* p) const
{
    std::free(p);
}

std::optional<BitmapRep> BitmapRep::make(int width, int height)
{
    return makeLayout(width, height, 4, 8, true, false);
}

std::optional<BitmapRep> BitmapRep::makeUninitialized(int width, int height)
{
    return makeLayout(width, height, 4, 8, true, false, 0, false);
}

std::optional<BitmapRep> BitmapRep::makeLayout(int width, int height, int samplesPerPixel,
                                               int bitsPerSample, bool hasAlpha, bool isPlanar,
                                               int bytesPerRow, bool zeroed)
{
    if (!bitmapSizeAllowed(width, height) || samplesPerPixel < 1 || samplesPerPixel > 5 ||
        bitsPerSample < 1 || bitsPerSample > 16)
        return std::nullopt;
    const std::int64_t sampleRow = isPlanar ? std::int64_t(width) * bitsPerSample
                                            : std::int64_t(width) * bitsPerSample * samplesPerPixel;
    const std::int64_t minRow = (sampleRow + 7) / 8;
    if (bytesPerRow == 0)
        bytesPerRow = int(minRow);
    if (bytesPerRow < minRow)
        return std::nullopt;
    const std::int64_t planes = isPlanar ? samplesPerPixel : 1;
    const std::int64_t bytes = std::int64_t(bytesPerRow) * height * planes;

    BitmapRep rep;
    rep.data_.reset(allocateBuffer(std::size_t(bytes)));
    if (!rep.data_)
        return std::nullopt;
    if (zeroed)
        std::memset(rep.data_.get(), 0, std::size_t(bytes));
    rep.pixelsWide_ = width;
    rep.pixelsHigh_ = height;
    rep.size_ = {float(width), float(height)};
    rep.bytesPerRow_ = bytesPerRow;
    rep.samplesPerPixel_ = samplesPerPixel;
    rep.bitsPerSample_ = bitsPerSample;
    rep.bitsPerPixel_ = isPlanar ? bitsPerSample : bitsPerSample * samplesPerPixel;
    rep.hasAlpha_ = hasAlpha;
    rep.isPlanar_ = isPlanar;
    return rep;
}

std::optional<BitmapRep> BitmapRep::clone() const
{
    if (isNull())
        return std::nullopt;
    auto copy = makeLayout(pixelsWide_, pixelsHigh_, samplesPerPixel_, bitsPerSample_, hasAlpha_,
                           isPlanar_, bytesPerRow_, false);
    if (!copy)
        return std::nullopt;
    const std::size_t planes = isPlanar_ ? std::size_t(samplesPerPixel_) : 1;
    std::memcpy(copy->data_.get(), data_.get(), byteCount() * planes);
    copy->size_ = size_;
    return copy;
}

bool BitmapRep::samePixels(const BitmapRep& other) const
{
    if (pixelsWide_ != other.pixelsWide_ || pixelsHigh_ != other.pixelsHigh_ ||
        bitsPerPixel_ != other.bitsPerPixel_ || isPlanar_ != other.isPlanar_ || isNull() ||
        other.isNull())
        return false;
    const std::size_t rowBytes = (std::size_t(pixelsWide_) * std::size_t(bitsPerPixel_) + 7) / 8;
    for (int y = 0; y < pixelsHigh_; ++y)
        if (std::memcmp(row(y), other.row(y), rowBytes) != 0)
            return false;
    return true;
}

bool isEngineFormat(const BitmapRep& rep)
{
    return !rep.isNull() && rep.samplesPerPixel() == 4 && rep.bitsPerPixel() == 32 && !rep.isPlanar();
}

bool coversFourByteRaster(const BitmapRep& rep, int width, int height)
{
    return !rep.isNull() && width >= 0 && height >= 0 && rep.pixelsWide() >= width &&
           rep.pixelsHigh() >= height && rep.bytesPerRow() >= 4 * width &&
           (rep.isPlanar() ? false : rep.bitsPerPixel() >= 32);
}

} // namespace gelcoat
