// Export: flattening, the TIFF and clipboard payloads, where the save panel
// starts, and the edited mark and failure of an image save.

#include "document/export/ResultExport.h"
#include "document/intake/PictureDecoder.h"
#include "document/model/TintDocument.h"
#include "document/settings/SettingsKeys.h"
#include "document/settings/UserDefaults.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>

#include <memory>

using namespace gelcoat;
using namespace gelcoat::test;

TEST(ResultExport, FlatteningComposesOverTheBackground)
{
    // Transparent, half-covered red, and opaque green.
    const BitmapRep image = makeBuffer(3, 1, [](int x, int) -> std::uint32_t {
        return x == 0 ? 0x00000000u : x == 1 ? 0x80000080u : 0x00FF00FFu;
    });
    auto white = flattenedImage(image, FlattenChoice::White);
    auto black = flattenedImage(image, FlattenChoice::Black);
    auto none = flattenedImage(image, FlattenChoice::None);
    ASSERT_TRUE(white && black && none);
    EXPECT_EQ(pixel(*white, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(*black, 0, 0), 0x000000FFu);
    // out = src + bg × (1 − srcA): 128 + 255 × 127/255 = 255 for red, 127 else.
    EXPECT_EQ(pixel(*white, 1, 0), 0xFF7F7FFFu);
    EXPECT_EQ(pixel(*black, 1, 0), 0x800000FFu);
    EXPECT_EQ(pixel(*white, 2, 0), 0x00FF00FFu);
    EXPECT_TRUE(none->samePixels(image));
    EXPECT_EQ(white->pixelsWide(), 3);

    EXPECT_FALSE(flattenChoiceForTag(3));
    EXPECT_FALSE(flattenChoiceForTag(-1));
    EXPECT_EQ(flattenChoiceForTag(1), FlattenChoice::Black);
}

TEST(ResultExport, TiffAndClipboardCarryTheImage)
{
    const BitmapRep image = randomShapes(31, 17, 5);
    const QByteArray tiff = exportTiffData(image);
    ASSERT_FALSE(tiff.isEmpty());
    EXPECT_EQ(tiff.mid(0, 4), QByteArray("II*\0", 4));
    auto decoded = decodePicture(tiff);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded->pixels.samePixels(image));

    // Opaque and clear pixels survive PNG's straight alpha exactly.
    const BitmapRep hard = makeBuffer(9, 4, [](int x, int y) -> std::uint32_t {
        return (x + y) % 3 == 0 ? 0u : 0x204080FFu + std::uint32_t(x) * 0x01000000u;
    });
    std::unique_ptr<QMimeData> payload(makeClipboardPayload(hard));
    ASSERT_TRUE(payload);
    EXPECT_EQ(payload->formats(),
              (QStringList{QStringLiteral("image/tiff"), QStringLiteral("image/png")}));
    EXPECT_EQ(payload->data(QStringLiteral("image/tiff")), exportTiffData(hard));
    for (const QString& type : payload->formats()) {
        auto back = decodePicture(payload->data(type));
        ASSERT_TRUE(back) << type.toStdString();
        EXPECT_TRUE(back->pixels.samePixels(hard)) << type.toStdString();
    }

    EXPECT_TRUE(exportTiffData(BitmapRep()).isEmpty());
    EXPECT_EQ(makeClipboardPayload(BitmapRep()), nullptr);
}

class ImageSaveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid() && settings.isValid()); }
    IsolatedSettings settings{"ResultExportTests"};
    QTemporaryDir dir;
};

TEST_F(ImageSaveTest, SaveProposesTheLastPlace)
{
    // The documents folder when there is one, else home.
    const QString documents = QDir::home().filePath(QStringLiteral("Documents"));
    EXPECT_EQ(proposedSaveLocation(QString()).folder,
              QFileInfo(documents).isDir() ? documents : QDir::homePath());
    EXPECT_EQ(proposedSaveLocation(QString()).fileName, QString());
    UserDefaults::standard().setString(lastSaveDirKey, QStringLiteral("/srv/out"));
    EXPECT_EQ(proposedSaveLocation(QString()).folder, QStringLiteral("/srv/out"));
    const SaveProposal after = proposedSaveLocation(QStringLiteral("/tmp/a.tiff"));
    EXPECT_EQ(after.folder, QStringLiteral("/tmp"));
    EXPECT_EQ(after.fileName, QStringLiteral("a.tiff"));
}

TEST_F(ImageSaveTest, ANewPathMarksTheDocumentEditedOnce)
{
    TintDocument doc;
    doc.refreshUIFromModel();
    const BitmapRep& result = *doc.pipeline().finalMixImage();
    const QByteArray tiff = exportTiffData(result);
    const QString target = dir.filePath(QStringLiteral("a.tiff"));

    ASSERT_TRUE(saveExportedImage(doc, target, ExportFormat::Tiff, result).ok);
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_EQ(doc.destImagePath(), target);
    EXPECT_EQ(UserDefaults::standard().objectForKey(lastSaveDirKey).toString(), dir.path());
    doc.clearChangeCount();
    ASSERT_TRUE(saveExportedImage(doc, target, ExportFormat::Tiff, result).ok);
    EXPECT_FALSE(doc.isDocumentEdited());
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), tiff);
}

TEST_F(ImageSaveTest, FailedWriteIsReportedAfterThePathIsRecorded)
{
    TintDocument doc;
    // A folder where the file should go: the write fails for any user.
    const QString target = dir.filePath(QStringLiteral("taken.tiff"));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken.tiff")));
    const BitmapRep image = makeBuffer(2, 2);
    const DocumentOutcome outcome = saveExportedImage(doc, target, ExportFormat::Png, image);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.alert.title, QStringLiteral("Save"));
    EXPECT_EQ(outcome.alert.message,
              QStringLiteral("An error occurred while trying to save the image to: ") + target +
                  QStringLiteral("."));
    // The path was recorded before the write, as the save panel's OK does.
    EXPECT_EQ(doc.destImagePath(), target);
    EXPECT_TRUE(doc.isDocumentEdited());

    // A path with placeholders is shown literally.
    const QString odd = dir.filePath(QStringLiteral("no/%1 %2.tiff"));
    EXPECT_TRUE(saveExportedImage(doc, odd, ExportFormat::Tiff, image)
                    .alert.message.contains(QStringLiteral("%1 %2.tiff")));
}
