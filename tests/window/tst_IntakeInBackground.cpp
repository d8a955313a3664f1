// Stencils taken in while the window runs: a pasted picture is decoded off
// the interface thread and its stages made by the document's worker, with
// the progress panel after the threshold, and an intake stopped at any
// point leaves the document as it was.

#include "tests/qtsupport/PixelChecks.h"
#include "tests/window/RenderedWindowFixture.h"

#include "shared/KPPanel.h"
#include "window/intake/PictureIntake.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSemaphore>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace gelcoat;
using gelcoat::test::sameBytes;
using gelcoat::test::StageGate;

namespace {

// A colour picture with alpha, as a picture file's bytes.
QByteArray colourPng(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 10, 180));
    return testing::pngBytes(image);
}

// Calls act once when ready() holds, checking on a timer: an intake waits
// inside the command that started it, and only timers reach the test.
class WhenReady : public QObject {
public:
    WhenReady(std::function<bool()> ready, std::function<void()> act)
        : ready_(std::move(ready)), act_(std::move(act))
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            ++ticks;
            if (!done && ready_()) {
                done = true;
                act_();
            }
        });
        timer_.start(5);
    }
    int ticks = 0;
    bool done = false;

private:
    std::function<bool()> ready_;
    std::function<void()> act_;
    QTimer timer_;
};

} // namespace

class IntakeInBackgroundTest : public QObject, protected test::RenderedWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        settings_ = std::make_unique<test::IsolatedSettings>("IntakeInBackground");
    }

    void init() { openWindow(); }

    void cleanup() { window_.reset(); }

    KPPanel* intakePanel()
    {
        for (KPPanel* panel : window_->findChildren<KPPanel*>())
            if (panel->isVisible())
                return panel;
        return nullptr;
    }

    // A pasted picture is decoded off the interface thread and its stages
    // are made by the worker; the window goes on handling events
    // meanwhile, and after the threshold shows the progress panel.
    void aPastedPictureIsTakenInWhileTheWindowRuns()
    {
        doc().clearChangeCount();
        StageGate gate;
        gate.install(doc(), PipelineStage::sourceBitmap);
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), colourPng(90, 70));
        QApplication::clipboard()->setMimeData(data);
        bool panelShown = false;
        WhenReady watch([this] { return intakePanel() != nullptr; },
                        [&] {
                            panelShown = true;
                            QStringList texts;
                            for (QLabel* label : intakePanel()->findChildren<QLabel*>())
                                texts.append(label->text());
                            QVERIFY(texts.contains(intakeProgressTitle()));
                            QVERIFY(texts.contains(intakeRenderingMessage()));
                            gate.release();
                        });
        test::command(*window_, "paste").trigger();
        QVERIFY(panelShown);
        QVERIFY(watch.ticks > 10);
        QVERIFY(!gate.sawStop());
        QVERIFY(!intakePanel());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 90);
        QVERIFY(!doc().sourceImageIsSimple());
        QVERIFY(doc().isDocumentEdited());
        QVERIFY(doc().resultIsCurrent());
        // The well shows the new stencil, from the copy made beside it.
        QCOMPARE(form().sourceImageWell->image(), imageFromBitmap(*doc().sourceImage()));
        QVERIFY(form().destImageWell->isImageValid());
    }

    // Stop while the new stencil's stages are held: the picture is given
    // up, and the stencil, its bug, the edit mark and the result are the
    // ones from before.
    void aStoppedIntakeKeepsThePreviousStencil()
    {
        doc().changeSetting([](TintSettings& s) {
            s.sourceBugX = 7;
            s.sourceBugY = -5;
            s.userHue = 33.0f;
        });
        QTRY_VERIFY(doc().resultIsCurrent());
        doc().clearChangeCount();
        const TintSettings before = doc().settings();
        const auto stencilBefore = doc().sourceImage()->clone();
        QVERIFY(stencilBefore);
        const StageCounts countsBefore = counts();

        StageGate gate;
        gate.install(doc(), PipelineStage::analysis);
        auto* data = new QMimeData;
        data->setData(QStringLiteral("image/png"), colourPng(60, 60));
        QApplication::clipboard()->setMimeData(data);
        WhenReady stop([this] { return intakePanel() != nullptr; },
                       [this] {
                           intakePanel()->findChild<QPushButton*>()->click();
                       });
        test::command(*window_, "paste").trigger();
        QVERIFY(stop.done);
        QVERIFY(gate.sawStop());
        QVERIFY(!intakePanel());
        QVERIFY(sameBytes(*doc().sourceImage(), *stencilBefore));
        QVERIFY(doc().sourceImageIsSimple());
        QVERIFY(doc().settings() == before);
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(form().sourceImageWell->image().size(), QSize(128, 128));
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(form().destImageWell->isImageValid());
        QVERIFY(matchesOneShotRender(128));
        // The new picture's bitmap was begun; the old stencil's stages are
        // made again from the start.
        QCOMPARE(counts().sourceBitmap - countsBefore.sourceBitmap, 2);
    }

    // Stopped while the picture is still being decoded: nothing reaches
    // the document at all.
    void anIntakeStoppedWhileDecodingChangesNothing()
    {
        doc().clearChangeCount();
        const StageCounts countsBefore = counts();
        // Shared with the decoding thread, which outlives the intake.
        const auto decodeHeld = std::make_shared<QSemaphore>();
        const auto decodeFree = std::make_shared<QSemaphore>();
        WhenReady stop([this, decodeHeld] {
                           return decodeHeld->available() > 0 && intakePanel() != nullptr;
                       },
                       [this] { intakePanel()->findChild<QPushButton*>()->click(); });
        const IntakeOutcome outcome = takeInPicture(
            doc(), window_.get(),
            [decodeHeld, decodeFree](QString*) -> std::optional<SourcePicture> {
                decodeHeld->release();
                decodeFree->acquire();
                return std::nullopt;
            },
            QString());
        decodeFree->release();
        QVERIFY(outcome == IntakeOutcome::Stopped);
        QVERIFY(!doc().isDocumentEdited());
        QCOMPARE(doc().sourceImage()->pixelsWide(), 128);
        QVERIFY(counts() == countsBefore);
    }
};

QTEST_MAIN(IntakeInBackgroundTest)
#include "tst_IntakeInBackground.moc"
