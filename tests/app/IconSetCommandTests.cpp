// gelcoat-render --sizes end to end: every form of a set, batches, and the
// combinations refused before anything is read.

#include "document/icons/IconImages.h"
#include "tests/app/RenderCommandTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

using namespace gelcoat;

namespace {

std::vector<int> sizesIn(const QString& file, const char* format)
{
    QImageReader reader(file, format);
    std::vector<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        sizes.push_back(reader.read().width());
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

const QStringList kSizes = {QStringLiteral("--sizes"), QStringLiteral("16,24,32,48,64,128,256,512")};

} // namespace

TEST_F(RenderCommandTest, IconSetsTakeTheFormOfTheirOutput)
{
    RenderRun run = render(kSizes + QStringList{QStringLiteral("-o"), QStringLiteral("pngs")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const int n : {16, 24, 32, 48, 64, 128, 256, 512})
        EXPECT_EQ(QImage(path(QStringLiteral("pngs/gelcoat-%1.png").arg(n))).size(), QSize(n, n));

    run = render(kSizes + QStringList{QStringLiteral("--hicolor"), QStringLiteral("-o"),
                                      QStringLiteral("hicolor")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const int n : {16, 512})
        EXPECT_EQ(QImage(path(QStringLiteral("hicolor/%1x%1/apps/gelcoat.png").arg(n))).size(),
                  QSize(n, n));
    // The start picture is no vector drawing.
    EXPECT_FALSE(QDir(path(QStringLiteral("hicolor/scalable"))).exists());

    run = render(kSizes + QStringList{QStringLiteral("-o"), QStringLiteral("app.ico")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(sizesIn(path(QStringLiteral("app.ico")), "ico"),
              (std::vector<int>{16, 24, 32, 48, 64, 128, 256}));

    run = render(kSizes + QStringList{QStringLiteral("-o"), QStringLiteral("app.icns")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("no place for the sizes 24, 48"))) << run.err.toStdString();
    EXPECT_EQ(sizesIn(path(QStringLiteral("app.icns")), "icns"),
              (std::vector<int>{16, 32, 64, 128, 256, 512}));

    // The PNG files hold what the .ico holds: the same fitted pixels.
    QImageReader ico(path(QStringLiteral("app.ico")), "ico");
    const QImage fromIco = ico.read().convertToFormat(QImage::Format_RGBA8888);
    EXPECT_EQ(fromIco, QImage(path(QStringLiteral("pngs/gelcoat-16.png")))
                           .convertToFormat(QImage::Format_RGBA8888));
}

TEST_F(RenderCommandTest, SeveralStencilsMakeOneSetEach)
{
    QImage a(40, 20, QImage::Format_RGBA8888);
    a.fill(QColor(0, 0, 0, 255));
    ASSERT_TRUE(a.save(path(QStringLiteral("wide.png"))));
    QImage b(10, 30, QImage::Format_RGBA8888);
    b.fill(QColor(0, 0, 0, 200));
    ASSERT_TRUE(b.save(path(QStringLiteral("tall.png"))));
    const QStringList inputs = {QStringLiteral("wide.png"), QStringLiteral("tall.png")};

    RenderRun run = render(inputs + QStringList{QStringLiteral("--sizes"), QStringLiteral("32,16"),
                                                QStringLiteral("--flatten"), QStringLiteral("black"),
                                                QStringLiteral("-o"), QStringLiteral("sets/")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const char* name : {"wide", "tall"})
        for (const int n : {16, 32}) {
            const QImage icon(path(QStringLiteral("sets/%1-%2.png").arg(QLatin1String(name)).arg(n)));
            ASSERT_EQ(icon.size(), QSize(n, n)) << name;
            // Flattened: the padding is opaque black too.
            EXPECT_EQ(icon.pixelColor(0, 0), QColor(0, 0, 0)) << name;
        }

    run = render(inputs + QStringList{QStringLiteral("--sizes"), QStringLiteral("16"),
                                      QStringLiteral("--format"), QStringLiteral("ico"),
                                      QStringLiteral("-o"), QStringLiteral("icons/")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(sizesIn(path(QStringLiteral("icons/wide.ico")), "ico"), std::vector<int>{16});
    EXPECT_EQ(sizesIn(path(QStringLiteral("icons/tall.ico")), "ico"), std::vector<int>{16});
}

TEST_F(RenderCommandTest, IconSetOptionsThatCannotWorkAreRefused)
{
    const QList<QStringList> refused = {
        {QStringLiteral("--sizes"), QStringLiteral("0,16"), QStringLiteral("-o"), QStringLiteral("x")},
        {QStringLiteral("--sizes"), QStringLiteral("16")},
        {QStringLiteral("--sizes"), QStringLiteral("16"), QStringLiteral("--stage"),
         QStringLiteral("shadow"), QStringLiteral("-o"), QStringLiteral("x")},
        {QStringLiteral("--sizes"), QStringLiteral("16"), QStringLiteral("--hicolor"),
         QStringLiteral("-o"), QStringLiteral("x.ico")},
        {QStringLiteral("--sizes"), QStringLiteral("16"), QStringLiteral("--format"),
         QStringLiteral("png"), QStringLiteral("-o"), QStringLiteral("x")},
        {QStringLiteral("--hicolor"), QStringLiteral("-o"), QStringLiteral("x")},
        {QStringLiteral("--sizes"), QStringLiteral("512"), QStringLiteral("-o"), QStringLiteral("x.ico")},
    };
    for (const QStringList& args : refused) {
        const RenderRun run = render(args);
        EXPECT_GT(run.exitCode, 0) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("gelcoat-render: "))) << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}
