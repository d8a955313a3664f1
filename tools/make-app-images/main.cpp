// gelcoat-make-app-images: writes the application icon and the about
// panel's mascot, both rendered as gels by the program's own pipeline.
//
//   gelcoat-make-app-images DIR
//
// writes DIR/gelcoat.png (the application icon, 256 × 256: a blue gel
// drop) and DIR/vedividi5.16D.png (Moss, the start picture, as a
// rainbow gel, 96 × 96), and the icon reduced to the smaller sizes the
// desktop's icon theme asks for, DIR/icons/gelcoat-N.png. The output is the
// same on every run.

#include "app/render/ImageOutput.h"
#include "tools/common/ToolStart.h"
#include "document/intake/PictureDecoder.h"
#include "document/io/RegularFile.h"
#include "document/model/TintDocument.h"
#include "document/resources/BundleImages.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

using namespace gelcoat;

// A drop with a round hole: black on white, so that it becomes a simple
// stencil and the gel's bevel runs round both edges.
QImage dropStencil(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = side / 512.0;
    QPainterPath drop;
    drop.moveTo(256 * s, 40 * s);
    drop.cubicTo(330 * s, 150 * s, 430 * s, 240 * s, 430 * s, 320 * s);
    drop.cubicTo(430 * s, 420 * s, 350 * s, 480 * s, 256 * s, 480 * s);
    drop.cubicTo(162 * s, 480 * s, 82 * s, 420 * s, 82 * s, 320 * s);
    drop.cubicTo(82 * s, 240 * s, 182 * s, 150 * s, 256 * s, 40 * s);
    QPainterPath hole;
    hole.addEllipse(QPointF(256 * s, 330 * s), 70 * s, 70 * s);
    painter.fillPath(drop.subtracted(hole), Qt::black);
    return image;
}

std::optional<SourcePicture> pictureOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return decodePicture(bytes);
}

bool renderTo(TintDocument& doc, const QString& path)
{
    doc.remakeGelcoatWithChanges(PipelineChanges::all());
    const RenderPipeline& p = doc.pipeline();
    QString error;
    if (!p.finalMixImageValid() || !p.finalMixImage()) {
        std::fprintf(stderr, "gelcoat-make-app-images: rendering %s failed\n", qPrintable(path));
        return false;
    }
    const QByteArray png = encodeResultImage(*p.finalMixImage(), OutputKind::Png);
    if (png.isEmpty()) {
        std::fprintf(stderr, "gelcoat-make-app-images: cannot encode %s\n", qPrintable(path));
        return false;
    }
    if (!writeFileAtomically(path, png, &error)) {
        std::fprintf(stderr, "gelcoat-make-app-images: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

bool writeIcon(const QString& path)
{
    TintDocument doc;
    std::optional<SourcePicture> stencil = pictureOf(dropStencil(512));
    if (!stencil || !doc.useImage(std::move(*stencil), QString(), false, false)) {
        std::fprintf(stderr, "gelcoat-make-app-images: the icon stencil was refused\n");
        return false;
    }
    TintSettings settings = doc.settings();
    applyPreset(settings, TintPreset::Blue);
    settings.aquaMargin = 60;
    settings.shadowYOffset = -8;
    settings.finalSize = 50;
    doc.replaceSettings(settings);
    return renderTo(doc, path);
}

// Reduced from the full-size icon rather than rendered small: a bevel of a
// few pixels would lose the gel's highlight.
bool writeIconSizes(const QString& fullSize, const QDir& dir)
{
    const QImage icon(fullSize);
    if (icon.isNull() || !dir.mkpath(QStringLiteral("icons")))
        return false;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        const QImage small =
            icon.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        const QString path = dir.filePath(QStringLiteral("icons/gelcoat-%1.png").arg(side));
        QString error;
        if (!small.save(&buffer, "png") || !writeFileAtomically(path, png, &error)) {
            std::fprintf(stderr, "gelcoat-make-app-images: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

bool writeMascot(const QString& path)
{
    TintDocument doc; // Moss, with the default rainbow gel
    if (!doc.sourceImage()) {
        std::fprintf(stderr, "gelcoat-make-app-images: the start picture is missing\n");
        return false;
    }
    doc.changeSetting([](TintSettings& s) { s.finalSize = 37.5f; });
    return renderTo(doc, path);
}

} // namespace

int main(int argc, char** argv)
{
    return runPictureTool<QGuiApplication>(argc, argv, "gelcoat-make-app-images", [](const QDir& dir) {
        installEngineResources();
        const QString icon = dir.filePath(QStringLiteral("gelcoat.png"));
        bool ok = writeIcon(icon) && writeIconSizes(icon, dir);
        ok = writeMascot(dir.filePath(QStringLiteral("vedividi5.16D.png"))) && ok;
        return ok ? 0 : 1;
    });
}
