#include "document/intake/VectorPicture.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <libdeflate.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace gelcoat {

namespace {

// Far beyond any real drawing, and a bound on what a small compressed file
// may claim to open to.
constexpr qint64 kMaxSvgTextBytes = qint64(64) << 20;

std::optional<SourcePicture> fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

struct FreeDecompressor {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The gzip trailer's size of the original (modulo 2^32), then one inflate
// into exactly that much: a stream that opens to anything else fails.
std::optional<QByteArray> gunzip(const QByteArray& bytes, QString* error)
{
    const auto damaged = [error]() -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("damaged: the compressed SVG data cannot be unpacked");
        return std::nullopt;
    };
    if (bytes.size() < 18)
        return damaged();
    const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + bytes.size() - 4);
    // A cut-off stream's trailer holds any number: both are damage here.
    if (qint64(size) > kMaxSvgTextBytes)
        return damaged();
    const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor(
        libdeflate_alloc_decompressor());
    QByteArray text;
    try {
        text.resize(qsizetype(size));
    } catch (const std::bad_alloc&) {
        return damaged();
    }
    if (!decompressor ||
        libdeflate_gzip_decompress(decompressor.get(), bytes.constData(), std::size_t(bytes.size()),
                                   text.data(), std::size_t(text.size()),
                                   nullptr) != LIBDEFLATE_SUCCESS)
        return damaged();
    return text;
}

} // namespace

bool looksLikeSvg(const QByteArray& bytes)
{
    QByteArray head = bytes.left(64 * 1024);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    head = head.trimmed();
    return head.startsWith('<') && head.toLower().contains("<svg");
}

bool looksLikeGzip(const QByteArray& bytes)
{
    // Magic number and the one compression method gzip defines.
    return bytes.size() >= 10 && bytes.startsWith("\x1F\x8B\x08");
}

std::optional<QByteArray> plainSvgText(const QByteArray& bytes, QString* error)
{
    if (!looksLikeGzip(bytes))
        return bytes;
    std::optional<QByteArray> text = gunzip(bytes, error);
    if (text && !looksLikeSvg(*text)) {
        if (error)
            *error = QStringLiteral("the compressed data holds no SVG drawing");
        return std::nullopt;
    }
    return text;
}

std::optional<SourcePicture> drawSvg(const QByteArray& svgText, int longerSide, QString* error)
{
    QSvgRenderer renderer;
    if (!renderer.load(svgText) || !renderer.isValid())
        return fail(error, QStringLiteral("damaged: the SVG drawing cannot be read"));
    // The view box gives the proportions; a drawing without one has its
    // width and height.
    QSizeF natural = renderer.viewBoxF().size();
    if (!(natural.width() > 0 && natural.height() > 0))
        natural = renderer.defaultSize();
    if (!(natural.width() > 0 && natural.height() > 0) || !std::isfinite(natural.width()) ||
        !std::isfinite(natural.height()))
        return fail(error, QStringLiteral("an SVG drawing without a size"));
    const int side = std::clamp(longerSide, 1, kMaxVectorSide);
    const double scale = side / std::max(natural.width(), natural.height());
    const int width = std::max(1, int(std::lround(natural.width() * scale)));
    const int height = std::max(1, int(std::lround(natural.height() * scale)));

    auto pixels = BitmapRep::makeLayout(width, height, 4, 8, true, false, 0, true);
    if (!pixels)
        return fail(error, QStringLiteral("Not enough memory to draw the SVG picture."));
    {
        // Qt draws straight into the stencil's own bytes: its premultiplied
        // RGBA is the engine's layout.
        QImage canvas(pixels->bitmapData(), width, height, pixels->bytesPerRow(),
                      QImage::Format_RGBA8888_Premultiplied);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }

    SourcePicture picture;
    picture.representationCount = 1;
    picture.isBitmap = true;
    picture.bitsPerSample = 8;
    picture.samplesPerPixel = 4;
    picture.bitsPerPixel = 32;
    picture.hasAlpha = true;
    picture.isPlanar = false;
    picture.pixels = std::move(*pixels);
    picture.vectorSource = svgText;
    return picture;
}

} // namespace gelcoat
