// Documents on disk: saving and reopening, the stencil the file embeds or
// names, the outcomes a window acts on, and the document layer's saves.

#include "BuildSettings.h"
#include "document/file/DocumentArchive.h"
#include "document/file/DocumentMessages.h"
#include "document/intake/TiffCodec.h"
#include "document/model/FileStamp.h"
#include "document/model/TintDocument.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/support/TestImages.h"
#include "tests/document/IntakeTestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace gelcoat;
using namespace gelcoat::test;
using gelcoat::intaketest::encodeWithQt;

namespace {

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.isValid());
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A document file whose picture is named, not embedded.
    static QByteArray externalDocument(const QString& sourcePath)
    {
        QByteArray bytes = writeDocumentArchive({}, QString(), TintSettings{});
        bytes.replace("<key>DestImagePath</key>",
                      "<key>SourceImagePath</key><string>" + sourcePath.toUtf8() +
                          "</string><key>DestImagePath</key>");
        return bytes;
    }

    static QByteArray pngOf(const BitmapRep& rgba)
    {
        QImage image(rgba.bitmapData(), rgba.pixelsWide(), rgba.pixelsHigh(), rgba.bytesPerRow(),
                     QImage::Format_RGBA8888_Premultiplied);
        return encodeWithQt(image, "png");
    }

    IsolatedSettings settings{"DocumentFileTests"};
    QTemporaryDir dir;
};

SourcePicture pictureOf(BitmapRep pixels)
{
    SourcePicture p;
    p.pixels = std::move(pixels);
    return p;
}

} // namespace

TEST_F(DocumentFileTest, SavedDocumentsReopenWithEverySettingAndPixel)
{
    TintDocument doc;
    ASSERT_TRUE(doc.useImage(pictureOf(randomShapes(97, 61, 7)), QString(), true, false));
    doc.changeSetting([](TintSettings& s) { s.userHue = 12.34f; });
    doc.changeSetting([](TintSettings& s) { s.sourceBugX = -17; });
    {
        TintSettings s = doc.settings();
        s.destInteriorStyle = 1;
        doc.changeDisplayOptions(s);
    }
    doc.changeSetting([](TintSettings& s) { s.shadowYOffset = -0.1f; });
    doc.recordDestImagePath(QStringLiteral("/tmp/out.tiff"));
    const DocumentOutcome saved = doc.saveDocumentAs(path("a.gelcoat"));
    ASSERT_TRUE(saved.ok) << saved.alert.message.toStdString();
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(doc.fileName(), path("a.gelcoat"));
    EXPECT_EQ(doc.displayName(), QStringLiteral("a.gelcoat"));

    TintDocument reopened;
    const DocumentOutcome opened = reopened.readFromFile(path("a.gelcoat"));
    ASSERT_TRUE(opened.ok) << opened.alert.message.toStdString();
    EXPECT_TRUE(opened.alert.isEmpty());
    EXPECT_FALSE(opened.runSubstitutePanel);
    EXPECT_EQ(reopened.settings(), doc.settings());
    EXPECT_EQ(reopened.destImagePath(), QStringLiteral("/tmp/out.tiff"));
    ASSERT_TRUE(reopened.sourceImage());
    EXPECT_TRUE(reopened.sourceImage()->samePixels(*doc.sourceImage()));
    EXPECT_FALSE(reopened.sourceImageIsSimple());
    EXPECT_FALSE(reopened.isDocumentEdited());

    // And it renders.
    reopened.refreshUIFromModel();
    EXPECT_TRUE(reopened.pipeline().finalMixImageValid());
}

TEST_F(DocumentFileTest, BlackMaskIsSimpleAgainAfterReopening)
{
    // A grey drawing without alpha is what the intake turns into a mask.
    TintDocument doc;
    SourcePicture grey;
    auto pixels = BitmapRep::makeLayout(40, 30, 1, 8, false, false);
    ASSERT_TRUE(pixels);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            pixels->row(y)[x] = (x / 8 + y / 8) % 2 ? 0 : 255;
    grey.samplesPerPixel = 1;
    grey.bitsPerPixel = 8;
    grey.hasAlpha = false;
    grey.pixels = std::move(*pixels);
    ASSERT_TRUE(doc.useImage(std::move(grey), QString(), true, false));
    ASSERT_TRUE(doc.sourceImageIsSimple());
    ASSERT_TRUE(doc.saveDocumentAs(path("mask.gelcoat")).ok);

    TintDocument reopened;
    ASSERT_TRUE(reopened.readFromFile(path("mask.gelcoat")).ok);
    EXPECT_TRUE(reopened.sourceImageIsSimple());
    reopened.refreshUIFromModel();
    doc.refreshUIFromModel();
    EXPECT_TRUE(reopened.pipeline().finalMixImage()->samePixels(*doc.pipeline().finalMixImage()));
}

