// The document window's layout: the rule that moves each control as the
// document area grows, the sizes the area may take, the zoom frame, the
// rows that change with a simple stencil, and the recorded frames against
// the window description they are taken from.

#include "layout/LayoutRule.h"
#include "layout/RecordedFrames.h"
#include "layout/WindowSizing.h"

#include "UpGeometry.h"

#include <QFile>
#include <QMap>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <ostream>

using namespace gelcoat;
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
    EXPECT_EQ(growthOf(-1, 0).half, 0);
    EXPECT_EQ(growthOf(-3, 0).half, -1);
    EXPECT_EQ(growthOf(685.9, 574.0), (Growth{0, 0, 0}));
    EXPECT_EQ(growthOf(842.0, 652.0), (Growth{156, 78, 78}));
    EXPECT_EQ(growthOf(666.0, 564.0), (Growth{-20, -10, -10}));
}

TEST(LayoutRule, EachModeMovesByItsShareOfTheGrowth)
{
    const Frame f{10.0f, 20.0f, 30.0f, 40.0f};
    const Growth g = growthOf(9, 7);   // half 4
    EXPECT_EQ(resizeFrame(f, g, FollowTopAtCentre), (Frame{14, 27, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, GrowLeftWell), (Frame{10, 20, 34, 47}));
    EXPECT_EQ(resizeFrame(f, g, GrowRightWell), (Frame{14, 20, 34, 47}));
    EXPECT_EQ(resizeFrame(f, g, CentreBetweenWells), (Frame{14, 23, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, SpanBothHalves), (Frame{10, 20, 38, 40}));
    EXPECT_EQ(resizeFrame(f, g, MoveWithRightHalf), (Frame{14, 20, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, StretchLeftHalf), (Frame{10, 20, 34, 40}));
    EXPECT_EQ(resizeFrame(f, g, StretchRightHalf), (Frame{14, 20, 34, 40}));
    EXPECT_EQ(resizeFrame(f, g, MoveToRightEdge), (Frame{18, 20, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, OneQuarterAlong), (Frame{15, 20, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, OneHalfAlong), (Frame{16, 20, 30, 40}));
    EXPECT_EQ(resizeFrame(f, g, ThreeQuartersAlong), (Frame{17, 20, 30, 40}));
    for (int other : {int(Fixed), 4, 5, 8, 15})
        EXPECT_EQ(resizeFrame(f, g, other), f) << other;
    // Single-precision sums: a fractional frame keeps its fraction.
    EXPECT_EQ(resizeFrame({0.1f, 0.0f, 0.0f, 0.0f}, g, MoveWithRightHalf).x, 0.1f + 4.0f);
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
    const auto views = placeViews(growthOf(0, 0));
    EXPECT_EQ(views.front().outlet, "sourceActionButton");
    EXPECT_EQ(views.back().outlet, "verticalDividerBox");
    for (std::size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i].frame, laidOutViews()[i].frame);
        for (std::size_t j = i + 1; j < views.size(); ++j)
            EXPECT_NE(views[i].outlet, views[j].outlet);
    }
    EXPECT_FALSE(laidOutView("hueStaticText"));
}

TEST(RecordedFrames, TintingRowsWidenForASimpleStencil)
{
    const Frame contrast = laidOutView("contrastSlider")->frame;
    const Frame hue = laidOutView("hueSlider")->frame;
    const Frame strip = laidOutView("hueStrip")->frame;
    ASSERT_GT(contrast.width, hue.width);
    for (const Growth& g : {growthOf(0, 0), growthOf(842.0, 652.0), growthOf(666.0, 564.0)}) {
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

// The table is the window description's geometry turned y-up: reading the
// form's top-level widgets must give the same frames.
TEST(RecordedFrames, MatchTheWindowDescription)
{
    QFile file(QStringLiteral(GELCOAT_DOCUMENT_FORM));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QMap<QString, QRectF> geometries;
    QStringList open;   // names of the widgets enclosing the reader
    QString property;
    QRectF rect;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("widget"))
                open.append(xml.attributes().value(QLatin1String("name")).toString());
            else if (xml.name() == QLatin1String("property"))
                property = xml.attributes().value(QLatin1String("name")).toString();
            else if (property == QLatin1String("geometry") && xml.name() != QLatin1String("rect")) {
                const double v = xml.readElementText().toDouble();
                if (xml.name() == QLatin1String("x")) rect.setX(v);
                if (xml.name() == QLatin1String("y")) rect.setY(v);
                if (xml.name() == QLatin1String("width")) rect.setWidth(v);
                if (xml.name() == QLatin1String("height")) rect.setHeight(v);
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("widget"))
                open.removeLast();
            else if (xml.name() == QLatin1String("property")) {
                if (property == QLatin1String("geometry") && !open.isEmpty())
                    geometries.insert(open.size() == 1 ? QStringLiteral("TintDocument")
                                                       : open.size() == 2 ? open.last() : QString(),
                                      rect);
                property.clear();
            }
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(geometries.value(QStringLiteral("TintDocument")),
              QRectF(0, 0, kBaseWidth, kBaseHeight));
    for (const LaidOutView& view : laidOutViews()) {
        const QString name = QString::fromLatin1(view.outlet.data(), qsizetype(view.outlet.size()));
        ASSERT_TRUE(geometries.contains(name)) << view.outlet;
        const UpRect up = fromQtRect(geometries.value(name), kBaseHeight);
        EXPECT_EQ((Frame{float(up.x), float(up.y), float(up.w), float(up.h)}), view.frame)
            << view.outlet;
    }
}
