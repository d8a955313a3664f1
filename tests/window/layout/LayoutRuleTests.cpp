// The document window's layout: the rule that moves each control as the
// document area grows, the sizes the area may take, the zoom frame, the
// form's frames placed from the edge they keep, the rows that change with
// a simple stencil.

#include "window/layout/LayoutRule.h"
#include "window/layout/RecordedFrames.h"
#include "window/layout/WindowSizing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

using namespace gelcoat::layout;

namespace gelcoat::layout {
void PrintTo(const Frame& f, std::ostream* out)
{
    *out << "(" << f.x << ", " << f.y << ", " << f.width << ", " << f.height << ")";
}
void PrintTo(const Size& s, std::ostream* out) { *out << s.width << " x " << s.height; }
void PrintTo(const DownRect& r, std::ostream* out)
{
    *out << "[" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "]";
}
} // namespace gelcoat::layout

namespace {

// How far a control moved and grew under its rule, as (dx, dy, dw, dh).
Frame change(std::string_view outlet, const Growth& growth)
{
    const Frame before{10, 20, 30, 40};
    const Frame after = resizeFrame(before, growth, resizeRule(outlet));
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
    EXPECT_EQ(zoomFrame(Frame{0, 0, 1024, 746}), (Frame{0, 3, 1024, 743}));
    EXPECT_EQ(zoomFrame(Frame{0, 22, 1440, 856}), (Frame{0, 22, 1250, 856}));
    EXPECT_EQ(zoomFrame(Frame{0, 0, 1280, 980}), (Frame{0, 109, 1280, 871}));
    EXPECT_EQ(zoomFrame(Frame{5, 6, 686, 574}), (Frame{5, 6, 686, 574}));
}

TEST(LayoutRule, ConvertsBetweenYDownAndYUp)
{
    // A control 12 from the top of an area 574 high sits 294 above its bottom.
    EXPECT_EQ(upFrame(DownRect{14, 12, 276, 268}, 574), (Frame{14, 294, 276, 268}));
    EXPECT_EQ(downRect(Frame{14, 294, 276, 268}, 574), (DownRect{14, 12, 276, 268}));
    EXPECT_EQ(downRect(Frame{14, 294, 276, 268}, 652), (DownRect{14, 90, 276, 268}));
    EXPECT_EQ(zoomFrame(DownRect{0, 0, 1024, 746}), (DownRect{0, 0, 1024, 743}));
    EXPECT_EQ(zoomFrame(DownRect{0, 22, 1440, 856}), (DownRect{0, 22, 1250, 856}));
}

TEST(ResizeRules, FollowALargerArea)
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
    EXPECT_EQ(change("sourceActionButton", g), (Frame{78, 78, 0, 0}));
    EXPECT_EQ(change("gelcoatButton", g), (Frame{78, 39, 0, 0}));
    // Controls without a rule stay put, y-up.
    EXPECT_EQ(change("hueWell", g), Frame{});
    EXPECT_EQ(change("contrastStaticText", g), Frame{});
}

TEST(ResizeRules, FollowASmallerArea)
{
    const Growth g = growthOf(666.0, 564.0);   // dW -20, dH -10, half -10
    EXPECT_EQ(change("hueWell", g), Frame{});
    EXPECT_EQ(change("rainbowCircle", g), Frame{});
    for (const char* moving : {"useOriginalHueButton", "alphaValueField", "shadowWarningButton",
                               "marginStaticText", "verticalDividerBox"})
        EXPECT_EQ(change(moving, g), (Frame{-10, 0, 0, 0})) << moving;
    for (const char* atEnd : {"shadowCircle", "shadowRadiusValueField", "wideStaticText"})
        EXPECT_EQ(change(atEnd, g), (Frame{-20, 0, 0, 0})) << atEnd;
    for (const char* centred : {"gelcoatButton", "leftArrow", "rightArrow"})
        EXPECT_EQ(change(centred, g), (Frame{-10, -5, 0, 0})) << centred;
}

TEST(RecordedFrames, PlaceTheFormsFramesFromTheTopOrBottomEdge)
{
    RecordedFrames frames;
    frames.record("sourceImageWell", {14, 12, 276, 268});
    frames.record("contrastStaticText", {14, 526, 66, 22});
    frames.record("aquaMarginSlider", {428, 318, 244, 22});
    const std::vector<DownRect> atBase = frames.place(kBaseWidth, kBaseHeight);
    ASSERT_EQ(atBase.size(), 3u);
    EXPECT_EQ(atBase[0], (DownRect{14, 12, 276, 268}));
    EXPECT_EQ(atBase[1], (DownRect{14, 526, 66, 22}));

    // The well keeps its top and grows; the row below keeps its distance
    // from the bottom edge.
    const std::vector<DownRect> larger = frames.place(842, 652);
    EXPECT_EQ(larger[0], (DownRect{14, 12, 354, 346}));
    EXPECT_EQ(larger[1], (DownRect{14, 526 + 78, 66, 22}));
    EXPECT_EQ(larger[2], (DownRect{428 + 78, 318 + 78, 244 + 78, 22}));
    EXPECT_EQ(frames.recorded("sourceImageWell"), (Frame{14, 294, 276, 268}));
    EXPECT_FALSE(frames.recorded("linearRainbowRadio"));
}

TEST(RecordedFrames, TintingRowsWidenForASimpleStencil)
{
    RecordedFrames frames;
    frames.record("hueSlider", {148, 318, 106, 22});
    frames.record("hueStrip", {154, 341, 94, 7});
    frames.record("saturationSlider", {148, 422, 106, 22});
    frames.record("brightnessSlider", {148, 474, 106, 22});
    frames.record("contrastSlider", {148, 526, 186, 22});
    for (const auto& [w, h] : {std::pair{686, 574}, {842, 652}, {666, 564}}) {
        const Growth g = growthOf(w, h);
        const int dy = h - kBaseHeight;
        const TintingRows simple = frames.tintingRows(true, w, h);
        EXPECT_EQ(simple.hueSlider, (DownRect{148, 318 + dy, 186 + g.half, 22}));
        EXPECT_EQ(simple.saturationSlider, (DownRect{148, 422 + dy, 186 + g.half, 22}));
        EXPECT_EQ(simple.brightnessSlider, (DownRect{148, 474 + dy, 186 + g.half, 22}));
        EXPECT_EQ(simple.hueStrip, (DownRect{154, 341 + dy, 186 - 12 + g.half, 7}));

        const TintingRows colour = frames.tintingRows(false, w, h);
        EXPECT_EQ(colour.hueSlider, (DownRect{148, 318 + dy, 106 + g.half, 22}));
        EXPECT_EQ(colour.hueStrip, (DownRect{154, 341 + dy, 94 + g.half, 7}));
        EXPECT_EQ(colour.saturationSlider, (DownRect{148, 422 + dy, 106 + g.half, 22}));
    }
}
