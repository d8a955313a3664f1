// One program per user and settings folder: a later launch hands its files
// over, relative paths made absolute where they were given; a launch with
// a settings folder of its own finds nobody to hand them to; a launch that
// stopped waiting for a busy program leaves it nothing to open.

#include "app/documents/SingleInstance.h"
#include "tests/support/IsolatedSettings.h"

#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <future>

using namespace gelcoat;

namespace {

std::future<bool> startHandOver(const QStringList& files, int timeoutMs)
{
    return std::async(std::launch::async,
                      [files, timeoutMs] { return SingleInstance::handOver(files, timeoutMs); });
}

// handOver waits for the answer, which needs this thread's event loop.
bool handOverFromAnotherThread(const QStringList& files)
{
    std::future<bool> handed = startHandOver(files, 2000);
    while (handed.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return handed.get();
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void aLaterLaunchHandsItsFilesToTheRunningProgram()
    {
        test::IsolatedSettings settings("SingleInstanceTest");
        QVERIFY(!SingleInstance::handOver({}));
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy arrived(&running, &SingleInstance::filesArrived);

        QVERIFY(handOverFromAnotherThread({QStringLiteral("a.gelcoat"),
                                           QStringLiteral("/tmp/b.gelcoat")}));
        QTRY_COMPARE(arrived.size(), 1);
        QCOMPARE(arrived.first().first().toStringList(),
                 (QStringList{QDir::current().absoluteFilePath(QStringLiteral("a.gelcoat")),
                              QStringLiteral("/tmp/b.gelcoat")}));
        // A bare launch asks for an untitled window.
        QVERIFY(handOverFromAnotherThread({}));
        QTRY_COMPARE(arrived.size(), 2);
        QVERIFY(arrived.last().first().toStringList().isEmpty());

        // Another settings folder, another program.
        const QString name = SingleInstance::serverName();
        test::IsolatedSettings other("SingleInstanceTest");
        QVERIFY(SingleInstance::serverName() != name);
        QVERIFY(!handOverFromAnotherThread({QStringLiteral("c.gelcoat")}));
        QCOMPARE(arrived.size(), 2);
    }

    void aLaunchThatGaveUpLeavesTheBusyProgramNothingToOpen()
    {
        test::IsolatedSettings settings("SingleInstanceTest");
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy arrived(&running, &SingleInstance::filesArrived);

        // The running program is busy (this thread turns no events), so the
        // launch hears nothing and gives up, to open its file itself.
        QVERIFY(!startHandOver({QStringLiteral("/tmp/given-up.gelcoat")}, 200).get());
        // Free again, the program reads the request late and must not open
        // the file a second time. The next launch, which waits, is served
        // after it, once.
        QVERIFY(handOverFromAnotherThread({QStringLiteral("/tmp/next.gelcoat")}));
        QTRY_COMPARE(arrived.size(), 1);
        QCOMPARE(arrived.first().first().toStringList(),
                 QStringList{QStringLiteral("/tmp/next.gelcoat")});
        QTRY_VERIFY(running.findChildren<QLocalSocket*>().isEmpty());
        QCOMPARE(arrived.size(), 1);

        // A program busy for a while but within the launch's patience
        // answers late and opens the file once.
        std::future<bool> handed = startHandOver({QStringLiteral("/tmp/late.gelcoat")}, 30000);
        handed.wait_for(std::chrono::milliseconds(100));
        QTRY_VERIFY(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(handed.get());
        QTRY_COMPARE(arrived.size(), 2);
        QCOMPARE(arrived.last().first().toStringList(),
                 QStringList{QStringLiteral("/tmp/late.gelcoat")});
        QTRY_VERIFY(running.findChildren<QLocalSocket*>().isEmpty());
        QCOMPARE(arrived.size(), 2);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_SingleInstance.moc"
