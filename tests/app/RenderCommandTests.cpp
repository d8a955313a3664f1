// gelcoat-render end to end: the real binary, real files, exit codes.

#include "app/render/RenderOptions.h"
#include "document/intake/TiffCodec.h"
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

namespace {

// The tags and raw scanlines of a TIFF file.
struct RawTiff {
    bool ok = false;
    uint32_t width = 0, height = 0;
    uint16_t compression = 0, spp = 0, bps = 0, photometric = 0, orientation = 0;
    uint16_t extraCount = 0, extra = 99;
    std::vector<std::uint8_t> pixels;
};

RawTiff readRawTiff(const QString& file)
{
    RawTiff r;
    TIFF* tif = TIFFOpen(file.toLocal8Bit().constData(), "r");
    if (!tif)
        return r;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &r.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &r.height);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &r.compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &r.spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &r.bps);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &r.photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &r.orientation);
    uint16_t* extras = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &r.extraCount, &extras) && r.extraCount)
        r.extra = extras[0];
    r.pixels.resize(std::size_t(TIFFScanlineSize(tif)) * r.height);
    for (uint32_t y = 0; y < r.height; ++y)
        TIFFReadScanline(tif, r.pixels.data() + std::size_t(TIFFScanlineSize(tif)) * y, y);
    TIFFClose(tif);
    r.ok = true;
    return r;
}

} // namespace

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

TEST_F(RenderCommandTest, SavedDocumentRendersAsTheRunThatSavedIt)
{
    const RenderRun saved = render({"--set", "ColorHue=21.5", "--set", "SourceBugX=-4",
                                    "--set", "FinalSize=75", "--save-document", "d.gelcoat",
                                    "-o", "direct.tiff"});
    ASSERT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    ASSERT_FALSE(read("d.gelcoat").isEmpty());

    const RenderRun fromDocument = render({"d.gelcoat", "-o", "again.tiff"});
    ASSERT_EQ(fromDocument.exitCode, 0) << fromDocument.err.toStdString();
    const RawTiff direct = readRawTiff(path("direct.tiff"));
    const RawTiff again = readRawTiff(path("again.tiff"));
    ASSERT_TRUE(direct.ok && again.ok);
    EXPECT_EQ(again.width, 192u);
    EXPECT_EQ(direct.pixels, again.pixels);

    // --set and --preset change what the document brought.
    const RenderRun changed = render({"d.gelcoat", "--set", "FinalSize=25", "--info"});
    ASSERT_EQ(changed.exitCode, 0);
    EXPECT_TRUE(changed.out.contains(QStringLiteral("\"final\":[64,64]")));

    // A document alone writes no image.
    const RenderRun onlyDocument = render({"--save-document", "only.gelcoat"});
    EXPECT_EQ(onlyDocument.exitCode, 0);
    EXPECT_FALSE(QFile::exists(path("gelcoat.tiff")));
    EXPECT_TRUE(QFile::exists(path("only.gelcoat")));
}

