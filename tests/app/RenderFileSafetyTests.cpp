// gelcoat-render and the files around it: inputs never replaced by their
// outputs, links, names as bytes, signals, descriptors, and every message of
// a batch naming its input.

#include "document/intake/PictureDecoder.h"
#include "document/io/RegularFile.h"
#include "tests/app/RenderCommandTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

using namespace gelcoat;

namespace {

QByteArray stencilPng(int side)
{
    QImage image(side, side, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int y = side / 4; y < side * 3 / 4; ++y)
        for (int x = side / 4; x < side * 3 / 4; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return png;
}

bool writeNative(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

QByteArray readNative(const QByteArray& path)
{
    return readRegularFile(path, qint64(1) << 30).value_or(QByteArray());
}

// Every name in the folder, hidden ones too, sorted.
QByteArrayList entries(const QByteArray& folder)
{
    QByteArrayList names;
    if (DIR* listing = ::opendir(folder.constData())) {
        while (const dirent* entry = ::readdir(listing))
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names << QByteArray(entry->d_name);
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A picture the intake reads in full: a complete output.
bool isCompletePicture(const QByteArray& path)
{
    const QByteArray bytes = readNative(path);
    return !bytes.isEmpty() && decodePicture(bytes).has_value();
}

bool isLink(const QByteArray& path)
{
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

class RenderFileSafetyTest : public RenderCommandTest {
protected:
    // count copies of a side × side stencil, named prefix0.png, prefix1.png…
    QByteArrayList stencils(int count, int side = 16, const QByteArray& prefix = "s")
    {
        const QByteArray png = stencilPng(side);
        QByteArrayList names;
        for (int i = 0; i < count; ++i) {
            names << prefix + QByteArray::number(i) + ".png";
            EXPECT_TRUE(writeNative(nativePath(names.back()), png));
        }
        return names;
    }
    // The folder's entries must all be complete outputs of the inputs.
    void expectOnlyCompleteOutputs(const QByteArray& folder, const QByteArrayList& inputs)
    {
        for (const QByteArray& name : entries(nativePath(folder))) {
            const QByteArray input = name.chopped(name.size() - name.lastIndexOf('.')) + ".png";
            EXPECT_TRUE(inputs.contains(input)) << name.constData();
            EXPECT_TRUE(isCompletePicture(nativePath(folder + '/' + name))) << name.constData();
        }
    }
};

TEST_F(RenderFileSafetyTest, AnOutputThatIsAnInputIsRefusedBeforeAnythingIsWritten)
{
    const QByteArrayList pictures = stencils(2, 16, "p");
    ASSERT_EQ(render({"p0.png", "-o", "t.tiff"}).exitCode, 0);
    ASSERT_EQ(::link(nativePath("p0.png").constData(), nativePath("hard.png").constData()), 0);
    ASSERT_EQ(::symlink("p1.png", nativePath("soft.png").constData()), 0);
    const QByteArrayList before = entries(nativePath("."));
    const QByteArray p0 = readNative(nativePath("p0.png")), tiff = readNative(nativePath("t.tiff"));

    // The folder of the pictures as the batch's folder, in any spelling.
    RenderRun run = render({"p0.png", "p1.png", "--format", "png", "-o", "."});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral(
        "gelcoat-render: \"p0.png\": the output \"./p0.png\" is this input itself")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"p1.png\": the output")));
    run = render({"t.tiff", "p0.png", "-o", QStringLiteral("%1/./").arg(dir.path())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"t.tiff\": the output")))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("\"p0.png\": the output")));

    // One input: the same file through a hard link, a symbolic link, "./",
    // and as the document written beside the image.
    const QList<QStringList> single{{"p0.png", "-o", "p0.png"},
                                    {"p0.png", "-o", "./hard.png"},
                                    {"p1.png", "-o", "soft.png"},
                                    {"t.tiff", "--info", "-o", "t.tiff"},
                                    {"p0.png", "-o", "x.tiff", "--save-document", "hard.png"}};
    for (const QStringList& args : single) {
        run = render(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("is this input itself")))
            << run.err.toStdString();
    }
    EXPECT_EQ(entries(nativePath(".")), before);
    EXPECT_EQ(readNative(nativePath("p0.png")), p0);
    EXPECT_EQ(readNative(nativePath("t.tiff")), tiff);
    EXPECT_TRUE(isLink(nativePath("soft.png")));
}

