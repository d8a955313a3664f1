// gelcoat-render end to end: the real binary, real files, exit codes.

#include "app/render/RenderOptions.h"
#include "document/intake/TiffCodec.h"
#include "tests/app/RawTiff.h"
#include "tests/app/RenderCommandTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <tiffio.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace gelcoat;

TEST_F(RenderCommandTest, DefaultRunWritesTheStartPictureAtHalfSize)
{
    const RenderRun run = render({});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const RawTiff t = readRawTiff(path("gelcoat.tiff"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.width, 128u);
    EXPECT_EQ(t.height, 128u);
    EXPECT_EQ(t.compression, COMPRESSION_LZW);
    EXPECT_EQ(t.spp, 4);
    EXPECT_EQ(t.extra, EXTRASAMPLE_ASSOCALPHA);
    // Premultiplied: no colour above its alpha, and something opaque.
    bool opaque = false;
    for (std::size_t i = 0; i < t.pixels.size(); i += 4) {
        ASSERT_LE(t.pixels[i], t.pixels[i + 3]);
        opaque = opaque || t.pixels[i + 3] == 255;
    }
    EXPECT_TRUE(opaque);
    // The render the default settings have always given, as one FNV-1a
    // number: a default changed by mistake shows here.
    std::uint64_t fingerprint = 0xcbf29ce484222325u;
    for (const std::uint8_t sample : t.pixels)
        fingerprint = (fingerprint ^ sample) * 0x100000001b3u;
    EXPECT_EQ(fingerprint, 0x50be3f8d4deea4c3u);
}

TEST_F(RenderCommandTest, InfoPrintsJsonAndWritesNothingUnlessAsked)
{
    RenderRun run = render({QStringLiteral("--info")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_EQ(o.value(u"source").toArray(), (QJsonArray{256, 256}));
    EXPECT_EQ(o.value(u"final").toArray(), (QJsonArray{128, 128}));
    EXPECT_FALSE(o.value(u"simple").toBool(true));
    EXPECT_TRUE(o.contains(u"warn") && o.contains(u"top") && o.contains(u"right"));
    EXPECT_FALSE(QFile::exists(path("gelcoat.tiff")));

    run = render({QStringLiteral("--info"), QStringLiteral("--set"), QStringLiteral("ShadowYOffset=-200"),
                  QStringLiteral("-o"), QStringLiteral("out.png")});
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject clipped = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_TRUE(clipped.value(u"warn").toBool());
    EXPECT_GT(clipped.value(u"bottom").toInt(), 0);
    EXPECT_EQ(QImage(path("out.png")).size(), QSize(128, 128));
}

TEST_F(RenderCommandTest, StageWritesThePipelineBufferUnchanged)
{
    const RenderRun run = render({QStringLiteral("--stage"), QStringLiteral("analysis"), QStringLiteral("-o"),
                            QStringLiteral("a.tif")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const RawTiff t = readRawTiff(path("a.tif"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.compression, COMPRESSION_NONE);
    EXPECT_EQ(t.photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(t.extra, EXTRASAMPLE_UNSPECIFIED);
    EXPECT_EQ(t.orientation, ORIENTATION_TOPLEFT);
    EXPECT_EQ(t.width, 256u);
    // Analysis words: zeros outside, four distances of 1–254 inside.
    for (std::size_t i = 0; i < t.pixels.size(); i += 4) {
        const bool outside = !t.pixels[i] && !t.pixels[i + 1] && !t.pixels[i + 2] && !t.pixels[i + 3];
        if (!outside) {
            for (int c = 0; c < 4; ++c)
                ASSERT_TRUE(t.pixels[i + c] >= 1 && t.pixels[i + c] <= 254);
        }
    }
}

TEST_F(RenderCommandTest, ShadowStageIsTransparentWithoutShadow)
{
    // With density 0 no shadow is computed and nothing is drawn.
    ASSERT_EQ(render({QStringLiteral("--set"), QStringLiteral("ShadowDensity=0"), QStringLiteral("--stage"),
                      QStringLiteral("shadow"), QStringLiteral("-o"), QStringLiteral("s.tif")}).exitCode,
              0);
    const RawTiff shadow = readRawTiff(path("s.tif"));
    ASSERT_TRUE(shadow.ok);
    EXPECT_FALSE(shadow.pixels.empty());
    EXPECT_EQ(std::count(shadow.pixels.begin(), shadow.pixels.end(), 0), std::ptrdiff_t(shadow.pixels.size()));
    // With the default density the buffer is black with the spread alpha.
    ASSERT_EQ(render({QStringLiteral("--stage"), QStringLiteral("shadow"), QStringLiteral("-o"),
                      QStringLiteral("d.tif")}).exitCode,
              0);
    const RawTiff dark = readRawTiff(path("d.tif"));
    bool someAlpha = false;
    for (std::size_t i = 0; i < dark.pixels.size(); i += 4) {
        ASSERT_EQ(dark.pixels[i] | dark.pixels[i + 1] | dark.pixels[i + 2], 0);
        someAlpha = someAlpha || dark.pixels[i + 3] != 0;
    }
    EXPECT_TRUE(someAlpha);
}

TEST_F(RenderCommandTest, StageRefusesPngAndUnknownStages)
{
    EXPECT_EQ(render({QStringLiteral("--stage"), QStringLiteral("tinted"), QStringLiteral("-o"),
                      QStringLiteral("t.png")}).exitCode, 1);
    EXPECT_EQ(render({QStringLiteral("--stage"), QStringLiteral("glaze")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("t.png")));
}

TEST_F(RenderCommandTest, BadSettingsExitWithOne)
{
    for (const char* set : {"UseRainbow=true", "UseRainbow=1", "ColorHue=12abc", "ColorHue=",
                            "SourceBugX=1.5", "SourceBugX=99999999999", "Colour=3", "SourceData=x",
                            "NoEquals", "FinalSize=nan", "ShadowXOffset=inf", "ColorHue=-Infinity",
                            "Alpha=1e39"}) {
        const RenderRun run = render({QStringLiteral("--set"), QString::fromLatin1(set)});
        EXPECT_EQ(run.exitCode, 1) << set;
        EXPECT_FALSE(run.err.isEmpty()) << set;
    }
    EXPECT_EQ(render({QStringLiteral("--preset"), QStringLiteral("teal")}).exitCode, 1);
    EXPECT_EQ(render({QStringLiteral("--bogus")}).exitCode, 1);
    EXPECT_EQ(render({QStringLiteral("a.png"), QStringLiteral("b.png")}).exitCode, 1);
    EXPECT_EQ(render({QStringLiteral("-o"), QStringLiteral("out.jpg")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("gelcoat.tiff")));
}

TEST_F(RenderCommandTest, PresetAppliesBeforeEverySetWhereverItStands)
{
    ASSERT_EQ(render({QStringLiteral("--set"), QStringLiteral("ColorSaturation=10"),
                      QStringLiteral("--preset"), QStringLiteral("blue"), QStringLiteral("--stage"),
                      QStringLiteral("tinted"), QStringLiteral("-o"), QStringLiteral("a.tif")})
                  .exitCode,
              0);
    ASSERT_EQ(render({QStringLiteral("--preset"), QStringLiteral("blue"), QStringLiteral("--set"),
                      QStringLiteral("colorSaturation=10")}).exitCode,
              1); // keys are case-sensitive
    ASSERT_EQ(render({QStringLiteral("--preset"), QStringLiteral("blue"), QStringLiteral("--set"),
                      QStringLiteral("ColorSaturation=10"), QStringLiteral("--stage"),
                      QStringLiteral("tinted"), QStringLiteral("-o"), QStringLiteral("b.tif")})
                  .exitCode,
              0);
    ASSERT_EQ(render({QStringLiteral("--preset"), QStringLiteral("blue"), QStringLiteral("--stage"),
                      QStringLiteral("tinted"), QStringLiteral("-o"), QStringLiteral("c.tif")})
                  .exitCode,
              0);
    EXPECT_EQ(read("a.tif"), read("b.tif"));
    EXPECT_NE(read("a.tif"), read("c.tif"));
}

TEST_F(RenderCommandTest, RefusedAndUnreadableInputsExitWithTwo)
{
    QFile pdf(path("drawing.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n%%EOF\n");
    pdf.close();
    RenderRun run = render({QStringLiteral("drawing.pdf")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "The image chosen is not compatible with Gelcoat.  Please see Gelcoat's help for more information.")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"drawing.pdf\": a PDF is a vector picture")))
        << run.err.toStdString();
    TIFF* pages = TIFFOpen(path("pages.tif").toLocal8Bit().constData(), "w");
    ASSERT_TRUE(pages);
    for (int page = 0; page < 2; ++page) {
        TIFFSetField(pages, TIFFTAG_IMAGEWIDTH, 1);
        TIFFSetField(pages, TIFFTAG_IMAGELENGTH, 1);
        TIFFSetField(pages, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(pages, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(pages, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        unsigned char sample = 0;
        TIFFWriteScanline(pages, &sample, 0, 0);
        TIFFWriteDirectory(pages);
    }
    TIFFClose(pages);
    run = render({QStringLiteral("pages.tif")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"pages.tif\": several pages (2)")))
        << run.err.toStdString();

    QFile broken(path("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\n garbage");
    broken.close();
    EXPECT_EQ(render({QStringLiteral("broken.png")}).exitCode, 2);
    EXPECT_EQ(render({QStringLiteral("missing.png")}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(path("gelcoat.tiff")));
}

TEST_F(RenderCommandTest, SimpleStencilIsReportedAndRendered)
{
    QImage rgb(40, 30, QImage::Format_RGB888);
    rgb.fill(Qt::white);
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 35; ++x)
            rgb.setPixel(x, y, qRgb(0, 0, 0));
    ASSERT_TRUE(rgb.save(path("mask.png")));
    const RenderRun run = render({QStringLiteral("mask.png"), QStringLiteral("--info")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_TRUE(o.value(u"simple").toBool());
    EXPECT_EQ(o.value(u"final").toArray(), (QJsonArray{20, 15}));
}

TEST_F(RenderCommandTest, FailedWritesAndRendersExitWithThreeAndLeaveNoFile)
{
    RenderRun run = render({QStringLiteral("-o"), QStringLiteral("no/such/folder/out.tiff")});
    EXPECT_EQ(run.exitCode, 3);
    QFile existing(path("keep.tiff"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("previous");
    existing.close();
    // A result too large is refused before any stage runs, stating the limit:
    // a bad option when the value came from --set.
    run = render({QStringLiteral("--set"), QStringLiteral("FinalSize=1e9"), QStringLiteral("-o"),
                  QStringLiteral("keep.tiff")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("limit of 268435456 pixels"))) << run.err.toStdString();
    EXPECT_EQ(read("keep.tiff"), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.tiff")});

    // A full disk is reported with the system's reason, and the document is
    // not left behind without its image: both or neither.
    run = render({"--stage", "source", "-o", "big.tiff", "--save-document", "d.gelcoat"}, 100000);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << run.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("keep.tiff")});
}

TEST_F(RenderCommandTest, OutputsKeepTheirNamesAndPermissions)
{
    // One file cannot be both outputs.
    EXPECT_EQ(render({"-o", "x.tiff", "--save-document", "./x.tiff"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("x.tiff")));

    // Replacing a file keeps its permission bits.
    QFile existing(path("out.tiff"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ASSERT_EQ(::chmod(QFile::encodeName(path("out.tiff")).constData(), 0640), 0);
    ASSERT_EQ(render({"-o", "out.tiff"}).exitCode, 0);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path("out.tiff")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_TRUE(readRawTiff(path("out.tiff")).ok);

    // "--" ends the options: a file may start with "-".
    QImage mask(8, 8, QImage::Format_RGB888);
    mask.fill(Qt::black);
    ASSERT_TRUE(mask.save(path("-logo.png")));
    EXPECT_EQ(render({"-logo.png"}).exitCode, 1);
    const RenderRun run = render({"-o", "logo.png", "--", "-logo.png"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(path("logo.png")).size(), QSize(4, 4));
}

TEST_F(RenderCommandTest, HostileValuesStillRender)
{
    const QStringList sets = {
        QStringLiteral("ColorHue=3e38"),          QStringLiteral("RainbowXOffset=-3e38"),
        QStringLiteral("RainbowYOffset=-1e30"),   QStringLiteral("AquaMargin=1e30"),
        QStringLiteral("ShadowSharpness=-1e30"),  QStringLiteral("ShadowXOffset=1e30"),
        QStringLiteral("ShadowYOffset=1e-45"),    QStringLiteral("Alpha=300"),
        QStringLiteral("ShadowDensity=1e30"),     QStringLiteral("Contrast=-3e38"),
        QStringLiteral("RainbowCircular=YES"),    QStringLiteral("SourceBugX=-2147483648"),
    };
    QStringList args;
    for (const QString& s : sets)
        args << QStringLiteral("--set") << s;
    const RenderRun run = render(args << QStringLiteral("-o") << QStringLiteral("h.png"));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(QImage(path("h.png")).isNull());
}

TEST(RenderOptions, SettingsParseCompletely)
{
    TintSettings s;
    QString error;
    EXPECT_TRUE(applySetting(s, QStringLiteral("UseRainbow"), QStringLiteral("no"), &error));
    EXPECT_FALSE(s.useRainbow);
    EXPECT_TRUE(applySetting(s, QStringLiteral("RainbowCircular"), QStringLiteral("Yes"), &error));
    EXPECT_TRUE(s.circularRainbow);
    EXPECT_TRUE(applySetting(s, QStringLiteral("FinalSize"), QStringLiteral("75.5"), &error));
    EXPECT_EQ(s.finalSize, 75.5f);
    EXPECT_TRUE(applySetting(s, QStringLiteral("SourceBugY"), QStringLiteral("-12"), &error));
    EXPECT_EQ(s.sourceBugY, -12);
    EXPECT_TRUE(applySetting(s, QStringLiteral("DestInteriorStyle"), QStringLiteral("4"), &error));
    EXPECT_FALSE(applySetting(s, QStringLiteral("FinalSize"), QStringLiteral(" 75"), &error));
    EXPECT_FALSE(applySetting(s, QStringLiteral("FinalSize"), QStringLiteral("75 "), &error));
    EXPECT_FALSE(applySetting(s, QStringLiteral("ArchiveVersion"), QStringLiteral("1"), &error));
}

TEST_F(RenderCommandTest, FlattenPutsTheResultOnAnOpaqueBackground)
{
    ASSERT_EQ(render({"--flatten", "black", "-o", "black.tiff"}).exitCode, 0);
    ASSERT_EQ(render({"--flatten", "none", "-o", "none.tiff"}).exitCode, 0);
    const RawTiff black = readRawTiff(path("black.tiff"));
    const RawTiff none = readRawTiff(path("none.tiff"));
    ASSERT_TRUE(black.ok && none.ok);
    bool allOpaque = true, someTransparent = false;
    for (std::size_t i = 3; i < black.pixels.size(); i += 4) {
        allOpaque &= black.pixels[i] == 255;
        someTransparent |= none.pixels[i] == 0;
        if (none.pixels[i] == 0) {
            EXPECT_EQ(black.pixels[i - 1] | black.pixels[i - 2] | black.pixels[i - 3], 0);
        }
    }
    EXPECT_TRUE(allOpaque);
    EXPECT_TRUE(someTransparent);

    EXPECT_EQ(render({"--flatten", "grey"}).exitCode, 1);
    EXPECT_EQ(render({"--flatten", "white", "--stage", "shadow", "-o", "s.tiff"}).exitCode, 1);
}

TEST_F(RenderCommandTest, BatchesRenderEveryInputIntoTheFolderAndReportTheWorst)
{
    QImage mask(12, 8, QImage::Format_RGB888);
    mask.fill(Qt::white);
    mask.setPixel(3, 3, qRgb(0, 0, 0));
    QStringList inputs;
    for (const char* name : {"a.png", "b.bmp", "c.d.png"}) {
        ASSERT_TRUE(mask.save(path(QString::fromLatin1(name))));
        inputs << QString::fromLatin1(name);
    }
    QFile broken(path("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\n garbage");
    broken.close();

    RenderRun run = render(QStringList{"-j", "2", "--info", "broken.png"} + inputs +
                           QStringList{"-o", "out/", "--format", "png"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(run.err.contains(QStringLiteral("rendered "))) << run.err.toStdString();   // no progress off a terminal
    EXPECT_TRUE(run.err.contains(QStringLiteral("broken.png")));
    QStringList written = QDir(path("out")).entryList(QDir::Files | QDir::Hidden);
    written.sort();
    EXPECT_EQ(written, (QStringList{"a.png", "b.png", "c.d.png"}));
    EXPECT_EQ(QImage(path("out/c.d.png")).size(), QSize(6, 4));
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    QStringList paths;
    for (const QString& line : lines)
        paths << QJsonDocument::fromJson(line.toUtf8()).object().value(u"path").toString();
    paths.sort();
    EXPECT_EQ(paths, inputs);

    // The same pixels as one run at a time.
    ASSERT_EQ(render({"a.png", "-o", "single.png"}).exitCode, 0);
    EXPECT_EQ(QImage(path("single.png")), QImage(path("out/a.png")));

    // Refused before any work: two inputs of one name, a document for many,
    // several inputs without a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(mask.save(path("sub/a.png")));
    EXPECT_EQ(render({"a.png", "sub/a.png", "-o", "two/"}).exitCode, 1);
    EXPECT_EQ(render({"a.png", "b.bmp", "-o", "x/", "--save-document", "d.gelcoat"}).exitCode, 1);
    EXPECT_EQ(render({"a.png", "b.bmp", "-o", "x.tiff"}).exitCode, 1);
    EXPECT_EQ(render({"a.png", "b.bmp", "-j", "0", "-o", "x/"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("two")) || QFile::exists(path("x")));

    // A full disk fails each input with the system's reason and leaves
    // nothing in the folder, however many inputs are in flight.
    run = render(inputs + QStringList{"-j", "2", "-o", "full/"}, 64);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err.count(QString::fromLocal8Bit(std::strerror(EFBIG))), inputs.size())
        << run.err.toStdString();
    EXPECT_TRUE(QDir(path("full")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
