// Icon sets: each size is the result fitted into its square exactly as a
// render at that final size gives it, and each form of the set reads back
// with its sizes.

#include "document/icons/IconFiles.h"
#include "document/icons/IconImages.h"
#include "document/icons/ScalableSource.h"
#include "document/pipeline/RenderPipeline.h"
#include "document/resources/BundleImages.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <zlib.h>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// A render of the stencil at a final size, as the window or gelcoat-render
// makes it.
BitmapRep rendered(const BitmapRep& stencil, float finalSize)
{
    TintSettings settings;
    settings.finalSize = finalSize;
    RenderPipeline pipeline;
    pipeline.remakeGelcoatWithChanges({&stencil, false, &settings}, PipelineChanges::all());
    EXPECT_TRUE(pipeline.finalMixImageValid()) << pipeline.lastFailure();
    return std::move(*pipeline.finalMixImage()->clone());
}

// The sizes a reader finds in a multi-image file.
std::vector<int> sizesRead(const QByteArray& bytes, const char* format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, format);
    std::vector<int> sizes;
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.width(), image.height());
        sizes.push_back(image.width());
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

std::vector<IconImage> someIcons(std::initializer_list<int> sizes)
{
    const BitmapRep stencil = randomShapes(90, 60, 7);
    QString error;
    auto icons = renderIconImages(stencil, false, TintSettings(), std::vector<int>(sizes),
                                  FlattenChoice::None, &error);
    EXPECT_TRUE(icons) << error.toStdString();
    return std::move(*icons);
}

// Renders need the shading tables of the bundled button picture.
class IconSet : public ::testing::Test {
protected:
    void SetUp() override { installEngineResources(); }
};

} // namespace

TEST_F(IconSet, EachSizeIsARenderAtThatFinalSizePadded)
{
    // Wider than high, so that every size is padded above and below, with
    // sizes that shrink, enlarge and meet odd leftovers.
    const BitmapRep stencil = randomShapes(90, 61, 3);
    const std::vector<int> sizes = {16, 24, 45, 128};
    QString error;
    const auto icons = renderIconImages(stencil, false, TintSettings(), sizes,
                                        FlattenChoice::None, &error);
    ASSERT_TRUE(icons) << error.toStdString();
    ASSERT_EQ(icons->size(), sizes.size());
    for (const IconImage& icon : *icons) {
        const int n = icon.size;
        ASSERT_EQ(icon.image.pixelsWide(), n);
        ASSERT_EQ(icon.image.pixelsHigh(), n);
        const BitmapRep render = rendered(stencil, iconFinalSize(90, n));
        ASSERT_EQ(render.pixelsWide(), n) << "the longer side is exactly the size";
        const int top = (n - render.pixelsHigh()) / 2;
        EXPECT_EQ(std::make_pair(render.pixelsWide(), render.pixelsHigh()),
                  iconFittedSize(90, 61, n));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const bool inside = y >= top && y < top + render.pixelsHigh();
                const std::uint32_t expected = inside ? pixel(render, x, y - top) : 0u;
                ASSERT_EQ(pixel(icon.image, x, y), expected) << n << " at " << x << "," << y;
            }
    }
}

