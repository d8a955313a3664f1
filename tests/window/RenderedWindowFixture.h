#pragma once
// A document window whose renders run on the document's worker, and what
// its tests hold them with and compare them to: a gate that stops the
// render before a chosen stage, and the one-shot render a script's
// document makes of the same stencil and settings.

#include "tests/support/IsolatedSettings.h"
#include "tests/window/WindowTestSupport.h"

#include "document/image/BitmapImage.h"
#include "engine/util/Parallel.h"
#include "ui_TintDocument.h"

#include <QSemaphore>
#include <QTest>

#include <atomic>
#include <cstring>
#include <memory>

namespace gelcoat::test {

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

inline bool sameBytes(const BitmapRep& a, const BitmapRep& b)
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
inline std::unique_ptr<TintDocument> oneShotRender(int side, const TintSettings& settings)
{
    auto reference = std::make_unique<TintDocument>(nullptr, TintDocument::FirstStencil::None);
    if (!takeSimpleStencil(*reference, side))
        return nullptr;
    reference->replaceSettings(settings);
    return reference;
}

// The members and setup the window's render tests share; the test class
// derives from QObject and from this, and calls openWindow() in init().
class RenderedWindowFixture {
protected:
    // A shown window on a simple stencil of 128 pixels, its first result
    // rendered.
    void openWindow()
    {
        QVERIFY(showNewWindow(window_));
        QVERIFY(takeSimpleStencil(doc(), 128));
        QTRY_VERIFY(doc().resultIsCurrent());
    }

    TintDocument& doc() { return window_->document(); }
    Ui::TintDocument& form() { return window_->form(); }
    StageCounts counts() { return doc().pipeline().stageCounts(); }

    bool matchesOneShotRender(int side)
    {
        const auto reference = oneShotRender(side, doc().settings());
        return reference && reference->pipeline().finalMixImage() && doc().finalImage() &&
               sameBytes(*reference->pipeline().finalMixImage(), *doc().finalImage());
    }

    std::unique_ptr<IsolatedSettings> settings_;
    std::unique_ptr<TintDocumentWindow> window_;
};

} // namespace gelcoat::test
