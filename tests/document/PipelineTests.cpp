#include "engine/draw/Draw.h"
#include "document/pipeline/RenderPipeline.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <limits>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

struct RecordingDestination : PipelineDestination {
    int images = 0;
    std::vector<bool> validity;
    std::vector<bool> warnings;
    void setImage(const BitmapRep&) override { ++images; }
    void setImageValid(bool valid) override { validity.push_back(valid); }
    void setShadowWarningShown(bool shown) override { warnings.push_back(shown); }
};

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useSyntheticBase();
        pipeline.setDestination(&dest);
    }

    PipelineInput input() { return {&source, false, &settings}; }
    void remake(bool src, bool tint, bool shadow, bool size)
    {
        pipeline.remakeGelcoatWithChanges(input(), {src, tint, shadow, size});
    }
    StageCounts countsAfter(const std::function<void()>& change)
    {
        const StageCounts before = pipeline.stageCounts();
        change();
        const StageCounts after = pipeline.stageCounts();
        return {after.sourceBitmap - before.sourceBitmap, after.analysis - before.analysis,
                after.tinted - before.tinted,             after.shadow - before.shadow,
                after.composite - before.composite,       after.finalMix - before.finalMix};
    }

    BitmapRep source = randomShapes(101, 33, 21);
    TintSettings settings;
    RecordingDestination dest;
    RenderPipeline pipeline;
};

} // namespace

TEST(FinalPixelSize, RoundsHalvesUpAndNeverGoesBelowOne)
{
    EXPECT_EQ(RenderPipeline::finalPixelSize(101, 33, 50), std::make_pair(51, 17));
    EXPECT_EQ(RenderPipeline::finalPixelSize(101, 33, 0), std::make_pair(1, 1));
    EXPECT_EQ(RenderPipeline::finalPixelSize(101, 33, -20), std::make_pair(1, 1));
    EXPECT_EQ(RenderPipeline::finalPixelSize(10, 10, std::numeric_limits<float>::quiet_NaN()),
              std::make_pair(1, 1));
    EXPECT_FALSE(RenderPipeline::finalPixelSize(1000, 1000, 1e9f));
    EXPECT_FALSE(RenderPipeline::finalPixelSize(10, 10, std::numeric_limits<float>::infinity()));
}