TEST_F(IconSet, FlatteningCoversThePaddingToo)
{
    const BitmapRep stencil = randomShapes(40, 20, 5);
    QString error;
    const auto icons = renderIconImages(stencil, false, TintSettings(), std::vector<int>{32},
                                        FlattenChoice::White, &error);
    ASSERT_TRUE(icons);
    EXPECT_EQ(pixel(icons->front().image, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(icons->front().image, 31, 31), 0xFFFFFFFFu);
}

TEST_F(IconSet, SizesAreParsedStrictly)
{
    QString error;
    EXPECT_EQ(*parseIconSizes(QStringLiteral("32,16, 32,1024"), &error),
              (std::vector<int>{16, 32, 1024}));
    for (const char* bad : {"", "16,,32", "0", "1025", "16px", "-16"}) {
        EXPECT_FALSE(parseIconSizes(QString::fromLatin1(bad), &error)) << bad;
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(IconSet, WindowsAndMacIconsReadBackWithTheirSizes)
{
    const std::vector<IconImage> icons = someIcons({16, 24, 32, 48, 64, 128, 256, 512});
    std::vector<int> leftOut;
    QString error;

    const auto ico = iconSetFiles(icons, IconSetForm::Ico, QString(), {}, &leftOut, &error);
    ASSERT_EQ(ico.size(), 1u) << error.toStdString();
    EXPECT_EQ(leftOut, std::vector<int>{512});
    EXPECT_EQ(sizesRead(ico.front().bytes, "ico"),
              (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));
    // Each entry holds the very pixels of its size.
    QBuffer buffer;
    buffer.setData(ico.front().bytes);
    QImageReader reader(&buffer, "ico");
    const QImage first = reader.read().convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    const IconImage& sixteen = icons.front();
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(std::memcmp(first.constScanLine(y), sixteen.image.row(y), 64), 0) << y;

    const auto icns = iconSetFiles(icons, IconSetForm::Icns, QString(), {}, &leftOut, &error);
    ASSERT_EQ(icns.size(), 1u) << error.toStdString();
    EXPECT_EQ(leftOut, (std::vector<int>{24, 48}));
    EXPECT_EQ(sizesRead(icns.front().bytes, "icns"), (std::vector<int>{16, 32, 64, 128, 256, 512}));

    // A form that can hold none of the sizes says so.
    const std::vector<IconImage> odd = someIcons({24});
    EXPECT_TRUE(iconSetFiles(odd, IconSetForm::Icns, QString(), {}, &leftOut, &error).empty());
    EXPECT_NE(error.indexOf(QStringLiteral("macOS")), -1);
}

TEST_F(IconSet, FolderFormsAreWrittenAllTogether)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<IconImage> icons = someIcons({16, 48});
    std::vector<int> leftOut;
    QString error;
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";

    const auto pngs = iconSetFiles(icons, IconSetForm::PngFiles, QStringLiteral("logo"), svg,
                                   &leftOut, &error);
    const QByteArray flat = QFile::encodeName(dir.filePath(QStringLiteral("flat")));
    ASSERT_TRUE(writeIconSet(flat + '/', pngs, &error)) << error.toStdString();
    const auto tree = iconSetFiles(icons, IconSetForm::Hicolor, QStringLiteral("logo"), svg,
                                   &leftOut, &error);
    const QByteArray hicolor = QFile::encodeName(dir.filePath(QStringLiteral("share/icons/hicolor")));
    ASSERT_TRUE(writeIconSet(hicolor, tree, &error)) << error.toStdString();

    for (const int n : {16, 48}) {
        for (const QString& path :
             {dir.filePath(QStringLiteral("flat/logo-%1.png").arg(n)),
              dir.filePath(QStringLiteral("share/icons/hicolor/%1x%1/apps/logo.png").arg(n))}) {
            const QImage image(path);
            EXPECT_EQ(image.size(), QSize(n, n)) << path.toStdString();
        }
    }
    QFile scalable(dir.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/logo.svg")));
    ASSERT_TRUE(scalable.open(QIODevice::ReadOnly));
    EXPECT_EQ(scalable.readAll(), svg);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("flat/logo.svg"))));

    // A folder in the way of a file: nothing of the set is put in place.
    const QByteArray blocked = QFile::encodeName(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("blocked/logo-48.png")));
    EXPECT_FALSE(writeIconSet(blocked, pngs, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("blocked/logo-16.png"))));
}

TEST_F(IconSet, AVectorStencilsOwnDrawingIsFoundByContent)
{
    QTemporaryDir dir;
    const QByteArray svg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "width=\"8\" height=\"8\"><rect width=\"8\" height=\"8\"/></svg>\n";
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QFile::encodeName(file.fileName());
    };
    // gzip, as an .svgz file holds it.
    QByteArray gz(1024, '\0');
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(svg.constData()));
    z.avail_in = uInt(svg.size());
    z.next_out = reinterpret_cast<Bytef*>(gz.data());
    z.avail_out = uInt(gz.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    gz.resize(gz.size() - qsizetype(z.avail_out));
    deflateEnd(&z);

    EXPECT_EQ(scalableSource(write("logo.dat", svg)), svg);
    EXPECT_EQ(scalableSource(write("logo.svgz", gz)), svg);
    EXPECT_TRUE(scalableSource(write("picture.svg", "\x89PNG\r\n\x1a\n")).isEmpty());
    EXPECT_TRUE(scalableSource(write("page.xml", "<?xml version=\"1.0\"?><html/>")).isEmpty());
}
