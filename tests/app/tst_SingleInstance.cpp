// One program per user and settings folder: a later launch hands its files
// over, relative paths made absolute where they were given; a launch with
// a settings folder of its own finds nobody to hand them to.

#include "app/documents/SingleInstance.h"
#include "tests/support/IsolatedSettings.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <future>

using namespace gelcoat;

namespace {

// handOver waits for the answer, which needs this thread's event loop.
bool handOverFromAnotherThread(const QStringList& files)
{
    std::future<bool> handed = std::async(std::launch::async, [files] {
        return SingleInstance::handOver(files, 2000);
    });
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
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_SingleInstance.moc"