TEST_F(RenderFileSafetyTest, ABatchNeverWritesThroughASymbolicLink)
{
    const QByteArrayList inputs = stencils(3);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
    ASSERT_TRUE(writeNative(nativePath("victim.txt"), "precious"));
    ASSERT_EQ(::symlink("../victim.txt", nativePath("out/s0.tiff").constData()), 0);
    ASSERT_EQ(::symlink("../nowhere.tiff", nativePath("out/s1.tiff").constData()), 0);

    const RenderRun run = render({"s0.png", "s1.png", "s2.png", "-j", "2", "-o", "out/"});
    EXPECT_EQ(run.exitCode, 3);
    for (const char* input : {"s0", "s1"})
        EXPECT_TRUE(run.err.contains(QStringLiteral("gelcoat-render: \"%1.png\": could not write "
                                                    "\"out/%1.tiff\": it is a symbolic link")
                                         .arg(QLatin1String(input))))
            << run.err.toStdString();
    EXPECT_EQ(readNative(nativePath("victim.txt")), QByteArray("precious"));
    EXPECT_TRUE(isLink(nativePath("out/s0.tiff")) && isLink(nativePath("out/s1.tiff")));
    EXPECT_FALSE(QFile::exists(path("nowhere.tiff")));
    EXPECT_TRUE(isCompletePicture(nativePath("out/s2.tiff")));
    EXPECT_EQ(entries(nativePath("out")), (QByteArrayList{"s0.tiff", "s1.tiff", "s2.tiff"}));
}

