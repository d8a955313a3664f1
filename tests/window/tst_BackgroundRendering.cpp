// The window's renders on the document's worker: the latest change wins
// over renders held at a stage, every way of leaving a render stops it,
// failures take the same path as a render inside the handler, and what is
// exported is the exact result, byte for byte what a one-shot render makes.

#include "tests/window/RenderedWindowFixture.h"
#include "tests/qtsupport/Screenshot.h"

#include "document/image/BitmapImage.h"
#include "window/ExactResult.h"
#include "window/intake/StencilCommands.h"
#include "document/export/ResultExport.h"
#include "engine/buffer/EngineLog.h"
#include "engine/util/Parallel.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace gelcoat;
using gelcoat::test::drag;
using gelcoat::test::oneShotRender;
using gelcoat::test::StageGate;

namespace {

std::mutex logMutex;
std::vector<std::string> logLines;
void keepLogLine(const std::string& line)
{
    const std::lock_guard lock(logMutex);
    logLines.push_back(line);
}

} // namespace

class BackgroundRenderingTest : public QObject, protected test::RenderedWindowFixture {
    Q_OBJECT

    int delivered_ = 0;

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("RenderTests"); }

    void init()
    {
        openWindow();
        if (QTest::currentTestFailed())
            return;
        delivered_ = 0;
        connect(&doc(), &TintDocument::renderDelivered, this, [this] { ++delivered_; });
    }

    void cleanup() { window_.reset(); }

    void handlersOnlyAskForARender()
    {
        // The settings, the edit mark and the fields follow at once; the
        // picture when the worker hands it back.
        drag(form().hueSlider, 30.0f);
        QCOMPARE(doc().settings().userHue, 30.0f);
        QVERIFY(doc().isDocumentEdited());
        QCOMPARE(form().hueValueField->text(), QStringLiteral("0.300"));
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(form().destImageWell->isImageValid());
        QVERIFY(matchesOneShotRender(128));
        QCOMPARE(form().destImageWell->image().size(),
                 QSize(doc().finalImage()->pixelsWide(), doc().finalImage()->pixelsHigh()));
    }

    void latestChangeWinsOverAHeldRender()
    {
        const StageCounts before = counts();
        StageGate gate;
        gate.install(doc(), PipelineStage::composite);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        // Held after its gloss: the next changes wait, each replacing the
        // last.
        for (float hue : {20.0f, 30.0f, 40.0f})
            drag(form().hueSlider, hue);
        QVERIFY(!doc().resultIsCurrent());
        gate.release();
        QTRY_VERIFY(doc().resultIsCurrent());

        // The held render stopped before its composite and showed nothing;
        // of the three waiting changes only the last was rendered.
        QCOMPARE(delivered_, 1);
        const StageCounts after = counts();
        QCOMPARE(after.tinted - before.tinted, 2);
        QCOMPARE(after.composite - before.composite, 1);
        QCOMPARE(after.finalMix - before.finalMix, 1);
        QCOMPARE(after.analysis, before.analysis);
        QCOMPARE(after.shadow, before.shadow);
        QVERIFY(matchesOneShotRender(128));
    }

    void aStoppedRenderKeepsTheStagesItFinished()
    {
        const StageCounts before = counts();
        StageGate gate;
        gate.install(doc(), PipelineStage::composite);
        drag(form().shadowDensitySlider, 70.0f);
        QVERIFY(gate.waitUntilReached());
        drag(form().hueSlider, 25.0f);
        gate.release();
        QTRY_VERIFY(doc().resultIsCurrent());
        // The new shadow was done before the hue came: it is not redone.
        const StageCounts after = counts();
        QCOMPARE(after.shadow - before.shadow, 1);
        QCOMPARE(after.tinted - before.tinted, 1);
        QCOMPARE(after.composite - before.composite, 1);
        QCOMPARE(delivered_, 1);
        QVERIFY(matchesOneShotRender(128));
    }

    void renderingOffStopsTheRender()
    {
        const StageCounts before = counts();
        StageGate gate;
        gate.install(doc(), PipelineStage::composite);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        test::command(*window_, "toggleTinting").trigger();
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(gate.sawStop());
        QVERIFY(!form().destImageWell->isImageValid());
        QCOMPARE(counts().composite, before.composite);

        // On again: the stages left undone, and nothing else.
        test::command(*window_, "toggleTinting").trigger();
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(form().destImageWell->isImageValid());
        const StageCounts after = counts();
        QCOMPARE(after.tinted - before.tinted, 1);
        QCOMPARE(after.composite - before.composite, 1);
        QVERIFY(matchesOneShotRender(128));
    }

    void aNewStencilStopsTheRender()
    {
        StageGate gate;
        gate.install(doc(), PipelineStage::finalMix);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        QVERIFY(test::takeSimpleStencil(doc(), 96));
        QVERIFY(gate.sawStop());
        QTRY_VERIFY(doc().resultIsCurrent());
        // Nothing of the old stencil was shown.
        QCOMPARE(delivered_, 1);
        QVERIFY(matchesOneShotRender(96));
    }

    void revertStopsTheRender()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("saved.gelcoat"));
        QVERIFY(doc().saveDocumentAs(path).ok);
        const TintSettings saved = doc().settings();

        StageGate gate;
        gate.install(doc(), PipelineStage::finalMix);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        QVERIFY(doc().revertDocumentToSaved().ok);
        QVERIFY(gate.sawStop());
        QTRY_VERIFY(doc().resultIsCurrent());
        QCOMPARE(doc().settings().userHue, saved.userHue);
        QCOMPARE(form().hueSlider->floatValue(), saved.userHue);
        QCOMPARE(delivered_, 1);
        QVERIFY(matchesOneShotRender(128));
    }

    void closingStopsTheRender()
    {
        StageGate gate;
        gate.install(doc(), PipelineStage::composite);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        QPointer<TintDocument> document = &doc();
        window_.reset();
        QVERIFY(gate.sawStop());
        QVERIFY(document.isNull());
        // A result that was on its way goes with the document.
        QCoreApplication::processEvents();
        QCOMPARE(delivered_, 0);
    }

    void aFailingStageTakesTheFailurePath()
    {
        const EngineLogSink previous = setEngineLogSink(&keepLogLine);
        {
            const std::lock_guard lock(logMutex);
            logLines.clear();
        }
        doc().pipeline().failStageForTesting(PipelineStage::composite);
        const StageCounts before = counts();
        drag(form().hueSlider, 10.0f);
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(!form().destImageWell->isImageValid());
        QVERIFY(!doc().finalImageValid());
        {
            const std::lock_guard lock(logMutex);
            QVERIFY(std::find(logLines.begin(), logLines.end(), "Raise during image caching!") !=
                    logLines.end());
        }
        // The gloss before it stands; the composite is retried next time.
        QVERIFY(doc().pipeline().unscaledTintedImageValid());
        QVERIFY(!doc().pipeline().unscaledShadowedImageValid());
        QCOMPARE(counts().tinted - before.tinted, 1);

        doc().pipeline().failStageForTesting(std::nullopt);
        drag(form().saturationSlider, 100.0f);
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(form().destImageWell->isImageValid());
        QVERIFY(matchesOneShotRender(128));
        setEngineLogSink(previous);
    }

    void aLargeResultIsPreviewedThenShownExactly()
    {
        window_->resize(900, 700);
        QVERIFY(test::takeSimpleStencil(doc(), 1024));
        QTRY_VERIFY(doc().resultIsCurrent());
        int previews = 0;
        connect(&doc(), &TintDocument::previewChanged, this, [this, &previews] {
            ++previews;
            // A preview is the size of the well's room and never replaces
            // the exact result's size in the well.
            QVERIFY(doc().previewImage()->pixelsWide() < 1024);
            QCOMPARE(form().destImageWell->image().width(), doc().finalImage()->pixelsWide());
        });
        drag(form().hueSlider, 12.0f);
        drag(form().shadowDensitySlider, 80.0f);
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(previews >= 1);
        QVERIFY(!doc().previewImage());
        // The well shows the exact result, drawn from its reduced copy.
        MessageImageView* well = form().destImageWell;
        QVERIFY(doc().roomImage());
        QCOMPARE(well->standIn().width(), doc().roomImage()->pixelsWide());
        QCOMPARE(well->image().width(), doc().finalImage()->pixelsWide());
        QVERIFY(doc().roomImage()->pixelsWide() <= well->shrinkRoom().width() *
                                                      well->devicePixelRatioF());
        QVERIFY(matchesOneShotRender(1024));
        saveScreenshot(window_.get(), QStringLiteral("window-exact-after-preview"));
    }

    void anExportDuringADragIsTheExactResult()
    {
        // Changes come faster than renders finish; the export waits for the
        // last one.
        for (int step = 0; step < 12; ++step) {
            drag(form().hueSlider, 5.0f + float(step) * 3.0f);
            drag(form().shadowDensitySlider, 30.0f + float(step) * 4.0f);
        }
        QVERIFY(waitForExactResult(doc(), window_.get()));
        QVERIFY(doc().resultIsCurrent());
        const auto reference = oneShotRender(128, doc().settings());
        QVERIFY(reference && reference->pipeline().finalMixImage());
        const QByteArray exported = exportTiffData(*doc().finalImage());
        QVERIFY(!exported.isEmpty());
        QCOMPARE(exported, exportTiffData(*reference->pipeline().finalMixImage()));
    }

    // The shadow warning's command reads the clipping of the last result
    // shown, without waiting for a render still running.
    void theShadowWarningDoesNotWaitForTheWorker()
    {
        QVERIFY(test::takeSimpleStencil(doc(), 128, true));
        doc().changeSetting([](TintSettings& s) { s.shadowXOffset = 12.0f; });
        QTRY_VERIFY(doc().resultIsCurrent());
        QVERIFY(!form().shadowWarningButton->isHidden());
        const ShadowReport clip = doc().shadowWarning();
        QVERIFY(clip.right > 0);

        StageGate gate;
        gate.install(doc(), PipelineStage::composite);
        drag(form().hueSlider, 10.0f);
        QVERIFY(gate.waitUntilReached());
        // Were the command to wait, the render would end only once this
        // thread lets it go, and the worker would be found idle.
        QSemaphore answered;
        std::thread safety([&gate, &answered] {
            answered.tryAcquire(1, 5000);
            gate.release();
        });
        window_->stencilCommands().adjustSourceSizeForShadow();
        const bool stillRendering = !doc().renderWorker()->idle();
        answered.release();
        safety.join();
        QVERIFY(stillRendering);
        auto* sheet = window_->findChild<QDialog*>();
        QVERIFY(sheet);
        QCOMPARE(sheet->findChild<QLineEdit*>(QStringLiteral("rightMarginTextfield"))->text(),
                 QString::number(clip.right));
        QCOMPARE(sheet->findChild<QLineEdit*>(QStringLiteral("leftMarginTextfield"))->text(),
                 QString::number(clip.left));
        sheet->reject();
        QTRY_VERIFY(doc().resultIsCurrent());
    }
};

QTEST_MAIN(BackgroundRenderingTest)
#include "tst_BackgroundRendering.moc"
