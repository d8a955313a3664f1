// The committed pictures of resources/images, as written by
// gelcoat-make-resources: the reference gel button must be sampled at the
// neutral hue everywhere the shading tables read it, and the start picture
// and the foot stencil must be flat-colour pictures with an alpha mask.

#include "tools/common/RgbaTiff.h"
#include "engine/colour/ColorConversions.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::filesystem::path imagesFolder()
{
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
           "resources" / "images";
}

constexpr int kSide = 21;
constexpr int kChord[11] = {20, 20, 20, 18, 18, 18, 16, 14, 12, 10, 4};
constexpr double kNeutralHue = 0.59;

struct Hsv {
    double h, s, v;
};

// As the shading tables see the pixel.
Hsv hsvOf(const std::uint8_t* p)
{
    float h, sat, v;
    gelcoat::RGBtoHSV(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, &h, &sat, &v);
    return {h, sat, v};
}

class BaseButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Read as the resource tool reads back what it wrote: 8-bit RGBA
        // with associated alpha, LZW-compressed, top row first, or nothing.
        const std::string path = (imagesFolder() / "base.tiff").string();
        int width = 0, height = 0;
        std::string error;
        ASSERT_TRUE(gelcoat::resources::readRgbaTiff(path, width, height, rgba, error)) << error;
        ASSERT_EQ(width, kSide);
        ASSERT_EQ(height, kSide);
    }

    std::uint8_t* px(int x, int y) { return &rgba[(std::size_t(y) * kSide + x) * 4]; }
    Hsv at(int x, int y) { return hsvOf(px(x, y)); }

    std::vector<std::uint8_t> rgba;
};

TEST_F(BaseButtonTest, IsOpaqueEverywhere)
{
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const std::uint8_t* p = px(x, y);
            EXPECT_EQ(p[3], 255) << x << ", " << y;
            EXPECT_LE(p[0], p[3]);
            EXPECT_LE(p[1], p[3]);
            EXPECT_LE(p[2], p[3]);
        }
}

TEST_F(BaseButtonTest, EverySampledPixelHasTheNeutralHue)
{
    int sampled = 0;
    for (int i = 0; i <= 10; ++i) {
        const int sub = kChord[i];
        const int top = (20 - sub) / 2;
        for (int y = top; y <= top + sub; ++y) {
            const Hsv c = at(10 + i, y);
            EXPECT_NEAR(c.h, kNeutralHue, 0.01) << "pixel " << 10 + i << ", " << y;
            EXPECT_GE(c.s, 0.03) << "pixel " << 10 + i << ", " << y;
            EXPECT_GT(c.v, 0.0) << "pixel " << 10 + i << ", " << y;
            EXPECT_LE(c.v, 1.0) << "pixel " << 10 + i << ", " << y;
            ++sampled;
        }
    }
    EXPECT_EQ(sampled, 21 * 3 + 19 * 3 + 17 + 15 + 13 + 11 + 5);
}

TEST_F(BaseButtonTest, ShadesLikeAGelButton)
{
    // Down the centre: a bright, barely tinted highlight on top, a sharp
    // drop into the deepest colour just above the middle, light gathering
    // again toward the bottom.
    const Hsv highlight = at(10, 2);
    EXPECT_GE(highlight.v, 0.95);
    EXPECT_LE(highlight.s, 0.15);
    double deepest = 1.0;
    int deepestRow = -1;
    for (int y = 0; y <= 20; ++y)
        if (at(10, y).v < deepest) {
            deepest = at(10, y).v;
            deepestRow = y;
        }
    EXPECT_GE(deepestRow, 8);
    EXPECT_LE(deepestRow, 10);
    EXPECT_GT(at(10, deepestRow).s, 0.5);
    EXPECT_GT(at(10, deepestRow - 1).v - deepest, 0.15); // the step
    EXPECT_GT(at(10, 18).v, deepest + 0.2);              // the glow
    EXPECT_GT(at(10, 18).s, highlight.s);
    // Toward the rim the button darkens.
    EXPECT_LT(at(20, 10).v, at(10, 10).v);
    EXPECT_LT(at(17, 10).v, at(10, 10).v);
}

QImage loadPng(const char* name)
{
    return QImage(QString::fromStdString((imagesFolder() / name).string()));
}

// The flat colours of a picture: opaque colours that cover at least 50
// pixels. They must cover nearly all opaque pixels; the rest are the
// antialiased borders between two colours.
std::set<QRgb> flatColours(const QImage& image)
{
    std::map<QRgb, int> counts;
    int opaque = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            if (qAlpha(c) == 255) {
                ++counts[c];
                ++opaque;
            }
        }
    std::set<QRgb> colours;
    int covered = 0;
    for (const auto& [colour, count] : counts)
        if (count >= 50) {
            colours.insert(colour);
            covered += count;
        }
    EXPECT_GT(opaque, 0);
    EXPECT_GE(covered, opaque * 97 / 100);
    return colours;
}

// Transparent around the shape, with room for the default drop shadow
// (offset 5 pixels down, spread over a radius of 4) inside the picture, so
// that a new document shows no shadow warning.
void expectAlphaMasked(const QImage& image)
{
    ASSERT_TRUE(image.hasAlphaChannel());
    int top = image.height(), bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(bottom, 0) << "no opaque pixel";
    EXPECT_GE(top, 0);
    EXPECT_LE(bottom + 5 + 4, image.height() - 1);
    EXPECT_GE(left - 4, 0);
    EXPECT_LE(right + 4, image.width() - 1);
}

TEST(StartPictureTest, IsMossInAFewFlatColoursWithAnAlphaMask)
{
    const QImage moss = loadPng("start.png");
    ASSERT_FALSE(moss.isNull());
    EXPECT_EQ(moss.width(), 256);
    EXPECT_EQ(moss.height(), 256);
    expectAlphaMasked(moss);
    const auto colours = flatColours(moss);
    EXPECT_GE(colours.size(), 4u);
    EXPECT_LE(colours.size(), 8u);
}

TEST(FootPictureTest, IsOneFlatColourWithAnAlphaMask)
{
    const QImage foot = loadPng("leftFootColored.png");
    ASSERT_FALSE(foot.isNull());
    EXPECT_EQ(foot.width(), 144);
    EXPECT_EQ(foot.height(), 120);
    expectAlphaMasked(foot);
    EXPECT_EQ(flatColours(foot).size(), 1u);
}

} // namespace
