#include "views/slider/CircularSliderArchive.h"

#include <QDataStream>

#include <cmath>

namespace gelcoat {

namespace {

// Larger frames than this are not a slider but a damaged or hostile file.
constexpr int kMaxFrameSide = 16384;

// Fields are written at their own widths whatever the stream's default.
class SinglePrecision {
public:
    explicit SinglePrecision(QDataStream& s) : s_(s), saved_(s.floatingPointPrecision())
    {
        s_.setFloatingPointPrecision(QDataStream::SinglePrecision);
    }
    ~SinglePrecision() { s_.setFloatingPointPrecision(saved_); }

private:
    QDataStream& s_;
    QDataStream::FloatingPointPrecision saved_;
};

void writeFlag(QDataStream& out, bool b)
{
    out << qint8(b ? 1 : 0);
}

bool readFlag(QDataStream& in)
{
    qint8 b = 0;
    in >> b;
    return b != 0;
}

std::int32_t readInt(QDataStream& in)
{
    qint32 v = 0;
    in >> v;
    return v;
}

float readFloat(QDataStream& in)
{
    float v = 0.0f;
    in >> v;
    return v;
}

std::optional<CircularSliderArchive> fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace

void writeCircularSlider(QDataStream& out, const CircularSliderArchive& archive)
{
    const SinglePrecision precision(out);
    const CircularSliderState& s = archive.state;
    out << QString::fromLatin1(kCircularSliderClassName) << qint32(kCircularSliderArchiveVersion);
    out << archive.frame;
    writeFlag(out, s.continuous);
    writeFlag(out, s.enabled);
    writeFlag(out, s.allowsCenter);
    writeFlag(out, s.allowsNonEdge);
    out << s.maxDistance << qint32(s.ballRadius) << qint32(s.appearance) << s.angle << s.distance;
    out << qint32(s.snapMarks) << qint32(s.snapBehavior);
    out << qint32(s.drawSnapBehavior);
    out << qint32(s.angleUnits);
}

std::optional<CircularSliderArchive> readCircularSlider(QDataStream& in, QString* error)
{
    const SinglePrecision precision(in);
    QString className;
    qint32 version = -1;
    in >> className >> version;
    if (in.status() != QDataStream::Ok)
        return fail(error, QStringLiteral("The circular slider archive is truncated."));
    if (className != QLatin1String(kCircularSliderClassName))
        return fail(error, QStringLiteral("The archive holds a \"%1\", not a circular slider.")
                               .arg(className.left(64)));
    if (version < 0 || version > kCircularSliderArchiveVersion)
        return fail(error,
                    QStringLiteral("The circular slider archive has version %1, which this "
                                   "version cannot read.")
                        .arg(version));

    CircularSliderArchive a;
    CircularSliderState& s = a.state;
    in >> a.frame;
    s.continuous = readFlag(in);
    s.enabled = readFlag(in);
    s.allowsCenter = readFlag(in);
    s.allowsNonEdge = readFlag(in);
    s.maxDistance = readFloat(in);
    s.ballRadius = readInt(in);
    s.appearance = readInt(in);
    s.angle = readFloat(in);
    s.distance = readFloat(in);
    // Fields added by later versions keep their defaults in older archives.
    if (version > 0) {
        s.snapMarks = readInt(in);
        s.snapBehavior = readInt(in);
    }
    if (version > 1)
        s.drawSnapBehavior = readInt(in);
    if (version > 2)
        s.angleUnits = readInt(in);

    if (in.status() != QDataStream::Ok)
        return fail(error, QStringLiteral("The circular slider archive is truncated."));
    if (!std::isfinite(s.maxDistance) || s.maxDistance <= 0.0f || !std::isfinite(s.angle)
        || !std::isfinite(s.distance))
        return fail(error, QStringLiteral("The circular slider archive holds an impossible "
                                          "position."));
    if (a.frame.width() < 0 || a.frame.height() < 0 || a.frame.width() > kMaxFrameSide
        || a.frame.height() > kMaxFrameSide)
        return fail(error, QStringLiteral("The circular slider archive holds an impossible "
                                          "size."));
    return a;
}

} // namespace gelcoat