TEST_F(DocumentFileTest, EmbeddedPicturesOfAnyLayoutBecomeRgba)
{
    // An RGB picture stored by another writer: opaque RGBA after loading.
    QImage rgb(5, 4, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    const QByteArray bytes = writeDocumentArchive(encodeWithQt(rgb, "png"), QString(), TintSettings{});
    TintDocument doc;
    ASSERT_TRUE(doc.loadDataRepresentation(bytes, LoadMode::Open, path("x.gelcoat")).ok);
    ASSERT_TRUE(doc.sourceImage());
    EXPECT_TRUE(isEngineFormat(*doc.sourceImage()));
    EXPECT_EQ(pixel(*doc.sourceImage(), 4, 3), 0x0A141EFFu);
    EXPECT_FALSE(doc.sourceImageIsSimple());
    EXPECT_TRUE(doc.invertSource());   // works on the standard layout
}

TEST_F(DocumentFileTest, UndecodableStoredPictureIsKeptForTheNextSave)
{
    const QByteArray junk("II*\0 not really a TIFF at all", 29);
    TintDocument doc;
    const DocumentOutcome outcome = doc.loadDataRepresentation(
        writeDocumentArchive(junk, QString(), TintSettings{}), LoadMode::Open, path("j.gelcoat"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.alert.title, QStringLiteral("Open"));
    EXPECT_TRUE(outcome.alert.message.startsWith(
        QStringLiteral("The source image stored in this gelcoat file cannot be read (")));
    EXPECT_FALSE(doc.sourceImage());
    EXPECT_EQ(doc.unreadableSourceData(), junk);
    doc.refreshUIFromModel();   // nothing to render, nothing to crash

    ASSERT_TRUE(doc.saveDocumentAs(path("j.gelcoat")).ok);
    QString error;
    const auto archive = readDocumentArchive(readFile(path("j.gelcoat")), {}, &error);
    ASSERT_TRUE(archive && archive->sourceData);
    EXPECT_EQ(*archive->sourceData, junk);
}

TEST_F(DocumentFileTest, StoredPictureClaimingAHugeSizeIsNotDecoded)
{
    const QByteArray hugePng = gelcoat::intaketest::makePng(100000, 100000, 8, 0, QByteArray(1, '\0'));
    TintDocument doc;
    const DocumentOutcome outcome = doc.loadDataRepresentation(
        writeDocumentArchive(hugePng, QString(), TintSettings{}), LoadMode::Open, {});
    EXPECT_TRUE(outcome.ok);
    EXPECT_FALSE(outcome.alert.isEmpty());
    EXPECT_FALSE(doc.sourceImage());
    EXPECT_EQ(doc.unreadableSourceData(), hugePng);
}

TEST_F(DocumentFileTest, RefusalsChangeNothing)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.userHue = 3; });
    const TintSettings before = doc.settings();
    const BitmapRep* sourceBefore = &*doc.sourceImage();

    DocumentOutcome later = doc.loadDataRepresentation(
        "<plist><dict><key>ArchiveVersion</key><integer>2</integer></dict></plist>",
        LoadMode::Open, path("v2.gelcoat"));
    EXPECT_FALSE(later.ok);
    EXPECT_EQ(later.alert.title, QStringLiteral("Open"));
    EXPECT_EQ(later.alert.message,
              QStringLiteral("Sorry, this file cannot be opened; it was saved by a later version "
                             "of Gelcoat.  Please obtain the latest version from ") +
                  QString::fromUtf8(build::makerWebSite) + QStringLiteral(" and try again."));

    DocumentOutcome broken = doc.loadDataRepresentation("<plist><dict>", LoadMode::Open, {});
    EXPECT_FALSE(broken.ok);
    EXPECT_TRUE(broken.alert.message.startsWith(QStringLiteral(
        "Sorry, this file cannot be opened; it does not appear to be in the proper format.  "
        "The low-level error string is: line 1, column ")));
    EXPECT_TRUE(broken.alert.message.endsWith(u'.'));
    EXPECT_FALSE(broken.alert.message.endsWith(QStringLiteral("..")));

    EXPECT_EQ(doc.settings(), before);
    EXPECT_EQ(&*doc.sourceImage(), sourceBefore);
}

