// The document window's layout: the rule that moves each control as the
// document area grows, the sizes the area may take, the zoom frame, the
// rows that change with a simple stencil.

#include "window/layout/LayoutRule.h"
#include "window/layout/RecordedFrames.h"
#include "window/layout/WindowSizing.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace gelcoat::layout;

namespace gelcoat::layout {
void PrintTo(const Frame& f, std::ostream* out)
{
    *out << "(" << f.x << ", " << f.y << ", " << f.width << ", " << f.height << ")";
}
void PrintTo(const Size& s, std::ostream* out) { *out << s.width << " x " << s.height; }
} // namespace gelcoat::layout

namespace {

Frame placed(std::string_view outlet, const Growth& growth)
{
    const std::optional<LaidOutView> view = laidOutView(outlet);
    EXPECT_TRUE(view) << outlet;
    return view ? resizeFrame(view->frame, growth, view->mode) : Frame{};
}

// How far a control moved and grew, as (dx, dy, dw, dh).
Frame change(std::string_view outlet, const Growth& growth)
{
    const Frame before = laidOutView(outlet)->frame;
    const Frame after = placed(outlet, growth);
    return {after.x - before.x, after.y - before.y, after.width - before.width,
            after.height - before.height};
}

} // namespace

TEST(LayoutRule, HalfTruncatesTowardZero)
{
    EXPECT_EQ(growthBy(-1, 0).half, 0);
    EXPECT_EQ(growthBy(-3, 0).half, -1);
    EXPECT_EQ(growthOf(685.9, 574.0), (Growth{0, 0, 0}));
    EXPECT_EQ(growthOf(842.0, 652.0), (Growth{156, 78, 78}));
    EXPECT_EQ(growthOf(666.0, 564.0), (Growth{-20, -10, -10}));
    // Numbers the rule does not know leave a frame alone; sums stay floats.
    const Frame f{0.1f, 2.0f, 3.0f, 4.0f};
    for (int other : {int(Fixed), 4, 5, 8, 15})
        EXPECT_EQ(resizeFrame(f, growthBy(9, 7), other), f) << other;
    EXPECT_EQ(resizeFrame(f, growthBy(9, 7), MoveWithRightHalf).x, 0.1f + 4.0f);
}

TEST(WindowSizing, ResizesAlongTheOneLine)
{
    const struct { double w, h; Size expected; } cases[] = {
        {686, 574, {686, 574}}, {687, 575, {686, 574}}, {685, 573, {686, 574}},
        {1000, 574, {842, 652}}, {686, 800, {912, 687}}, {900, 700, {918, 690}},
        {600, 500, kMinimumSize}, {0, 0, kMinimumSize}};
    for (const auto& c : cases) {
        const Size size = constrainedSize(c.w, c.h);
        EXPECT_EQ(size, c.expected) << c.w << " x " << c.h;
        EXPECT_EQ(size.width, 2 * size.height - 462);
    }
}

TEST(WindowSizing, ZoomsToTheLargestFrameOnTheLine)
{
    EXPECT_EQ(zoomFrame({0, 0, 1024, 746}), (Frame{0, 3, 1024, 743}));
    EXPECT_EQ(zoomFrame({0, 22, 1440, 856}), (Frame{0, 22, 1250, 856}));
    EXPECT_EQ(zoomFrame({0, 0, 1280, 980}), (Frame{0, 109, 1280, 871}));
    EXPECT_EQ(zoomFrame({5, 6, 686, 574}), (Frame{5, 6, 686, 574}));
}

