#pragma once
// A libtiff handle over a byte array instead of a file, so that pictures
// embedded in documents, pasted or encoded for export never touch the disk.
// libtiff's diagnostics are collected here rather than printed to stderr.

#include <QByteArray>
#include <QString>

#include <memory>

#include <tiffio.h>

namespace gelcoat {

class TiffMemoryFile {
public:
    // Opens existing TIFF bytes; the bytes must outlive the object. Returns
    // nothing when libtiff rejects the header; the reason goes to *error.
    static std::unique_ptr<TiffMemoryFile> openForReading(const QByteArray& bytes,
                                                          QString* error = nullptr);
    // Starts a new little-endian classic TIFF in memory.
    static std::unique_ptr<TiffMemoryFile> openForWriting(QString* error = nullptr);

    ~TiffMemoryFile();
    TiffMemoryFile(const TiffMemoryFile&) = delete;
    TiffMemoryFile& operator=(const TiffMemoryFile&) = delete;

    TIFF* tiff() const { return tiff_; }
    // The first error libtiff reported, with its module; empty when none.
    QString error() const { return error_; }
    bool hadError() const { return !error_.isEmpty(); }

    // Writing only: closes the TIFF (flushing anything pending) and hands
    // back the bytes; empty when libtiff reported an error at any point.
    QByteArray finish();

private:
    TiffMemoryFile() = default;
    bool open(const char* mode, QString* error);

    static tmsize_t readProc(thandle_t, void*, tmsize_t);
    static tmsize_t writeProc(thandle_t, void*, tmsize_t);
    static toff_t seekProc(thandle_t, toff_t, int);
    static int closeProc(thandle_t);
    static toff_t sizeProc(thandle_t);
    static int mapProc(thandle_t, void**, toff_t*);
    static void unmapProc(thandle_t, void*, toff_t);
    static int errorProc(TIFF*, void*, const char*, const char*, va_list);
    static int warningProc(TIFF*, void*, const char*, const char*, va_list);

    TIFF* tiff_ = nullptr;
    const char* readData_ = nullptr;   // reading: the caller's bytes
    qint64 readSize_ = 0;
    QByteArray written_;               // writing: the file so far
    bool writing_ = false;
    qint64 position_ = 0;
    QString error_;
};

} // namespace gelcoat