TEST_F(DocumentFileTest, NamedPictureIsFoundWhereWrittenOrBesideTheDocument)
{
    const BitmapRep shapes = randomShapes(33, 21, 3);
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("docs")));
    writeFile(path("docs/moved.png"), pngOf(shapes));
    writeFile(path("docs/rel.png"), pngOf(shapes));
    writeFile(path("docs/d1.gelcoat"), externalDocument(QStringLiteral("/nowhere/at/all/moved.png")));
    writeFile(path("docs/d2.gelcoat"), externalDocument(QStringLiteral("rel.png")));
    writeFile(path("docs/d3.gelcoat"), externalDocument(path("docs/moved.png")));

    TintDocument moved;
    ASSERT_TRUE(moved.readFromFile(path("docs/d1.gelcoat")).ok);
    EXPECT_EQ(moved.sourceImagePath(), path("docs/moved.png"));
    EXPECT_TRUE(moved.sourceImage()->samePixels(shapes));

    TintDocument relative;
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(QDir::rootPath());   // relative to the document, not to here
    const DocumentOutcome outcome = relative.readFromFile(path("docs/d2.gelcoat"));
    QDir::setCurrent(cwd);
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.alert.isEmpty());
    EXPECT_EQ(relative.sourceImagePath(), QStringLiteral("rel.png"));

    TintDocument asWritten;
    ASSERT_TRUE(asWritten.readFromFile(path("docs/d3.gelcoat")).ok);
    EXPECT_EQ(asWritten.sourceImagePath(), path("docs/moved.png"));
}

TEST_F(DocumentFileTest, MissingNamedPictureOnOpenAsksForAnother)
{
    // A FIFO by that name must not hang the reader; it counts as missing.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.png")).constData(), 0600), 0);
    writeFile(path("d.gelcoat"), externalDocument(QStringLiteral("/gone/pipe.png")));
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.userHue = 7; });
    const DocumentOutcome outcome = doc.readFromFile(path("d.gelcoat"));
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.runSubstitutePanel);
    EXPECT_FALSE(outcome.scheduleRevertWarning);
    EXPECT_EQ(outcome.alert.title, QStringLiteral("Open"));
    EXPECT_EQ(outcome.alert.message,
              QStringLiteral("The source image this gelcoat file is based upon, pipe.png, could "
                             "not be found.  Please choose a source image."));
    EXPECT_EQ(doc.sourceImagePath(), QString());
    ASSERT_TRUE(doc.sourceImage());   // the start picture
    EXPECT_EQ(doc.sourceImage()->pixelsWide(), 256);
    EXPECT_EQ(doc.settings().userHue, 59);
}

TEST_F(DocumentFileTest, RevertRestoresTheFileAndWarnsOfAMissingPicture)
{
    writeFile(path("pic.png"), pngOf(randomShapes(20, 20, 9)));
    writeFile(path("d.gelcoat"), externalDocument(path("pic.png")));
    TintDocument doc;
    ASSERT_TRUE(doc.readFromFile(path("d.gelcoat")).ok);
    const BitmapRep* loaded = &*doc.sourceImage();
    doc.changeSetting([](TintSettings& s) { s.userHue = 33; });
    doc.updateChangeCount();
    int refreshes = 0;
    QObject::connect(&doc, &TintDocument::controlsNeedRefresh, [&] { ++refreshes; });

    ASSERT_TRUE(QFile::remove(path("pic.png")));
    const DocumentOutcome outcome = doc.revertDocumentToSaved();
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.scheduleRevertWarning);
    EXPECT_FALSE(outcome.runSubstitutePanel);
    EXPECT_EQ(outcome.alert.title, QStringLiteral("Revert"));
    const QString warning = QStringLiteral(
        "The source image this gelcoat file is based upon, pic.png, could not be found.  Other "
        "aspects of the document will be reverted.");
    EXPECT_EQ(outcome.alert.message, warning);
    EXPECT_EQ(doc.revertWarningMessage(), warning);
    EXPECT_EQ(&*doc.sourceImage(), loaded);   // the picture stays
    EXPECT_EQ(doc.sourceImagePath(), path("pic.png"));
    EXPECT_EQ(doc.settings().userHue, 59);
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(doc.pipeline().finalMixImageValid());
}

