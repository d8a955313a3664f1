#include "document/icons/ScalableSource.h"

#include "document/io/RegularFile.h"

#include <QString>

#include <zlib.h>

namespace gelcoat {

namespace {

constexpr qint64 kMaxSvgBytes = 64 * 1024 * 1024;

bool looksLikeSvg(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(4096).trimmed();
    const bool xml = head.startsWith("<?xml") || head.startsWith("<svg") ||
                     head.startsWith("<!DOCTYPE svg") || head.startsWith("\xEF\xBB\xBF<");
    return xml && head.contains("<svg");
}

QByteArray gunzipped(const QByteArray& bytes)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        return {};
    QByteArray out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    int status = Z_OK;
    char buffer[65536];
    while (status == Z_OK && out.size() < kMaxSvgBytes) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    return status == Z_STREAM_END ? out : QByteArray();
}

} // namespace

QByteArray scalableSource(const QByteArray& inputPath)
{
    if (inputPath.isEmpty())
        return {};
    QString ignored;
    const std::optional<QByteArray> bytes = readRegularFile(inputPath, kMaxSvgBytes, &ignored);
    if (!bytes)
        return {};
    if (bytes->startsWith("\x1F\x8B")) {
        const QByteArray plain = gunzipped(*bytes);
        return looksLikeSvg(plain) ? plain : QByteArray();
    }
    return looksLikeSvg(*bytes) ? *bytes : QByteArray();
}

} // namespace gelcoat
