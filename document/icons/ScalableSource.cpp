#include "document/icons/ScalableSource.h"

#include "document/intake/VectorPicture.h"
#include "document/io/RegularFile.h"

#include <QString>

namespace gelcoat {

namespace {

// A compressed drawing may open up to the same bound intake allows.
constexpr qint64 kMaxSvgFileBytes = qint64(64) << 20;

} // namespace

QByteArray scalableSource(const QByteArray& inputPath)
{
    if (inputPath.isEmpty())
        return {};
    QString ignored;
    const std::optional<QByteArray> bytes = readRegularFile(inputPath, kMaxSvgFileBytes, &ignored);
    if (!bytes || !(looksLikeGzip(*bytes) || looksLikeSvg(*bytes)))
        return {};
    return plainSvgText(*bytes).value_or(QByteArray());
}

} // namespace gelcoat
