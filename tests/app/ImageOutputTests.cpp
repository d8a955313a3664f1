// The PNG the command writes holds the pixels Qt's own PNG writer gives.

#include "app/render/ImageOutput.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstring>

using namespace gelcoat;

namespace {

QImage decoded(const QByteArray& png)
{
    return QImage::fromData(png, "png").convertToFormat(QImage::Format_ARGB32);
}

// Premultiplied samples across every alpha, and an odd size that
// spans several of the encoder's strips.
TEST(ImageOutput, PngPixelsAreThoseOfQtsWriter)
{
    for (const auto& [width, height] : {std::pair{256, 256}, std::pair{301, 77}}) {
        auto image = BitmapRep::make(width, height);
        ASSERT_TRUE(image);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int a = y * 255 / std::max(1, height - 1), c = x % 256 * a / 255;
                std::uint8_t* p = image->row(y) + 4 * x;
                p[0] = std::uint8_t(c), p[1] = std::uint8_t(a - c), p[2] = std::uint8_t(c / 2);
                p[3] = std::uint8_t(a);
            }
        const QImage view(image->bitmapData(), width, height, image->bytesPerRow(),
                          QImage::Format_RGBA8888_Premultiplied);
        QByteArray byQt;
        QBuffer buffer(&byQt);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(view));

        const QImage ours = decoded(encodeResultImage(*image, OutputKind::Png));
        const QImage theirs = decoded(byQt);
        ASSERT_EQ(ours.size(), theirs.size());
        for (int y = 0; y < height; ++y)
            ASSERT_EQ(std::memcmp(ours.constScanLine(y), theirs.constScanLine(y), width * 4), 0) << y;
    }
}

} // namespace