TEST_F(RenderCommandTest, DocumentsThatCannotBeRenderedExitWithTwo)
{
    QFile missing(path("missing.gelcoat"));
    ASSERT_TRUE(missing.open(QIODevice::WriteOnly));
    missing.write("<plist><dict><key>SourceImagePath</key><string>/gone/away.png</string>"
                  "</dict></plist>");
    missing.close();
    const RenderRun run = render({"missing.gelcoat", "-o", "out.tiff"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "Open: The source image this gelcoat file is based upon, away.png, could not be found.")));
    EXPECT_FALSE(QFile::exists(path("out.tiff")));
    // The command line adds the precise reason beneath the exact alert.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.png")).constData(), 0600), 0);
    QFile piped(path("piped.gelcoat"));
    ASSERT_TRUE(piped.open(QIODevice::WriteOnly));
    piped.write("<plist><dict><key>SourceImagePath</key><string>pipe.png</string></dict></plist>");
    piped.close();
    const RenderRun fifo = render({"piped.gelcoat", "--info"});
    EXPECT_EQ(fifo.exitCode, 2);
    EXPECT_TRUE(fifo.err.contains(QStringLiteral(
        "Open: The source image this gelcoat file is based upon, pipe.png, could not be found.")));
    EXPECT_TRUE(fifo.err.contains(QStringLiteral("is a FIFO"))) << fifo.err.toStdString();

    QFile broken(path("broken.gelcoat"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<plist><dict><key>a</key>");
    broken.close();
    const RenderRun refused = render({"broken.gelcoat"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("does not appear to be in the proper format")));

    // A document asking for a result beyond the limit is refused as input.
    ASSERT_EQ(render({"--save-document", "huge.gelcoat"}).exitCode, 0);
    QByteArray huge = read("huge.gelcoat");
    huge.replace(QRegularExpression(QStringLiteral("(<key>FinalSize</key>\\s*<real>)[^<]*")).match(
                     QString::fromUtf8(huge)).captured(0).toUtf8(),
                 "<key>FinalSize</key><real>1e9");
    QFile hugeFile(path("huge.gelcoat"));
    ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly) && hugeFile.write(huge) == huge.size());
    hugeFile.close();
    const RenderRun tooLarge = render({"huge.gelcoat", "--info"});
    EXPECT_EQ(tooLarge.exitCode, 2);
    EXPECT_TRUE(tooLarge.err.contains(QStringLiteral("document's final size of 1e+09 %")))
        << tooLarge.err.toStdString();

    // A document without the extension is known by its content.
    ASSERT_TRUE(QFile::rename(path("broken.gelcoat"), path("broken.txt")));
    EXPECT_EQ(render({"broken.txt"}).exitCode, 2);
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

TEST_F(RenderCommandTest, StencilCommandsActInTheOrderGivenBeforeTheDocumentIsSaved)
{
    // A dark drawing saved as grey: the grey value is the coverage, so it
    // becomes a plate with the drawing cut out, and the command says so.
    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(255);
    grey.setPixel(2, 2, 0);
    ASSERT_TRUE(grey.save(path("grey.png")));
    RenderRun run = render({"grey.png", "--info"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("--invert may be meant")));

    auto sourceAt = [&](const QStringList& commands, int x, int y) {
        const RenderRun r = render(QStringList{"grey.png", "--stage", "source", "-o", "s.tif"} + commands);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("--invert may be meant")));
        const RawTiff t = readRawTiff(path("s.tif"));
        return t.ok ? int(t.pixels[(std::size_t(y) * t.width + std::size_t(x)) * 4 + 3]) : -1;
    };
    EXPECT_EQ(sourceAt({"--invert"}, 2, 2), 255);
    EXPECT_EQ(sourceAt({"--invert"}, 5, 5), 0);
    // Margins added before inverting are covered; added after, transparent.
    EXPECT_EQ(sourceAt({"--margins", "1,0,1,0", "--invert"}, 0, 0), 255);
    EXPECT_EQ(sourceAt({"--invert", "--margins", "1,0,1,0"}, 0, 0), 0);
    EXPECT_EQ(sourceAt({"--invert", "--margins", "1,0,1,0"}, 3, 3), 255);

    // The saved document holds the stencil the commands made.
    ASSERT_EQ(render({"grey.png", "--invert", "--margins", "2,-1,0,3", "--save-document", "g.gelcoat"}).exitCode, 0);
    run = render({"g.gelcoat", "--info"});
    EXPECT_TRUE(run.out.contains(QStringLiteral("\"source\":[23,11]"))) << run.out.toStdString();

    run = render({"grey.png", "--margins", "0,0,-20,0"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "The margins entered would completely obliterate the existing stencil, so the size "
        "adjustment will not be performed.")));
    EXPECT_EQ(render({"--margins", "1,2,3"}).exitCode, 1);
}

TEST_F(RenderCommandTest, FitShadowGrowsTheStencilByTheClippedAmounts)
{
    const QStringList shadow{"--set", "ShadowYOffset=-40", "--set", "ShadowXOffset=30", "--info"};
    RenderRun run = render(shadow);
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject clipped = QJsonDocument::fromJson(run.out.toUtf8()).object();
    ASSERT_TRUE(clipped.value(u"warn").toBool());
    run = render(shadow + QStringList{"--fit-shadow"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject fitted = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_FALSE(fitted.value(u"warn").toBool());
    EXPECT_EQ(fitted.value(u"source").toArray(),
              (QJsonArray{256 + clipped.value(u"left").toInt() + clipped.value(u"right").toInt(),
                          256 + clipped.value(u"top").toInt() + clipped.value(u"bottom").toInt()}));
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
