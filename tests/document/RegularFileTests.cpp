// Writing whole files: complete or not at all, with or without O_TMPFILE,
// and file names shown with their bytes.

#include "document/io/PrintablePath.h"
#include "document/io/RegularFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <memory>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace gelcoat;

namespace {

QStringList allEntries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot, QDir::Name);
}

// Both ways of writing: a file without a name, and the named fallback of
// file systems that have none.
class PendingFileTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setAnonymousTemporaryFilesEnabled(GetParam());
    }
    void TearDown() override { setAnonymousTemporaryFilesEnabled(true); }
    QByteArray path(const char* name) const { return QFile::encodeName(dir.filePath(name)); }
    QByteArray contents(const char* name) const
    {
        return readRegularFile(path(name), 1 << 20).value_or("(missing)");
    }

    QTemporaryDir dir;
};

TEST_P(PendingFileTest, ContentsAppearOnlyOnCommitAndNothingElseRemains)
{
    {
        PendingFile fresh(path("new.txt"));
        ASSERT_TRUE(fresh.write("first", nullptr, PendingFile::Flush::InCommit));
        EXPECT_FALSE(QFile::exists(dir.filePath("new.txt")));
        ASSERT_TRUE(fresh.commit());
    }
    EXPECT_EQ(contents("new.txt"), "first");
    ASSERT_EQ(::chmod(path("new.txt").constData(), 0604), 0);
    {
        PendingFile replacing(path("new.txt"));
        ASSERT_TRUE(replacing.write("second"));
        EXPECT_EQ(contents("new.txt"), "first");
        ASSERT_TRUE(replacing.commit());
    }
    EXPECT_EQ(contents("new.txt"), "second");
    struct stat info {};
    ASSERT_EQ(::stat(path("new.txt").constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    {
        PendingFile abandoned(path("new.txt"));
        ASSERT_TRUE(abandoned.write("third"));
    }
    EXPECT_EQ(contents("new.txt"), "second");
    EXPECT_EQ(allEntries(dir), QStringList{QStringLiteral("new.txt")});

    QString error;
    PendingFile missingFolder(path("no/such/file.txt"));
    EXPECT_FALSE(missingFolder.write("x", &error));
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_FALSE(missingFolder.commit());
}

TEST_P(PendingFileTest, RefusedLinksStayAsTheyAre)
{
    ASSERT_TRUE(writeFileAtomically(dir.filePath("target.txt"), "kept"));
    ASSERT_EQ(::symlink("target.txt", path("link.txt").constData()), 0);
    PendingFile refused(path("link.txt"), LinkPolicy::Refuse);
    QString error;
    EXPECT_FALSE(refused.write("new", &error));
    EXPECT_EQ(error, symbolicLinkRefusal());
    // A link planted between the write and the commit is refused too.
    PendingFile planted(path("late.txt"), LinkPolicy::Refuse);
    ASSERT_TRUE(planted.write("new"));
    ASSERT_EQ(::symlink("target.txt", path("late.txt").constData()), 0);
    EXPECT_FALSE(planted.commit(&error));
    EXPECT_EQ(contents("target.txt"), "kept");
    EXPECT_EQ(allEntries(dir), (QStringList{"late.txt", "link.txt", "target.txt"}));
}

INSTANTIATE_TEST_SUITE_P(AnonymousOrNamed, PendingFileTest, ::testing::Bool());

// A terminating signal removes every named temporary, however many are in
// progress: a child process writes 200 and is then ended.
TEST(PendingFileSignals, EveryNamedTemporaryIsRemovedWhenASignalEndsTheProcess)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        std::signal(SIGTERM, SIG_DFL);
        setAnonymousTemporaryFilesEnabled(false);
        removeFilesInProgressOnTermination();
        std::vector<std::unique_ptr<PendingFile>> files;
        for (int i = 0; i < 200; ++i) {
            files.push_back(std::make_unique<PendingFile>(
                QFile::encodeName(dir.filePath(QStringLiteral("out%1.tiff").arg(i)))));
            if (!files.back()->write("partial", nullptr, PendingFile::Flush::InCommit))
                ::_exit(2);
        }
        if (::write(ready[1], "r", 1) != 1)
            ::_exit(3);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);   // every temporary exists
    ::close(ready[0]);
    EXPECT_EQ(allEntries(dir).size(), 200);
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_EQ(allEntries(dir), QStringList());
}

TEST(PrintablePath, BytesThatAreNotTextStayRecognisableAndDistinct)
{
    EXPECT_EQ(printablePath("plain/name.png"), QStringLiteral("plain/name.png"));
    EXPECT_EQ(printablePath("caf\xc3\xa9 \xe2\x9c\x93.png"), QStringLiteral("café ✓.png"));
    EXPECT_EQ(printablePath("bad\xfd.png"), QStringLiteral("bad\\xfd.png"));
    EXPECT_NE(printablePath("bad\xfd"), printablePath("bad\xfe"));
    // A cut sequence, an overlong slash, a surrogate, a code point past
    // U+10FFFF: each byte escaped, the text around them kept.
    EXPECT_EQ(printablePath("a\xc3"), QStringLiteral("a\\xc3"));
    EXPECT_EQ(printablePath("\xe2\x9c."), QStringLiteral("\\xe2\\x9c."));
    EXPECT_EQ(printablePath("\xc0\xaf"), QStringLiteral("\\xc0\\xaf"));
    EXPECT_EQ(printablePath("\xed\xa0\x80z"), QStringLiteral("\\xed\\xa0\\x80z"));
    EXPECT_EQ(printablePath("\xf4\x90\x80\x80"), QStringLiteral("\\xf4\\x90\\x80\\x80"));
    // Control characters cannot forge a line of their own.
    EXPECT_EQ(printablePath("a\nb\x7f\xc2\x85"), QStringLiteral("a\\x0ab\\x7f\\xc2\\x85"));
    // The last of the C1 controls, then the first character after them.
    EXPECT_EQ(printablePath("\xc2\x9f\xc2\xa0"), QStringLiteral("\\xc2\\x9f\u00a0"));
}

} // namespace
