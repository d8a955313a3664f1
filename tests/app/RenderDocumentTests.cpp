// gelcoat-render with documents and stencil commands: a saved document
// renders as the run that saved it, documents that cannot be rendered are
// refused with the reason, and --invert, --margins and --fit-shadow change
// the stencil in the order given.

#include "tests/app/RawTiff.h"
#include "tests/app/RenderCommandTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <sys/stat.h>

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
