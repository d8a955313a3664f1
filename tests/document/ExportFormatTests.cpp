// The export formats: each file reads back as the same pixels, the format
// follows the chosen name, and the save panel's format is remembered.

#include "document/export/ExportFormat.h"
#include "document/export/PngWriter.h"
#include "document/export/ResultExport.h"
#include "document/intake/PictureDecoder.h"
#include "document/model/TintDocument.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <webp/decode.h>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// Translucent edges, transparent holes and opaque colour: every case the
// un-premultiplying of PNG and WebP must bring back exactly.
BitmapRep gelLike()
{
    return makeBuffer(37, 23, [](int x, int y) -> std::uint32_t {
        const std::uint32_t a = std::uint32_t((x * 7 + y * 11) % 256);
        if ((x + 2 * y) % 5 == 0)
            return 0;
        const std::uint32_t r = a * std::uint32_t(x) / 40, g = a * std::uint32_t(y) / 30;
        return r << 24 | g << 16 | (a / 2) << 8 | a;
    });
}

} // namespace

TEST(ExportFormat, EveryFormatReadsBackAsTheSamePixels)
{
    const BitmapRep image = gelLike();
    for (const ExportFormat format : exportFormats()) {
        const QByteArray bytes = encodeExportImage(image, format);
        ASSERT_FALSE(bytes.isEmpty()) << exportSuffix(format).toStdString();
        QString error;
        const std::optional<SourcePicture> back = decodePicture(bytes, &error);
        ASSERT_TRUE(back) << exportSuffix(format).toStdString() << ": " << error.toStdString();
        EXPECT_TRUE(back->pixels.samePixels(image)) << exportSuffix(format).toStdString();
    }
    // The WebP file is lossless and keeps straight RGBA as the PNG writer
    // makes it, read here by libwebp itself.
    const QByteArray webp = encodeExportImage(image, ExportFormat::WebP);
    int w = 0, h = 0;
    std::uint8_t* straight = WebPDecodeRGBA(reinterpret_cast<const std::uint8_t*>(webp.constData()),
                                            std::size_t(webp.size()), &w, &h);
    ASSERT_NE(straight, nullptr);
    WebPBitstreamFeatures features;
    ASSERT_EQ(WebPGetFeatures(reinterpret_cast<const std::uint8_t*>(webp.constData()),
                              std::size_t(webp.size()), &features), VP8_STATUS_OK);
    EXPECT_EQ(features.format, 2);   // lossless
    const QImage png = QImage::fromData(encodePng(image), "PNG")
                           .convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(QSize(w, h), png.size());
    for (int y = 0; y < h; ++y)
        EXPECT_EQ(std::memcmp(straight + 4 * w * y, png.constScanLine(y), std::size_t(4 * w)), 0);
    WebPFree(straight);

    // Beyond WebP's side limit there is no file, and nothing is claimed.
    const BitmapRep wide = makeBuffer(16384, 1);
    EXPECT_TRUE(encodeExportImage(wide, ExportFormat::WebP).isEmpty());
    EXPECT_FALSE(encodeExportImage(wide, ExportFormat::Png).isEmpty());
}

TEST(ExportFormat, TheChosenNameDecidesUnlessItHasNoKnownSuffix)
{
    EXPECT_EQ(formatForChosenFile(QStringLiteral("/x/a.TIF"), ExportFormat::Png), ExportFormat::Tiff);
    EXPECT_EQ(formatForChosenFile(QStringLiteral("/x/a.webp"), ExportFormat::Tiff),
              ExportFormat::WebP);
    EXPECT_EQ(formatForChosenFile(QStringLiteral("/x/my.logo"), ExportFormat::WebP),
              ExportFormat::WebP);
    EXPECT_EQ(formatForChosenFile(QStringLiteral("/x/plain"), ExportFormat::Tiff),
              ExportFormat::Tiff);
    for (const ExportFormat format : exportFormats()) {
        EXPECT_EQ(exportFormatForNameFilter(exportNameFilter(format)), format);
        EXPECT_EQ(exportFormatForPath(QStringLiteral("a.") + exportSuffix(format)), format);
    }
}

class ExportSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid() && settings.isValid()); }
    IsolatedSettings settings{"ExportFormatTests"};
    QTemporaryDir dir;
};

TEST_F(ExportSaveTest, TheLastFormatIsRememberedBesideTheLastFolder)
{
    // A new document with nothing remembered proposes PNG.
    EXPECT_EQ(proposedSaveLocation(QString()).format, ExportFormat::Png);

    TintDocument doc;
    doc.refreshUIFromModel();
    const BitmapRep& result = *doc.pipeline().finalMixImage();
    const QString target = dir.filePath(QStringLiteral("gel.webp"));
    ASSERT_TRUE(saveExportedImage(doc, target, ExportFormat::WebP, result).ok);
    EXPECT_EQ(UserDefaults::standard().objectForKey(lastSaveFormatKey).toString(),
              QStringLiteral("webp"));
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), encodeExportImage(result, ExportFormat::WebP));

    // Another new document starts from it; a document's own last export
    // keeps its format by its name.
    const SaveProposal fresh = proposedSaveLocation(QString());
    EXPECT_EQ(fresh.format, ExportFormat::WebP);
    EXPECT_EQ(fresh.folder, dir.path());
    EXPECT_EQ(proposedSaveLocation(QStringLiteral("/tmp/a.tif")).format, ExportFormat::Tiff);
    EXPECT_EQ(proposedSaveLocation(QStringLiteral("/tmp/noname")).format, ExportFormat::WebP);

    // An image WebP cannot hold gives the "Save" alert, not an empty file.
    const BitmapRep wide = makeBuffer(16384, 1);
    const QString tooWide = dir.filePath(QStringLiteral("wide.webp"));
    EXPECT_FALSE(saveExportedImage(doc, tooWide, ExportFormat::WebP, wide).ok);
    EXPECT_FALSE(QFile::exists(tooWide));
}
