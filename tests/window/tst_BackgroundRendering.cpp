// The window's renders on the document's worker: the latest change wins
// over renders held at a stage, every way of leaving a render stops it,
// failures take the same path as a render inside the handler, and what is
// exported is the exact result, byte for byte what a one-shot render makes.

#include "tests/window/WindowTestSupport.h"
#include "tests/support/IsolatedSettings.h"
#include "tests/qtsupport/Screenshot.h"

#include "document/image/BitmapImage.h"
#include "window/ExactResult.h"
#include "window/intake/PictureIntake.h"
#include "window/intake/StencilCommands.h"
#include "shared/KPPanel.h"
#include "document/export/ResultExport.h"
#include "engine/buffer/EngineLog.h"
#include "engine/util/Parallel.h"
#include "ui_TintDocument.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QLabel>
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

namespace {

// Holds the worker's render once, just before a chosen stage, until the
// test releases it or the render is asked to stop.
class StageGate {
public:
    void install(TintDocument& document, PipelineStage at)
    {
        document.pipeline().setStageHookForTesting([this, at](PipelineStage stage) {
            if (stage != at || used_.exchange(true))
                return;
            reached_.release();
            while (!released_.tryAcquire(1, 5)) {
                if (cancellationRequested()) {
                    sawStop_ = true;
                    return;
                }
            }
        });
    }
    bool waitUntilReached() { return reached_.tryAcquire(1, 30000); }
    void release() { released_.release(); }
    bool sawStop() const { return sawStop_; }

private:
    std::atomic<bool> used_{false};
    std::atomic<bool> sawStop_{false};
    QSemaphore reached_;
    QSemaphore released_;
};

bool sameBytes(const BitmapRep& a, const BitmapRep& b)
{
    if (a.pixelsWide() != b.pixelsWide() || a.pixelsHigh() != b.pixelsHigh())
        return false;
    const std::size_t rowBytes = std::size_t(a.pixelsWide()) * 4;
    for (int y = 0; y < a.pixelsHigh(); ++y)
        if (std::memcmp(a.row(y), b.row(y), rowBytes) != 0)
            return false;
    return true;
}

// The one-shot render of a stencil made by takeSimpleStencil: what a
// script's document gives for the same picture and settings.
std::unique_ptr<TintDocument> oneShotRender(int side, const TintSettings& settings)
{
    auto reference = std::make_unique<TintDocument>(nullptr, TintDocument::FirstStencil::None);
    if (!test::takeSimpleStencil(*reference, side))
        return nullptr;
    reference->replaceSettings(settings);
    return reference;
}

std::mutex logMutex;
std::vector<std::string> logLines;
void keepLogLine(const std::string& line)
{
    const std::lock_guard lock(logMutex);
    logLines.push_back(line);
}

// A colour picture with alpha, as a picture file's bytes.
QByteArray colourPng(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 10, 180));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
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

class BackgroundRenderingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
    int delivered_ = 0;

    TintDocument& doc() { return window_->document(); }
    Ui::TintDocument& form() { return window_->form(); }
    StageCounts counts() { return doc().pipeline().stageCounts(); }

    bool matchesOneShotRender(int side)
    {
        const auto reference = oneShotRender(side, doc().settings());
        return reference && reference->pipeline().finalMixImage() && doc().finalImage() &&
               sameBytes(*reference->pipeline().finalMixImage(), *doc().finalImage());
    }

private slots:
    void initTestCase() { settings_ = std::make_unique<test::IsolatedSettings>("RenderTests"); }

    void init()
    {
        window_ = std::make_unique<TintDocumentWindow>();
        window_->setAttribute(Qt::WA_DeleteOnClose, false);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QVERIFY(test::takeSimpleStencil(doc(), 128));
        QTRY_VERIFY(doc().resultIsCurrent());
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
