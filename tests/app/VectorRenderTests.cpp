// gelcoat-render with the pictures designers' tools write: an SVG logo
// drawn at the side asked for (text included, which needs the system's
// fonts), and grey with alpha rendering exactly as the same RGBA picture.

#include "app/render/RenderOptions.h"
#include "tests/app/RenderCommandTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>

#include <png.h>

#include <vector>

using namespace gelcoat;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray kLogo =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 200 100\">"
    "<rect x=\"10\" y=\"10\" width=\"80\" height=\"80\" rx=\"16\"/>"
    "<text x=\"100\" y=\"70\" font-family=\"DejaVu Sans\" font-size=\"60\">G</text></svg>";

TEST_F(RenderCommandTest, SvgStencilsAreDrawnAtTheSideAsked)
{
    writeFile(path("logo.svg"), kLogo);
    RenderRun run = render({QStringLiteral("logo.svg"), QStringLiteral("--vector-side"),
                            QStringLiteral("300"), QStringLiteral("--stage"),
                            QStringLiteral("source"), QStringLiteral("-o"),
                            QStringLiteral("source.tif")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QImage source(path("source.tif"));
    ASSERT_EQ(source.size(), QSize(300, 150));
    // The rounded square is there, and so is the letter beside it.
    EXPECT_EQ(qAlpha(source.pixel(75, 75)), 255);
    EXPECT_EQ(qAlpha(source.pixel(5, 5)), 0);
    int letter = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 150; x < 300; ++x)
            letter += qAlpha(source.pixel(x, y)) > 128;
    EXPECT_GT(letter, 500);

    // By default the longer side is 1,024 pixels.
    run = render({QStringLiteral("logo.svg"), QStringLiteral("--info")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("1024"))) << run.out.toStdString();

    for (const char* side : {"0", "16385", "big"}) {
        run = render({QStringLiteral("logo.svg"), QStringLiteral("--vector-side"),
                      QString::fromLatin1(side)});
        EXPECT_EQ(run.exitCode, 1) << side;
        EXPECT_TRUE(run.err.contains(QStringLiteral("--vector-side takes a number of pixels "
                                                    "from 1 to 16384")))
            << run.err.toStdString();
    }
}

// ImageMagick writes black shapes on transparency as 8-bit grey with alpha.
TEST_F(RenderCommandTest, GreyWithAlphaRendersAsTheRgbaPicture)
{
    const int width = 24, height = 16;
    std::vector<unsigned char> ga, rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto g = static_cast<unsigned char>((x * 11) % 256);
            const auto a = static_cast<unsigned char>(
                x > 3 && x < 20 && y > 2 && y < 13 ? 40 + (y * 37) % 216 : 0);
            ga.insert(ga.end(), {g, a});
            rgba.insert(rgba.end(), {g, g, g, a});
        }
    const auto write = [this](const char* name, png_uint_32 format, const void* pixels) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = width;
        image.height = height;
        image.format = format;
        return png_image_write_to_file(&image, path(QString::fromLatin1(name)).toLocal8Bit(), 0,
                                       pixels, 0, nullptr) != 0;
    };
    ASSERT_TRUE(write("ga.png", PNG_FORMAT_GA, ga.data()));
    ASSERT_TRUE(write("rgba.png", PNG_FORMAT_RGBA, rgba.data()));
    for (const char* stencil : {"ga.png", "rgba.png"}) {
        const RenderRun run = render({QString::fromLatin1(stencil), QStringLiteral("-o"),
                                      QString::fromLatin1(stencil) + QStringLiteral(".tif")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    EXPECT_FALSE(read("rgba.png.tif").isEmpty());
    EXPECT_EQ(read("ga.png.tif"), read("rgba.png.tif"));
}

} // namespace