TEST_F(RenderFileSafetyTest, ASingleOutputFollowsItsLinkOutsideSharedFolders)
{
    stencils(1);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    ASSERT_TRUE(writeNative(nativePath("real/target.tiff"), "old"));
    ASSERT_EQ(::symlink("real/target.tiff", nativePath("link.tiff").constData()), 0);
    ASSERT_EQ(::symlink("real/made.tiff", nativePath("dangling.tiff").constData()), 0);

    RenderRun run = render({"s0.png", "-o", "link.tiff"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(isLink(nativePath("link.tiff")));
    EXPECT_TRUE(isCompletePicture(nativePath("real/target.tiff")));
    // A dangling link is treated alike: its target is made.
    run = render({"s0.png", "-o", "dangling.tiff"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(isLink(nativePath("dangling.tiff")));
    EXPECT_TRUE(isCompletePicture(nativePath("real/made.tiff")));
    EXPECT_EQ(entries(nativePath("real")), (QByteArrayList{"made.tiff", "target.tiff"}));

    // In a folder that everyone may write to (sticky, as /tmp), a link
    // planted by someone else is not followed; one's own link is.
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a link of another user's needs root";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("shared")));
    ASSERT_EQ(::chmod(nativePath("shared").constData(), 01777), 0);
    ASSERT_TRUE(writeNative(nativePath("real/target.tiff"), "old"));
    ASSERT_EQ(::symlink("../real/target.tiff", nativePath("shared/planted.tiff").constData()), 0);
    ASSERT_EQ(::lchown(nativePath("shared/planted.tiff").constData(), 4242, 4242), 0);
    ASSERT_EQ(::symlink("../real/mine.tiff", nativePath("shared/mine.tiff").constData()), 0);

    run = render({"s0.png", "-o", "shared/planted.tiff"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("could not write \"shared/planted.tiff\": it is "
                                                "a symbolic link in a folder that everyone")))
        << run.err.toStdString();
    EXPECT_EQ(readNative(nativePath("real/target.tiff")), QByteArray("old"));
    run = render({"s0.png", "--save-document", "shared/planted.tiff"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(readNative(nativePath("real/target.tiff")), QByteArray("old"));
    EXPECT_EQ(render({"s0.png", "-o", "shared/mine.tiff"}).exitCode, 0);
    EXPECT_TRUE(isCompletePicture(nativePath("real/mine.tiff")));
    EXPECT_EQ(entries(nativePath("shared")), (QByteArrayList{"mine.tiff", "planted.tiff"}));
}

TEST_F(RenderFileSafetyTest, AnOutputNameAsLongAsTheSystemAllowsIsWritten)
{
    // 240 bytes and the extension: a legal name, which a temporary name
    // built from it would make too long.
    const QByteArray stem(240, 'n');
    ASSERT_TRUE(writeNative(nativePath(stem + ".png"), stencilPng(16)));
    RenderRun run = renderBytes({stem + ".png", "-o", stem + ".tiff"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(isCompletePicture(nativePath(stem + ".tiff")));
    run = renderBytes({stem + ".png", "-o", stem + ".tiff", "--save-document", stem + ".gelcoat"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    run = renderBytes({stem + ".png", "-o", "out/"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(isCompletePicture(nativePath("out/" + stem + ".tiff")));
    EXPECT_EQ(entries(nativePath("out")), QByteArrayList{stem + ".tiff"});
}

TEST_F(RenderFileSafetyTest, TerminatingSignalsLeaveOnlyCompleteOutputs)
{
    const QByteArrayList inputs = stencils(60, 256, "m");
    const QString real = QDir(dir.path()).canonicalPath();
    // SIGKILL too: a file without a name needs no cleaning up.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        const QByteArray folder = "killed" + QByteArray::number(signal);
        SpawnedRender child(dir.path(), inputs + QByteArrayList{"-j", "64", "-o", folder + '/'});
        ASSERT_TRUE(child.started());
        // Stopped while it writes a file in the folder, the signal then
        // falls on a write in progress.
        const QByteArray writing = QFile::encodeName(real) + '/' + folder + '/';
        ASSERT_TRUE(child.stopWithOpenFile([&](const QByteArray& file) {
            return file.startsWith(writing);
        }));
        ::kill(child.pid(), signal);
        ::kill(child.pid(), SIGCONT);
        const RenderRun run = child.finish();
        EXPECT_EQ(run.signal, signal) << run.err.toStdString();
        expectOnlyCompleteOutputs(folder, inputs);
    }
}

TEST_F(RenderFileSafetyTest, AClosedPipeOrTheFileSizeLimitEndsTheRunCleanly)
{
    const QByteArrayList inputs = stencils(40, 256, "m");
    const QString real = QDir(dir.path()).canonicalPath();
    // --info … | head: the reader goes away while a file is being written,
    // so that the line of that input meets a closed pipe.
    SpawnedRender child(dir.path(), inputs + QByteArrayList{"--info", "-j", "8", "-o", "piped/"});
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.stopWithOpenFile([&](const QByteArray& file) {
        return file.startsWith(QFile::encodeName(real) + "/piped/");
    }));
    child.closeOutput();
    ::kill(child.pid(), SIGCONT);
    RenderRun run = child.finish();
    EXPECT_EQ(run.signal, SIGPIPE) << run.err.toStdString();
    expectOnlyCompleteOutputs("piped", inputs);

    // ulimit -f: the first file past the limit ends the process (SIGXFSZ).
    run = renderBytes(inputs + QByteArrayList{"-j", "4", "-o", "limited/"}, "ulimit -f 8");
    EXPECT_EQ(run.signal, SIGXFSZ) << run.err.toStdString();
    expectOnlyCompleteOutputs("limited", inputs);
}

TEST_F(RenderFileSafetyTest, NamesThatAreNotUtf8AreReadWrittenAndShown)
{
    const QByteArray png = stencilPng(16);
    ASSERT_TRUE(writeNative(nativePath("bad\xfd.png"), png));
    ASSERT_TRUE(writeNative(nativePath("bad\xfe.png"), png));

    // Two names that differ only in bytes that are not UTF-8 do not collide.
    RenderRun run =
        renderBytes({"bad\xfd.png", "bad\xfe.png", "--info", "--format", "png", "-o", "out/"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(entries(nativePath("out")), (QByteArrayList{"bad\xfd.png", "bad\xfe.png"}));
    EXPECT_TRUE(isCompletePicture(nativePath("out/bad\xfe.png")));
    QStringList shown;
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts))
        shown << QJsonDocument::fromJson(line.toUtf8()).object().value(u"path").toString();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("bad\\xfd.png"), QStringLiteral("bad\\xfe.png")}));

    run = renderBytes({"bad\xfd.png", "-o", "gel\xfd.tiff", "--save-document", "doc\xfd.gelcoat"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(isCompletePicture(nativePath("gel\xfd.tiff")));
    run = renderBytes({"doc\xfd.gelcoat", "--info"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

    // The bytes stay recognisable in messages, as a shell writes them.
    run = renderBytes({"gone\xfc\x0a.png", "bad\xfd.png", "-o", "out2/"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral(
        "gelcoat-render: \"gone\\xfc\\x0a.png\": The file gone\\xfc\\x0a.png cannot be opened")))
        << run.err.toStdString();
}

TEST_F(RenderFileSafetyTest, EveryMessageOfABatchStartsWithItsInput)
{
    stencils(1, 16, "good");
    ASSERT_TRUE(writeNative(nativePath("broken.png"), "\x89PNG\r\n\x1a\n garbage"));
    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(255);
    ASSERT_TRUE(grey.save(path("grey.png")));
    ASSERT_EQ(render({"good0.png", "--save-document", "huge.gelcoat"}).exitCode, 0);
    QByteArray huge = read("huge.gelcoat");
    const qsizetype key = huge.indexOf("<key>FinalSize</key>");
    ASSERT_GE(key, 0);
    const qsizetype value = huge.indexOf("<real>", key) + 6;
    huge.replace(value, huge.indexOf("</real>", value) - value, "1e9");
    ASSERT_TRUE(writeNative(nativePath("huge.gelcoat"), huge));
    QImage narrow(8, 8, QImage::Format_RGB888);
    narrow.fill(Qt::black);
    ASSERT_TRUE(narrow.save(path("narrow.png")));

    const QStringList inputs{"good0.png", "broken.png", "grey.png", "huge.gelcoat", "narrow.png"};
    RenderRun run = render(inputs + QStringList{"-j", "3", "--margins", "0,0,-12,0", "-o", "out/"});
    EXPECT_EQ(run.exitCode, 2);
    QStringList named;
    for (const QString& line : run.err.split(u'\n', Qt::SkipEmptyParts)) {
        // Qt's PNG reader lets libpng print its own line for the broken
        // file, outside any message of the program's.
        if (line.startsWith(u"libpng error: "))
            continue;
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^gelcoat-render: \"([^\"]+)\": ")).match(line);
        ASSERT_TRUE(match.hasMatch() && inputs.contains(match.captured(1))) << line.toStdString();
        named << match.captured(1);
    }
    for (const char* input : {"broken.png", "grey.png", "huge.gelcoat", "narrow.png"})
        EXPECT_TRUE(named.contains(QLatin1String(input))) << input << "\n" << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("\"narrow.png\": Adjust Stencil Size: The margins entered")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("\"huge.gelcoat\": the document's final size")));
}

TEST_F(RenderFileSafetyTest, FolderFailuresGiveTheReasonAndFormatsMustAgree)
{
    stencils(2);
    ASSERT_TRUE(writeNative(nativePath("plain"), "a file"));
    RenderRun run = render({"s0.png", "s1.png", "-o", "plain/sub/"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(QStringLiteral("the folder \"plain/sub/\" cannot be made: %1")
                                     .arg(QString::fromLocal8Bit(std::strerror(ENOTDIR)))))
        << run.err.toStdString();

    run = render({"s0.png", "--format", "png", "-o", "x.tiff"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("contradict"))) << run.err.toStdString();
    EXPECT_EQ(render({"s0.png", "--format", "tiff", "-o", "x.png"}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(path("x.tiff")) || QFile::exists(path("x.png")));
    // Without -o the format names the default output.
    ASSERT_EQ(render({"s0.png", "--format", "png"}).exitCode, 0);
    EXPECT_TRUE(read("gelcoat.png").startsWith("\x89PNG"));
    EXPECT_FALSE(QFile::exists(path("gelcoat.tiff")));
}

TEST_F(RenderFileSafetyTest, AnyJobCountStaysBelowTheDescriptorLimit)
{
    const QByteArrayList inputs = stencils(300, 8);
    const RenderRun run =
        renderBytes(inputs + QByteArrayList{"-j", "256", "-o", "many/"}, "ulimit -n 100");
    EXPECT_EQ(run.exitCode, 0) << run.err.left(2000).toStdString();
    EXPECT_EQ(entries(nativePath("many")).size(), 300);
}

} // namespace
