#include "engine/buffer/BitmapRep.h"
#include "engine/colour/ColorConversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace gelcoat;

namespace {
std::uint32_t bytes(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d)
{
    return (a << 24) | (b << 16) | (c << 8) | d;
}
} // namespace

TEST(ValueForRGB, RoundsHalvesAwayAndClamps)
{
    EXPECT_EQ(valueForRGB(1.0f, 0.5f, 0.0f), bytes(255, 128, 0, 0));
    EXPECT_EQ(valueForRGB(-3.0f, 7.0f, 1.0001f), bytes(0, 255, 255, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(valueForRGB(nan, inf, -inf), bytes(0, 255, 0, 0));
}

TEST(ValueForRGB, EveryCodeSurvivesTheRoundTrip)
{
    for (std::uint32_t k = 0; k < 256; ++k) {
        const std::uint32_t v = bytes(k, 255 - k, k / 2, 0);
        float r, g, b;
        RGBforValue(v, &r, &g, &b);
        EXPECT_EQ(valueForRGB(r, g, b), v) << k;
    }
}

TEST(RGBforValue, IgnoresTheLowByteAndAcceptsNullOutputs)
{
    float r = -1, g = -1, b = -1;
    RGBforValue(bytes(128, 255, 0, 18), &r, &g, &b);
    EXPECT_EQ(r, float(128.0 / 255.0));
    EXPECT_EQ(g, 1.0f);
    EXPECT_EQ(b, 0.0f);
    float only = -1;
    RGBforValue(bytes(10, 20, 30, 40), nullptr, &only, nullptr);
    EXPECT_EQ(only, float(20.0 / 255.0));
}

TEST(HSVtoRGB, HueOneAndOutOfRangeHuesActAsRed)
{
    for (float h : {1.0f, 1.5f, -0.25f, std::numeric_limits<float>::quiet_NaN()}) {
        float r, g, b;
        HSVtoRGB(h, 1, 1, &r, &g, &b);
        EXPECT_EQ(r, 1.0f) << h;
        EXPECT_EQ(g, 0.0f) << h;
        EXPECT_EQ(b, 0.0f) << h;
    }
}

TEST(HSVtoRGB, ZeroSaturationGivesGreyOfTheValue)
{
    for (float h : {0.0f, 0.2f, 0.55f, 0.99f}) {
        float r, g, b;
        HSVtoRGB(h, 0, 0.4f, &r, &g, &b);
        EXPECT_EQ(r, 0.4f);
        EXPECT_EQ(g, 0.4f);
        EXPECT_EQ(b, 0.4f);
    }
}

TEST(HSVtoRGB, SectorsAndClamping)
{
    float r, g, b;
    HSVtoRGB(1.0f / 3.0f, 1, 1, &r, &g, &b); // green's sector boundary
    EXPECT_EQ(valueForRGB(r, g, b), bytes(0, 255, 0, 0));
    HSVtoRGB(2.0f / 3.0f, 2.0f, 5.0f, &r, &g, &b); // s and v clamp to 1
    EXPECT_EQ(valueForRGB(r, g, b), bytes(0, 0, 255, 0));
    HSVtoRGB(0.75f, 1, -1, &r, &g, &b); // v clamps to 0
    EXPECT_EQ(valueForRGB(r, g, b), 0u);
    float only = -1;
    HSVtoRGB(0.5f, 1, 1, nullptr, nullptr, &only);
    EXPECT_EQ(only, 1.0f);
}

TEST(RGBtoHSV, GreysBlacksAndRed)
{
    float h = -1, s = -1, v = -1;
    RGBtoHSV(0.2f, 0.2f, 0.2f, &h, &s, &v);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(v, 0.2f);
    RGBtoHSV(0, 0, 0, &h, &s, &v);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(v, 0.0f);
    RGBtoHSV(1, 0, 0, &h, &s, &v);
    EXPECT_EQ(h, 0.0f);
    EXPECT_EQ(s, 1.0f);
}

TEST(RGBtoHSV, HueJustBelowOneNeverReachesOne)
{
    float h;
    RGBtoHSV(1, 0, 1e-6f, &h, nullptr, nullptr);
    EXPECT_LT(h, 1.0f);
    EXPECT_GT(h, 0.99f);
    RGBtoHSV(1, 0, 1e-7f, &h, nullptr, nullptr); // rounds to 1.0, becomes 0
    EXPECT_EQ(h, 0.0f);
}

TEST(RGBtoHSV, TiesUseTheNearestFloatConstants)
{
    float h;
    RGBtoHSV(0, 1, 0, &h, nullptr, nullptr);
    EXPECT_EQ(h, float(1.0 / 3.0));
    RGBtoHSV(0, 0, 1, &h, nullptr, nullptr);
    EXPECT_EQ(h, float(2.0 / 3.0));
    RGBtoHSV(0.5f, 1, 0.5f, &h, nullptr, nullptr);
    EXPECT_EQ(h, float(1.0 / 3.0));
}

TEST(RGBtoHSV, InvertsHSVtoRGBOnPureHues)
{
    for (int i = 0; i < 360; ++i) {
        const float hue = float(i) / 360.0f;
        float r, g, b, h, s, v;
        HSVtoRGB(hue, 1, 1, &r, &g, &b);
        RGBtoHSV(r, g, b, &h, &s, &v);
        EXPECT_NEAR(h, hue, 1e-6f) << i;
        EXPECT_EQ(s, 1.0f);
        EXPECT_EQ(v, 1.0f);
    }
}

TEST(HSVforValue, ConvertsThroughRGB)
{
    float h, s, v;
    HSVforValue(bytes(0, 0, 255, 77), &h, &s, &v);
    EXPECT_EQ(h, float(2.0 / 3.0));
    EXPECT_EQ(s, 1.0f);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(valueForHSV(h, s, v), bytes(0, 0, 255, 0));
}

TEST(PixelWords, KeepMemoryOrderRGBA)
{
    std::uint8_t p[4];
    storePixelWord(p, bytes(1, 2, 3, 4));
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[3], 4);
    EXPECT_EQ(loadPixelWord(p), bytes(1, 2, 3, 4));
}

TEST(ValueForRGB, CodesMatchRoundingHalvesAwayFromZero)
{
    // Every float in [−0.01, 1.01] on a fine grid, plus each code's halfway
    // points, against the plain rule.
    auto plain = [](float c) {
        const float r = std::round(c * 256.0f - 0.5f);
        return r < 0 ? 0u : r > 255 ? 255u : std::uint32_t(r);
    };
    for (int i = -10000; i <= 1010000; ++i) {
        const float c = float(i) / 1000000.0f;
        ASSERT_EQ(codeForFraction(c), plain(c)) << c;
    }
    for (int k = 0; k < 256; ++k)
        for (float d : {-1e-7f, 0.0f, 1e-7f}) {
            const float c = (float(k) + 1.0f) / 256.0f + d;
            ASSERT_EQ(codeForFraction(c), plain(c)) << c;
        }
}