TEST_F(DocumentFileTest, FailedSaveKeepsThePreviousFile)
{
    TintDocument doc;
    ASSERT_TRUE(doc.saveDocumentAs(path("keep.gelcoat")).ok);
    const QByteArray before = readFile(path("keep.gelcoat"));
    doc.changeSetting([](TintSettings& s) { s.userHue = 1; });
    doc.updateChangeCount();

    // A folder that cannot take the temporary file.
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const DocumentOutcome failed = doc.saveDocument();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ExeOwner));
    if (::geteuid() != 0) {   // root writes anyway
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.alert.title, QStringLiteral("Save"));
        EXPECT_TRUE(doc.isDocumentEdited());
    }
    EXPECT_EQ(readFile(path("keep.gelcoat")).isEmpty(), false);
    if (!failed.ok) {
        EXPECT_EQ(readFile(path("keep.gelcoat")), before);
    }

    // Fails for root too: a folder stands where the file should go.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken.gelcoat")));
    EXPECT_FALSE(doc.saveDocumentAs(path("taken.gelcoat")).ok);
    EXPECT_TRUE(QFileInfo(path("taken.gelcoat")).isDir());

    const DocumentOutcome nowhere = doc.saveDocumentAs(path("no/such/folder/x.gelcoat"));
    EXPECT_FALSE(nowhere.ok);
    EXPECT_EQ(nowhere.alert.title, QStringLiteral("Save"));
    EXPECT_EQ(doc.fileName(), path("keep.gelcoat"));

    TintDocument untitled;
    EXPECT_EQ(untitled.displayName(), QStringLiteral("Untitled"));
    EXPECT_FALSE(untitled.saveDocument().ok);
    EXPECT_FALSE(untitled.revertDocumentToSaved().ok);
}

TEST_F(DocumentFileTest, SaveToWritesACopyOnly)
{
    TintDocument doc;
    doc.updateChangeCount();
    ASSERT_TRUE(doc.saveDocumentTo(path("copy.gelcoat")).ok);
    EXPECT_TRUE(doc.isDocumentEdited());
    EXPECT_TRUE(doc.fileName().isEmpty());
}

TEST_F(DocumentFileTest, OpeningRefusesWhatIsNotADocumentFile)
{
    TintDocument doc;
    const DocumentOutcome missing = doc.readFromFile(path("absent.gelcoat"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.alert.title, QStringLiteral("Open"));
    const DocumentOutcome folder = doc.readFromFile(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_TRUE(folder.alert.message.contains(QStringLiteral("not a regular file")));
    EXPECT_TRUE(doc.fileName().isEmpty());
}

TEST_F(DocumentFileTest, AnIndependentParserReadsWhatWeWrite)
{
    TintDocument doc;
    doc.changeSetting([](TintSettings& s) { s.sourceBugY = -9; });
    doc.changeSetting([](TintSettings& s) { s.rainbowXOffset = 0.1f; });
    doc.recordDestImagePath(QStringLiteral("/tmp/r&d <1>.tiff"));
    ASSERT_TRUE(doc.saveDocumentAs(path("py.gelcoat")).ok);

    const QString script = QStringLiteral(
        "import plistlib, struct, sys\n"
        "d = plistlib.load(open(sys.argv[1], 'rb'))\n"
        "assert d['ArchiveVersion'] == 1\n"
        "assert d['SourceData'][:4] in (b'II*\\x00', b'MM\\x00*')\n"
        "assert d['DestImagePath'] == '/tmp/r&d <1>.tiff'\n"
        "assert d['SourceBugY'] == -9\n"
        "assert d['UseRainbow'] == 'YES' and d['RainbowCircular'] == 'NO'\n"
        "assert struct.unpack('f', struct.pack('f', d['RainbowXOffset']))[0] == d['RainbowXOffset']\n"
        "assert abs(d['RainbowXOffset'] - 0.1) < 1e-7\n"
        "assert isinstance(d['FinalSize'], float) and isinstance(d['DestInteriorStyle'], int)\n"
        "assert 'SourceImagePath' not in d and len(d) == 30\n"
        "print('ok')\n");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path("py.gelcoat")});
    ASSERT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    EXPECT_EQ(python.readAllStandardOutput().trimmed(), QByteArray("ok"));
}

// Another program may rewrite a file in place within the same second and
// at the same size: only the time's fraction tells the stamps apart.
TEST(FileStamp, ARewriteInPlaceInTheSameSecondIsSeen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stamped"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("first");
    file.close();
    const QDateTime whole = QDateTime::fromSecsSinceEpoch(1700000000);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(whole, QFileDevice::FileModificationTime));
    file.close();
    const std::optional<FileStamp> before = fileStampOf(path);

    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.write("other");
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(whole.addMSecs(1), QFileDevice::FileModificationTime));
    file.close();
    const std::optional<FileStamp> after = fileStampOf(path);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(before->inode, after->inode);
    EXPECT_EQ(before->size, after->size);
    EXPECT_EQ(before->modifiedSeconds, after->modifiedSeconds);
    EXPECT_NE(*before, *after);
    EXPECT_FALSE(fileStampOf(dir.filePath(QStringLiteral("missing"))));
}