TEST(RecordedFrames, FollowALargerArea)
{
    const Growth g = growthOf(842.0, 652.0);
    EXPECT_EQ(change("sourceImageWell", g), (Frame{0, 0, 78, 78}));
    EXPECT_EQ(change("destImageWell", g), (Frame{78, 0, 78, 78}));
    EXPECT_EQ(change("oneQuarterStaticText", g).x, 97);
    EXPECT_EQ(change("oneHalfStaticText", g).x, 117);
    EXPECT_EQ(change("threeQuartersStaticText", g).x, 136);
    EXPECT_EQ(change("fullStaticText", g).x, 156);
    EXPECT_EQ(change("shadowCircle", g).x, 156);
    EXPECT_EQ(change("horizontalDividerBox", g), (Frame{0, 0, 156, 0}));
    EXPECT_EQ(change("verticalDividerBox", g), (Frame{78, 0, 0, 0}));
    EXPECT_EQ(change("hueSlider", g), (Frame{0, 0, 78, 0}));
    EXPECT_EQ(change("aquaMarginSlider", g), (Frame{78, 0, 78, 0}));
    // The wells' tops and the pop-up buttons stay at the top edge; the
    // toggle stays centred between the wells.
    const Frame source = placed("sourceImageWell", g);
    EXPECT_EQ(source.y + source.height, 574 - 12 + 78);
    EXPECT_EQ(change("sourceActionButton", g), (Frame{78, 78, 0, 0}));
    EXPECT_EQ(change("gelcoatButton", g), (Frame{78, 39, 0, 0}));
}

TEST(RecordedFrames, FollowASmallerArea)
{
    const Growth g = growthOf(666.0, 564.0);   // dW -20, dH -10, half -10
    for (const LaidOutView& view : laidOutViews()) {
        const Frame d = change(view.outlet, g);
        switch (view.mode) {
        case Fixed: EXPECT_EQ(d, Frame{}) << view.outlet; break;
        case MoveWithRightHalf: EXPECT_EQ(d, (Frame{-10, 0, 0, 0})) << view.outlet; break;
        case MoveToRightEdge: EXPECT_EQ(d, (Frame{-20, 0, 0, 0})) << view.outlet; break;
        case CentreBetweenWells: EXPECT_EQ(d, (Frame{-10, -5, 0, 0})) << view.outlet; break;
        default: break;
        }
    }
    EXPECT_EQ(change("hueWell", g), Frame{});
}

TEST(RecordedFrames, PlaceEveryViewOnceInRecordingOrder)
{
    const auto views = placeViews(growthBy(0, 0));
    EXPECT_EQ(views.front().outlet, "sourceActionButton");
    EXPECT_EQ(views[kRecordedViewCount - 1].outlet, "verticalDividerBox");
    for (std::size_t i = kRecordedViewCount; i < views.size(); ++i)
        EXPECT_EQ(laidOutViews()[i].mode, Fixed) << views[i].outlet;
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i].frame, laidOutViews()[i].frame);
        for (std::size_t j = i + 1; j < views.size(); ++j)
            EXPECT_NE(views[i].outlet, views[j].outlet);
    }
    EXPECT_FALSE(laidOutView("linearRainbowRadio"));
}

TEST(RecordedFrames, TintingRowsWidenForASimpleStencil)
{
    const Frame contrast = laidOutView("contrastSlider")->frame;
    const Frame hue = laidOutView("hueSlider")->frame;
    const Frame strip = laidOutView("hueStrip")->frame;
    ASSERT_GT(contrast.width, hue.width);
    for (const Growth& g : {growthBy(0, 0), growthOf(842.0, 652.0), growthOf(666.0, 564.0)}) {
        const TintingRows simple = tintingRows(true, g);
        for (const Frame& slider : {simple.hueSlider, simple.saturationSlider,
                                    simple.brightnessSlider})
            EXPECT_EQ(slider.width, contrast.width + float(g.half));
        EXPECT_EQ(simple.hueStrip.width,
                  contrast.width - (hue.width - strip.width) + float(g.half));
        EXPECT_EQ(simple.hueStrip.x, strip.x);

        const TintingRows colour = tintingRows(false, g);
        EXPECT_EQ(colour.hueSlider, resizeFrame(hue, g, StretchLeftHalf));
        EXPECT_EQ(colour.hueStrip, resizeFrame(strip, g, StretchLeftHalf));
        EXPECT_EQ(colour.saturationSlider,
                  resizeFrame(laidOutView("saturationSlider")->frame, g, StretchLeftHalf));
    }
}
