#include "document/export/WebpOutput.h"

#include <QImage>

#include <webp/encode.h>

namespace gelcoat {

namespace {

// The encoder's output buffer, freed however encoding ends.
struct MemoryWriter {
    WebPMemoryWriter writer;
    MemoryWriter() { WebPMemoryWriterInit(&writer); }
    ~MemoryWriter() { WebPMemoryWriterClear(&writer); }
    MemoryWriter(const MemoryWriter&) = delete;
    MemoryWriter& operator=(const MemoryWriter&) = delete;
};

struct Picture {
    WebPPicture picture;
    bool ok = WebPPictureInit(&picture) != 0;
    ~Picture() { WebPPictureFree(&picture); }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    Picture() = default;
};

} // namespace

QByteArray encodeWebpImage(const BitmapRep& image)
{
    const int width = image.pixelsWide();
    const int height = image.pixelsHigh();
    if (!isEngineFormat(image) || width <= 0 || height <= 0 || width > WEBP_MAX_DIMENSION ||
        height > WEBP_MAX_DIMENSION)
        return {};
    const QImage straight = QImage(image.bitmapData(), width, height, image.bytesPerRow(),
                                   QImage::Format_RGBA8888_Premultiplied)
                                .convertToFormat(QImage::Format_RGBA8888);
    if (straight.isNull())
        return {};

    WebPConfig config;
    // Level 3 of 9: a gel's smooth gradients gain little from the slower
    // levels, which take several times as long on a large result.
    if (!WebPConfigInit(&config) || !WebPConfigLosslessPreset(&config, 3))
        return {};
    // Without this the encoder may change the colour of transparent pixels.
    config.exact = 1;
    config.thread_level = 1;

    Picture picture;
    MemoryWriter output;
    if (!picture.ok)
        return {};
    picture.picture.use_argb = 1;
    picture.picture.width = width;
    picture.picture.height = height;
    picture.picture.writer = WebPMemoryWrite;
    picture.picture.custom_ptr = &output.writer;
    if (!WebPPictureImportRGBA(&picture.picture, straight.constBits(),
                               int(straight.bytesPerLine())) ||
        !WebPEncode(&config, &picture.picture))
        return {};
    return QByteArray(reinterpret_cast<const char*>(output.writer.mem),
                      qsizetype(output.writer.size));
}

} // namespace gelcoat
