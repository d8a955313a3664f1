// The PNG the command writes holds the pixels Qt's own PNG writer gives,
// read back by libpng with every checksum checked.

#include "app/render/ImageOutput.h"
#include "document/image/BitmapImage.h"
#include "tests/support/StrictPng.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

std::optional<DecodedPng> decoded(const QByteArray& png)
{
    return decodePngStrictly(png.constData(), std::size_t(png.size()));
}

// Partly covered pixels, where unpremultiplying rounds, and an odd size
// that spans several of the encoder's strips.
TEST(ImageOutput, PngPixelsAreThoseOfQtsWriter)
{
    for (const auto& [width, height] : {std::pair{256, 256}, std::pair{301, 77}}) {
        const BitmapRep image = coverRamp(width, height);
        QByteArray byQt;
        QBuffer buffer(&byQt);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(QImageWriter(&buffer, "png").write(imageOverBitmap(image)));

        const auto ours = decoded(encodeResultImage(image, OutputKind::Png));
        const auto theirs = decoded(byQt);
        ASSERT_TRUE(ours && theirs);
        EXPECT_EQ(ours->width, theirs->width);
        EXPECT_EQ(ours->height, theirs->height);
        EXPECT_TRUE(ours->rgba == theirs->rgba);
    }
}

} // namespace
