// One program per user and settings folder: a later launch hands its files
// over, relative paths made absolute where they were given; a launch with
// a settings folder of its own finds nobody to hand them to; a launch that
// stopped waiting for a busy program leaves it nothing to open; a window
// rendering or taking a picture in keeps answering launches.

#include "app/documents/SingleInstance.h"
#include "tests/qtsupport/PixelChecks.h"
#include "tests/support/IsolatedSettings.h"

#include "window/TintDocumentWindow.h"
#include "window/commands/CommandActions.h"
#include "document/model/TintDocument.h"
#include "engine/util/Parallel.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLocalSocket>
#include <QMimeData>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

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

// Holds every render of a document at its first stage until let go or
// stopped.
class RenderHold {
public:
    explicit RenderHold(TintDocument& document)
    {
        document.pipeline().setStageHookForTesting([this](PipelineStage) {
            reached_.release();
            while (held_.load() && !cancellationRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    bool waitUntilReached() { return reached_.tryAcquire(1, 30000); }
    bool reached() { return reached_.tryAcquire(1, 0); }
    void letGo() { held_.store(false); }

private:
    std::atomic<bool> held_{true};
    QSemaphore reached_;
};

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

    // The window's renders and a picture being taken in run off the
    // interface thread, which goes on answering: each launch is served
    // while the render it came during is still held.
    void aWindowAtWorkAnswersALaunchAtOnce()
    {
        test::IsolatedSettings settings("SingleInstanceTest");
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy arrived(&running, &SingleInstance::filesArrived);
        TintDocumentWindow window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QTRY_VERIFY(window.document().resultIsCurrent());
        TintDocument& document = window.document();

        {
            RenderHold hold(document);
            document.changeSetting([](TintSettings& s) { s.userHue = 40.0f; });
            QVERIFY(hold.waitUntilReached());
            QVERIFY(handOverFromAnotherThread({QStringLiteral("/tmp/during-render.gelcoat")}));
            QTRY_COMPARE(arrived.size(), 1);
            QVERIFY(!document.renderWorker()->idle());
            hold.letGo();
            QTRY_VERIFY(document.resultIsCurrent());
        }

        // A paste waits inside its command; the launch is started and
        // answered from there, and only then is the new stencil let go.
        RenderHold hold(document);
        QImage picture(40, 30, QImage::Format_ARGB32);
        picture.fill(QColor(10, 90, 200, 150));
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), gelcoat::testing::pngBytes(picture));
        QApplication::clipboard()->setMimeData(data);
        std::future<bool> handed;
        bool heldWhenAnswered = false;
        QTimer launcher;
        QObject::connect(&launcher, &QTimer::timeout, [&] {
            if (!handed.valid()) {
                if (hold.reached())
                    handed = startHandOver({QStringLiteral("/tmp/during-intake.gelcoat")},
                                           30000);
            } else if (handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
                       !heldWhenAnswered) {
                heldWhenAnswered = !document.renderWorker()->idle();
                hold.letGo();
            }
        });
        launcher.start(5);
        window.commands().action(u"paste")->trigger();
        launcher.stop();
        QVERIFY(handed.valid());
        QVERIFY(handed.get());
        QVERIFY(heldWhenAnswered);
        QTRY_COMPARE(arrived.size(), 2);
        QCOMPARE(arrived.last().first().toStringList(),
                 QStringList{QStringLiteral("/tmp/during-intake.gelcoat")});
        QCOMPARE(document.sourceImage()->pixelsWide(), 40);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_SingleInstance.moc"