TEST_F(PipelineTest, EachChangeRecomputesOnlyItsStages)
{
    EXPECT_EQ(countsAfter([&] { remake(true, true, true, true); }),
              (StageCounts{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(countsAfter([&] { remake(false, false, false, false); }), StageCounts{});
    EXPECT_EQ(countsAfter([&] { remake(false, true, false, false); }),
              (StageCounts{0, 0, 1, 0, 1, 1}));
    EXPECT_EQ(countsAfter([&] { remake(false, false, true, false); }),
              (StageCounts{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(countsAfter([&] { remake(false, false, false, true); }),
              (StageCounts{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(countsAfter([&] { remake(true, false, false, false); }),
              (StageCounts{1, 1, 1, 1, 1, 1}));
}

TEST_F(PipelineTest, FinalImageIsTheCompositeAtTheFinalSize)
{
    settings.finalSize = 100;
    remake(true, true, true, true);
    ASSERT_TRUE(pipeline.finalMixImageValid());
    EXPECT_TRUE(pipeline.finalMixImage()->samePixels(*pipeline.unscaledShadowedImage()));
    settings.finalSize = 50;
    remake(false, false, false, true);
    EXPECT_EQ(pipeline.finalMixImage()->pixelsWide(), 51);
    EXPECT_EQ(pipeline.finalMixImage()->pixelsHigh(), 17);
    BitmapRep expected = makeBuffer(51, 17);
    resamplePixels(*pipeline.unscaledShadowedImage(), expected);
    EXPECT_TRUE(pipeline.finalMixImage()->samePixels(expected));
}

// A one-shot render keeps only the result and the shadow report; a later
// change still renders correctly, every stage being made again.
TEST_F(PipelineTest, DroppingStageImagesKeepsTheResult)
{
    settings.shadowYOffset = -30;
    remake(true, true, true, true);
    const std::optional<BitmapRep> kept = pipeline.finalMixImage()->clone();
    const ShadowReport report = pipeline.shadowWarning();

    RenderPipeline oneShot;
    oneShot.setKeepsStageImages(false);
    oneShot.remakeGelcoatWithChanges(input(), PipelineChanges::all());
    ASSERT_TRUE(oneShot.finalMixImageValid() && kept);
    EXPECT_TRUE(oneShot.finalMixImage()->samePixels(*kept));
    EXPECT_TRUE(oneShot.shadowWarning().needsWarning && report.needsWarning);
    EXPECT_EQ(oneShot.shadowWarning().bottom, report.bottom);
    EXPECT_FALSE(oneShot.sourceImageBitmap() || oneShot.sourceAnalysis() || oneShot.shadowImage() ||
                 oneShot.unscaledTintedImage());

    settings.userHue = 30;
    remake(false, true, false, false);
    oneShot.remakeGelcoatWithChanges(input(), {.tint = true});
    ASSERT_TRUE(oneShot.finalMixImageValid());
    EXPECT_TRUE(oneShot.finalMixImage()->samePixels(*pipeline.finalMixImage()));

    // Without a shadow the tinted image itself is the composite.
    settings.shadowDensity = 0.0f;
    remake(false, false, true, false);
    oneShot.remakeGelcoatWithChanges(input(), {.shadow = true});
    ASSERT_TRUE(oneShot.finalMixImageValid());
    EXPECT_TRUE(oneShot.finalMixImage()->samePixels(*pipeline.finalMixImage()));
}

TEST_F(PipelineTest, CompositeIsTheTintedImageOverItsShadow)
{
    remake(true, true, true, true);
    BitmapRep expected = std::move(*pipeline.shadowImage()->clone());
    compositeSourceOver(*pipeline.unscaledTintedImage(), expected);
    EXPECT_TRUE(pipeline.unscaledShadowedImage()->samePixels(expected));
}

TEST_F(PipelineTest, SwitchingOffAndOnRecomputesOnlyTheFinalMix)
{
    remake(true, true, true, true);
    dest.validity.clear();
    EXPECT_EQ(countsAfter([&] { pipeline.toggleTinting(input()); }), StageCounts{});
    EXPECT_FALSE(pipeline.gelcoatOn());
    EXPECT_EQ(dest.validity, std::vector<bool>{false});
    EXPECT_EQ(countsAfter([&] { pipeline.gelcoatChanged(input(), true); }),
              (StageCounts{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(dest.validity, (std::vector<bool>{false, true}));
    // The same state again does nothing at all.
    EXPECT_EQ(countsAfter([&] { pipeline.gelcoatChanged(input(), true); }), StageCounts{});
    EXPECT_EQ(dest.validity.size(), 2u);
}

TEST_F(PipelineTest, ChangesWhileOffAreRenderedWhenSwitchedOn)
{
    remake(true, true, true, true);
    pipeline.toggleTinting(input());
    EXPECT_EQ(countsAfter([&] { remake(false, true, false, false); }), StageCounts{});
    EXPECT_EQ(countsAfter([&] { pipeline.toggleTinting(input()); }),
              (StageCounts{0, 0, 1, 0, 1, 1}));
}

TEST_F(PipelineTest, SourceChangeWhileOffFreesTheCaches)
{
    remake(true, true, true, true);
    pipeline.toggleTinting(input());
    remake(true, false, false, false);
    EXPECT_FALSE(pipeline.sourceImageBitmap());
    EXPECT_FALSE(pipeline.sourceAnalysis());
    EXPECT_FALSE(pipeline.unscaledShadowedImage());
    EXPECT_TRUE(pipeline.finalMixImage()); // kept until the next final mix
    EXPECT_TRUE(pipeline.finalMixImageNeedsRealloc());
    EXPECT_EQ(countsAfter([&] { pipeline.toggleTinting(input()); }),
              (StageCounts{1, 1, 1, 1, 1, 1}));
    EXPECT_FALSE(pipeline.finalMixImageNeedsRealloc());
}

TEST_F(PipelineTest, ZeroDensityMeansNoShadow)
{
    settings.shadowDensity = 0;
    EXPECT_EQ(countsAfter([&] { remake(true, true, true, true); }).shadow, 0);
    EXPECT_FALSE(pipeline.shadowNeedsWarning());
    EXPECT_FALSE(pipeline.shadowHasWarning());
    EXPECT_TRUE(pipeline.unscaledShadowedImage()->samePixels(*pipeline.unscaledTintedImage()));
}

TEST_F(PipelineTest, ClippedShadowWarnsOnlyWhileOn)
{
    source = makeBuffer(40, 40, [](int x, int y) { return (x < 30 && y < 30) ? 0xFFu : 0u; });
    remake(true, true, true, true);
    EXPECT_TRUE(pipeline.shadowNeedsWarning());
    EXPECT_TRUE(pipeline.shadowHasWarning());
    EXPECT_EQ(dest.warnings, std::vector<bool>{true});
    // Radius 4 and the default offset of 5 pixels down: only the left edge clips.
    EXPECT_EQ(pipeline.shadowWarning().left, 4);
    EXPECT_EQ(pipeline.shadowWarning().top, 0);
    pipeline.toggleTinting(input());
    EXPECT_EQ(dest.warnings, (std::vector<bool>{true, false}));
    EXPECT_EQ(countsAfter([&] { pipeline.toggleTinting(input()); }).shadow, 0);
    EXPECT_EQ(dest.warnings, (std::vector<bool>{true, false, true}));
}

TEST_F(PipelineTest, OversizedResultFailsCleanlyAndKeepsEarlierStages)
{
    LogCapture log;
    remake(true, true, true, true);
    settings.finalSize = 1e9f;
    const StageCounts before = pipeline.stageCounts();
    remake(false, true, false, true);
    EXPECT_FALSE(pipeline.lastFailure().empty());
    EXPECT_FALSE(pipeline.finalMixImageValid());
    // The stages before the failing one still ran and stay valid.
    EXPECT_EQ(pipeline.stageCounts().tinted, before.tinted + 1);
    EXPECT_EQ(pipeline.stageCounts().composite, before.composite + 1);
    EXPECT_TRUE(pipeline.unscaledShadowedImageValid());
    EXPECT_EQ(dest.validity.back(), false);
    ASSERT_FALSE(log.lines().empty());
    EXPECT_EQ(log.lines().back(), "Raise during image caching!");
    settings.finalSize = 50;
    remake(false, false, false, true);
    EXPECT_TRUE(pipeline.finalMixImageValid());
    EXPECT_TRUE(pipeline.lastFailure().empty());
}

// Every stage that cannot run stops the remake the same way: the reason is
// kept and logged, the stages before it stay valid, it and every later stage
// stay invalid, and the next remake retries it.
TEST_F(PipelineTest, AFailingStageStopsTheRemakeAndIsRetried)
{
    struct Case {
        PipelineStage stage;
        bool (RenderPipeline::*validAfter)() const; // the first stage left invalid
    };
    const Case cases[] = {
        {PipelineStage::sourceBitmap, &RenderPipeline::sourceAnalysisValid},
        {PipelineStage::analysis, &RenderPipeline::sourceAnalysisValid},
        {PipelineStage::tinted, &RenderPipeline::unscaledTintedImageValid},
        {PipelineStage::shadow, &RenderPipeline::shadowImageValid},
        {PipelineStage::composite, &RenderPipeline::unscaledShadowedImageValid},
        {PipelineStage::finalMix, &RenderPipeline::finalMixImageValid},
    };
    remake(true, true, true, true);
    const BitmapRep& expected = *pipeline.finalMixImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.stage));
        RenderPipeline fresh;
        RecordingDestination seen;
        fresh.setDestination(&seen);
        LogCapture log;
        fresh.failStageForTesting(c.stage);
        fresh.remakeGelcoatWithChanges(input(), PipelineChanges::all());
        EXPECT_FALSE(fresh.lastFailure().empty());
        ASSERT_FALSE(log.lines().empty());
        EXPECT_EQ(log.lines().back(), "Raise during image caching!");
        EXPECT_FALSE((fresh.*c.validAfter)());
        EXPECT_FALSE(fresh.finalMixImageValid());
        EXPECT_FALSE(fresh.finalMixImage());
        EXPECT_EQ(seen.validity, std::vector<bool>{false});
        // Stages are ordered; a later one never ran.
        if (c.stage < PipelineStage::finalMix) {
            EXPECT_EQ(fresh.stageCounts().finalMix, 0);
        }
        if (c.stage > PipelineStage::analysis) {
            EXPECT_TRUE(fresh.sourceAnalysisValid());
        }

        fresh.failStageForTesting(std::nullopt);
        fresh.remakeGelcoatWithChanges(input(), {});
        EXPECT_TRUE(fresh.lastFailure().empty());
        EXPECT_TRUE(fresh.finalMixImageValid());
        EXPECT_TRUE(fresh.finalMixImage()->samePixels(expected));
    }
}

TEST(PipelineChangesBetween, NameOnlyTheStagesADifferenceTouches)
{
    const TintSettings base;
    auto changes = [&](auto edit) {
        TintSettings next = base;
        edit(next);
        return changesBetween(base, next);
    };
    EXPECT_EQ(changes([](TintSettings&) {}), PipelineChanges{});
    EXPECT_EQ(changes([](TintSettings& s) { s.userHue = 60; }), PipelineChanges{.tint = true});
    EXPECT_EQ(changes([](TintSettings& s) { s.rainbowYOffset = 0; }), PipelineChanges{.tint = true});
    EXPECT_EQ(changes([](TintSettings& s) { s.shadowXOffset = 3; }), PipelineChanges{.shadow = true});
    EXPECT_EQ(changes([](TintSettings& s) { s.finalSize = 51; }), PipelineChanges{.finalSize = true});
    EXPECT_EQ(changes([](TintSettings& s) { s.destInteriorStyle = 0; }), PipelineChanges{});
    // The bug centres the rainbow: without one it changes nothing drawn.
    EXPECT_EQ(changes([](TintSettings& s) { s.sourceBugX = 4; }), PipelineChanges{.tint = true});
    TintSettings noRainbow = base;
    noRainbow.useRainbow = false;
    TintSettings moved = noRainbow;
    moved.sourceBugY = 9;
    EXPECT_EQ(changesBetween(noRainbow, moved), PipelineChanges{});
    EXPECT_TRUE(documentSettingsDiffer(noRainbow, moved));
    // Sharpness matters only while there is a shadow to sharpen.
    TintSettings noShadow = base;
    noShadow.shadowDensity = 0;
    TintSettings sharper = noShadow;
    sharper.shadowSharpness = 10;
    EXPECT_EQ(changesBetween(noShadow, sharper), PipelineChanges{});
    sharper.shadowDensity = 20;
    EXPECT_EQ(changesBetween(noShadow, sharper), PipelineChanges{.shadow = true});
}
