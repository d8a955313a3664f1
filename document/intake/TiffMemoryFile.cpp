#include "document/intake/TiffMemoryFile.h"

#include "engine/buffer/BitmapRep.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace gelcoat {

namespace {

// Classic TIFF offsets are 32-bit; nothing we write comes near this.
constexpr qint64 kMaxWrittenBytes = (qint64(1) << 32) - 1;

// No single libtiff buffer needs more than a whole allowed raster at
// 16 bits for each of four samples; a larger request comes from a hostile
// header and is refused before it is allocated.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t(kMaxBitmapPixels) * 8;

TiffMemoryFile* self(thandle_t handle) { return static_cast<TiffMemoryFile*>(handle); }

} // namespace

std::unique_ptr<TiffMemoryFile> TiffMemoryFile::openForReading(const QByteArray& bytes,
                                                               QString* error)
{
    std::unique_ptr<TiffMemoryFile> file(new TiffMemoryFile);
    file->readData_ = bytes.constData();
    file->readSize_ = bytes.size();
    // "m": no memory mapping, every access goes through readProc's bounds.
    if (!file->open("rm", error))
        return nullptr;
    return file;
}

std::unique_ptr<TiffMemoryFile> TiffMemoryFile::openForWriting(QString* error)
{
    std::unique_ptr<TiffMemoryFile> file(new TiffMemoryFile);
    file->writing_ = true;
    if (!file->open("wl", error))
        return nullptr;
    return file;
}

bool TiffMemoryFile::open(const char* mode, QString* error)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) {
        if (error)
            *error = QStringLiteral("Out of memory opening TIFF data.");
        return false;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, &TiffMemoryFile::errorProc, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, &TiffMemoryFile::warningProc, this);
    tiff_ = TIFFClientOpenExt("memory", mode, this, &readProc, &writeProc, &seekProc, &closeProc,
                              &sizeProc, &mapProc, &unmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!tiff_ && error)
        *error = error_.isEmpty() ? QStringLiteral("The data is not a TIFF file.") : error_;
    return tiff_ != nullptr;
}

TiffMemoryFile::~TiffMemoryFile()
{
    if (tiff_)
        TIFFClose(tiff_);
}

QByteArray TiffMemoryFile::finish()
{
    if (!tiff_)
        return {};
    TIFFClose(tiff_);
    tiff_ = nullptr;
    if (hadError())
        return {};
    return std::move(written_);
}

tmsize_t TiffMemoryFile::readProc(thandle_t handle, void* buffer, tmsize_t size)
{
    TiffMemoryFile* f = self(handle);
    const char* data = f->writing_ ? f->written_.constData() : f->readData_;
    const qint64 total = f->writing_ ? f->written_.size() : f->readSize_;
    if (size < 0 || f->position_ >= total)
        return 0;
    const qint64 count = std::min<qint64>(size, total - f->position_);
    std::memcpy(buffer, data + f->position_, size_t(count));
    f->position_ += count;
    return tmsize_t(count);
}

tmsize_t TiffMemoryFile::writeProc(thandle_t handle, void* buffer, tmsize_t size)
{
    TiffMemoryFile* f = self(handle);
    if (!f->writing_ || size < 0 || f->position_ + size > kMaxWrittenBytes)
        return -1;
    // libtiff is C: an exception must not unwind through it.
    try {
        const qint64 end = f->position_ + size;
        if (end > f->written_.size())
            f->written_.resize(end, '\0');   // seeks past the end leave zeros behind
        std::memcpy(f->written_.data() + f->position_, buffer, size_t(size));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    f->position_ += size;
    return size;
}

toff_t TiffMemoryFile::seekProc(thandle_t handle, toff_t offset, int whence)
{
    TiffMemoryFile* f = self(handle);
    const qint64 total = f->writing_ ? f->written_.size() : f->readSize_;
    // SEEK_CUR and SEEK_END may carry a negative distance in the unsigned offset.
    const qint64 delta = qint64(offset);
    qint64 target = 0;
    switch (whence) {
    case SEEK_SET: target = delta; break;
    case SEEK_CUR: target = f->position_ + delta; break;
    case SEEK_END: target = total + delta; break;
    default: return toff_t(-1);
    }
    if (target < 0 || target > kMaxWrittenBytes)
        return toff_t(-1);
    f->position_ = target;
    return toff_t(target);
}

int TiffMemoryFile::closeProc(thandle_t) { return 0; }

toff_t TiffMemoryFile::sizeProc(thandle_t handle)
{
    TiffMemoryFile* f = self(handle);
    return toff_t(f->writing_ ? f->written_.size() : f->readSize_);
}

int TiffMemoryFile::mapProc(thandle_t, void**, toff_t*) { return 0; }

void TiffMemoryFile::unmapProc(thandle_t, void*, toff_t) {}

int TiffMemoryFile::errorProc(TIFF*, void* user, const char* module, const char* format,
                              va_list args)
{
    TiffMemoryFile* f = static_cast<TiffMemoryFile*>(user);
    if (f->error_.isEmpty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        QString message = QString::fromUtf8(text);
        // libtiff names row (uint32_t)−1 when it fails before any row was
        // started: no row of the picture, so none is named.
        static const QRegularExpression noRow(
            QStringLiteral("\\s*(at|on)?\\s*(scanline|row)\\s*4294967295"));
        message.replace(noRow, QString());
        f->error_ = module && *module
                        ? QStringLiteral("%1: %2").arg(QString::fromUtf8(module), message)
                        : message;
    }
    return 1;   // handled: keep libtiff's global handler from printing it
}

int TiffMemoryFile::warningProc(TIFF*, void*, const char*, const char*, va_list)
{
    // Warnings (unknown tags and the like) do not stop decoding; drop them.
    return 1;
}

} // namespace gelcoat
