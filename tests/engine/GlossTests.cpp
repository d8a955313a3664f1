#include "engine/colour/ColorConversions.h"
#include "engine/shading/AquaTables.h"
#include "engine/shading/Gloss.h"
#include "engine/shading/GlossConstants.h"
#include "engine/stencil/StencilOps.h"
#include "tests/support/SimdTargets.h"
#include "tests/support/TestImages.h"
#include "tests/support/TypicalGloss.h"
#include "engine/util/Parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

// The gloss stage written out pixel by pixel, through the table lookup's
// public form, as a reference for the optimised stage.
std::uint32_t referencePixel(const BitmapRep& img, const BitmapRep& ana, int x, int y,
                             const AquifyParameters& p)
{
    const int W = img.pixelsWide(), H = img.pixelsHigh();
    const float halfW = float(W) * 0.5f, halfH = float(H) * 0.5f;
    const float m2 = p.margin * p.margin;
    const float mf = float(4.0 * (double(m2) / 10000.0) + 0.01);
    float xOffset = p.xOffset, yOffset = p.yOffset;
    if (p.circular) {
        xOffset *= 2.0f;
        yOffset *= 2.0f;
    }
    const std::uint32_t D = pixel(ana, x, y);
    const std::uint8_t* s = img.row(y) + 4 * x;
    const std::uint8_t A = s[3];
    if (D == 0 && A == 0)
        return 0;
    const float oh = float(s[0] / 255.0), os = float(s[1] / 255.0), ov = float(s[2] / 255.0);
    float hue = 0, sat = 0, val = 0;
    int L = kOutsideNearDistance, R = kOutsideFarDistance;
    int T = kOutsideNearDistance, B = kOutsideFarDistance;
    if (D != 0) {
        L = int(D >> 24);
        R = int((D >> 16) & 0xFF);
        T = int((D >> 8) & 0xFF);
        B = int(D & 0xFF);
    }
    if (p.rainbow) {
        const float cx = halfW + p.xCenter, cy = halfH + p.yCenter;
        const float dx = (float(x) - cx) / halfW, dy = (float(y) - cy) / halfH;
        if (p.circular) {
            const float a = dx * xOffset, b = dy * yOffset;
            hue = float(std::sqrt(double(a * a + b * b)));
        } else {
            hue = dx * xOffset + dy * yOffset;
        }
    }
    addValuesForDistances(float(L - 1) * mf, float(R - 1) * mf, float(T - 1) * mf,
                          float(B - 1) * mf, &hue, &sat, &val, 0);
    hue = float(double(hue) - kButtonHue);
    if (os == 0) {
        if (p.useOriginalSaturation)
            sat = 0;
        else
            hue = hue + p.hue;
    } else {
        hue = hue + (p.useOriginalHue ? oh : p.hue);
        if (p.useOriginalSaturation)
            sat = sat * os;
    }
    if (p.useOriginalBrightness)
        val = val * ov;
    // Opacity above 100 % saturates the byte rather than wrapping it.
    unsigned outA = unsigned(std::min(float(A) * p.alpha, 255.0f));
    val = float((double(val) - kContrastPivot) * double(p.contrast) + kContrastPivot +
                double(p.brightness));
    sat = sat * p.saturation;
    if (D == 0) {
        outA /= 2;
        val = val * kPartialPixelShare;
    }
    while (hue < 0)
        hue += 1;
    while (hue >= 1)
        hue -= 1;
    sat = std::clamp(sat, 0.0f, 1.0f);
    val = std::clamp(val, 0.0f, 1.0f);
    val = val * (float(outA) / 255.0f);
    return valueForHSV(hue, sat, val) | outA;
}

struct Prepared {
    BitmapRep hsv, analysis;
};

Prepared prepare(const BitmapRep& colour)
{
    Prepared p{std::move(*colour.clone()), makeBuffer(colour.pixelsWide(), colour.pixelsHigh())};
    hsvConvertImage(p.hsv);
    analyzeImage(p.hsv, p.analysis);
    return p;
}

BitmapRep aquify(const Prepared& p, const AquifyParameters& params)
{
    BitmapRep out = makeBuffer(p.hsv.pixelsWide(), p.hsv.pixelsHigh());
    aquifyImage(p.hsv, p.analysis, out, params);
    return out;
}

// Every pixel a premultiplied colour: no channel above its alpha.
void expectPremultiplied(const BitmapRep& out, const std::string& what)
{
    for (int y = 0; y < out.pixelsHigh(); ++y)
        for (int x = 0; x < out.pixelsWide(); ++x) {
            const std::uint8_t* q = out.row(y) + 4 * x;
            ASSERT_TRUE(q[0] <= q[3] && q[1] <= q[3] && q[2] <= q[3])
                << what << " at " << x << "," << y << ": " << std::hex << pixel(out, x, y);
        }
}

class GlossTest : public ::testing::Test {
protected:
    void SetUp() override { useSyntheticBase(); }
};

} // namespace

std::vector<AquifyParameters> settingCases()
{
    std::vector<AquifyParameters> cases{typicalGloss()};
    AquifyParameters p = typicalGloss();
    p.circular = true;
    p.xCenter = 10;
    p.yCenter = -7;
    cases.push_back(p);
    p = typicalGloss();
    p.rainbow = false;
    p.useOriginalHue = false;
    p.useOriginalSaturation = true;
    p.useOriginalBrightness = true;
    p.brightness = -0.2f;
    p.contrast = 1.3f * 1.3f * 1.3f;
    p.margin = 0;
    cases.push_back(p);
    p = typicalGloss();
    p.margin = 100;
    p.alpha = 0.6f;
    p.xOffset = -3.5f;
    p.yOffset = 2.25f;
    cases.push_back(p);
    // The remaining cases keep the default bevel, so that large shapes have
    // deep interiors for every option.
    p = typicalGloss();
    p.contrast = 1.2f * 1.2f * 1.2f;
    p.brightness = 0.15f;
    p.useOriginalSaturation = true;
    p.useOriginalBrightness = true;
    p.alpha = 0.7f;
    cases.push_back(p);
    p = typicalGloss();
    p.circular = true;
    p.xOffset = 2.5f;
    p.yOffset = -1.7f;
    p.useOriginalHue = false;
    p.saturation = 0.4f;
    p.alpha = 1.5f;
    p.brightness = -0.3f;
    cases.push_back(p);
    p = typicalGloss();
    p.rainbow = false;
    p.hue = 0.95f;
    p.contrast = 0.5f;
    cases.push_back(p);
    p.alpha = 0;
    cases.push_back(p);
    return cases;
}

void expectMatchesReference(const BitmapRep& colour)
{
    const Prepared prepared = prepare(colour);
    const std::vector<AquifyParameters> cases = settingCases();
    for (std::size_t c = 0; c < cases.size(); ++c) {
        const BitmapRep out = aquify(prepared, cases[c]);
        for (int y = 0; y < colour.pixelsHigh(); ++y)
            for (int x = 0; x < colour.pixelsWide(); ++x)
                ASSERT_EQ(pixel(out, x, y),
                          referencePixel(prepared.hsv, prepared.analysis, x, y, cases[c]))
                    << "case " << c << " at " << x << "," << y;
    }
}

TEST_F(GlossTest, MatchesThePlainReferenceAcrossSettings)
{
    expectMatchesReference(randomShapes(97, 61, 7));
    expectMatchesReference(randomShapes(240, 180, 12)); // deep interiors
    // Grey shapes: no hue or saturation of their own.
    BitmapRep grey = randomShapes(200, 160, 31);
    for (int y = 0; y < grey.pixelsHigh(); ++y)
        for (int x = 0; x < grey.pixelsWide(); ++x) {
            std::uint8_t* q = grey.row(y) + 4 * x;
            q[1] = q[2] = q[0];
        }
    expectMatchesReference(grey);
}

TEST_F(GlossTest, EveryCompiledTargetGivesThePlainReferenceBytes)
{
    // Widths below, at and past every vector size with remainders of every
    // length, deep interiors, grey and clear pixels, under every option.
    BitmapRep grey = randomShapes(131, 70, 31);
    for (int y = 0; y < grey.pixelsHigh(); ++y)
        for (int x = 0; x < grey.pixelsWide(); ++x) {
            std::uint8_t* q = grey.row(y) + 4 * x;
            q[1] = q[2] = q[0];
        }
    std::vector<BitmapRep> colours;
    colours.push_back(randomShapes(3, 5, 2));
    colours.push_back(randomShapes(97, 61, 7));
    colours.push_back(randomShapes(241, 180, 12));
    colours.push_back(std::move(grey));
    std::vector<Prepared> inputs;
    for (const BitmapRep& colour : colours)
        inputs.push_back(prepare(colour));
    const std::vector<AquifyParameters> cases = settingCases();
    int targets = 0;
    forEachSimdTarget([&](const SimdTarget& target) {
        ++targets;
        for (std::size_t i = 0; i < inputs.size(); ++i)
            for (std::size_t c = 0; c < cases.size(); ++c) {
                const Prepared& in = inputs[i];
                const BitmapRep out = aquify(in, cases[c]);
                for (int y = 0; y < out.pixelsHigh(); ++y)
                    for (int x = 0; x < out.pixelsWide(); ++x)
                        ASSERT_EQ(pixel(out, x, y), referencePixel(in.hsv, in.analysis, x, y, cases[c]))
                            << target.name << ", input " << i << ", case " << c << " at " << x << ","
                            << y;
            }
    });
    EXPECT_GE(targets, 1);
}

TEST_F(GlossTest, OutputIsPremultipliedOnEveryTarget)
{
    // Bright enough that an unclamped value would exceed the alpha, at an
    // opacity below 100 %, on rows that take every vector size and leave
    // remainders.
    const Prepared prepared = prepare(randomShapes(203, 64, 17));
    AquifyParameters p = typicalGloss();
    p.alpha = 0.6f;
    p.brightness = 0.9f;
    p.contrast = 2.0f;
    forEachSimdTarget([&](const SimdTarget& target) {
        for (bool originalBrightness : {false, true}) {
            p.useOriginalBrightness = originalBrightness;
            expectPremultiplied(aquify(prepared, p), target.name);
        }
    });
}

TEST_F(GlossTest, SameBytesOnOneThreadOrMany)
{
    const Prepared prepared = prepare(randomShapes(300, 257, 3));
    setParallelThreadCount(1);
    const BitmapRep one = aquify(prepared, typicalGloss());
    setParallelThreadCount(4);
    const BitmapRep many = aquify(prepared, typicalGloss());
    setParallelThreadCount(0);
    EXPECT_TRUE(one.samePixels(many));
}

TEST_F(GlossTest, TransparentOutsideStaysClearAndAlphaZeroClearsAll)
{
    BitmapRep colour = makeBuffer(8, 8, [](int x, int y) {
        return (x > 1 && x < 6 && y > 1 && y < 6) ? 0x336699FFu : 0u;
    });
    const Prepared prepared = prepare(colour);
    AquifyParameters p = typicalGloss();
    p.brightness = 1.0f;
    const BitmapRep out = aquify(prepared, p);
    EXPECT_EQ(pixel(out, 0, 0), 0u);
    EXPECT_NE(pixel(out, 3, 3) & 0xFF, 0u);
    p.alpha = 0;
    const BitmapRep clear = aquify(prepared, p);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(pixel(clear, x, y), 0u);
}

TEST_F(GlossTest, PartlyCoveredOutsidePixelGetsHalfAlpha)
{
    BitmapRep colour = makeBuffer(5, 1, [](int x, int) { return x == 2 ? 0x64646464u : 0u; });
    const Prepared prepared = prepare(colour); // alpha 100 < 127: outside the shape
    AquifyParameters p = typicalGloss();
    p.rainbow = false;
    const BitmapRep out = aquify(prepared, p);
    EXPECT_EQ(pixel(out, 2, 0) & 0xFF, 50u);
}

TEST_F(GlossTest, ContrastZeroGivesThePivotValue)
{
    BitmapRep colour = makeBuffer(6, 6, [](int, int) { return 0x000000FFu; });
    const Prepared prepared = prepare(colour);
    AquifyParameters p = typicalGloss();
    p.contrast = 0;
    p.brightness = 0;
    p.saturation = 0;
    const BitmapRep out = aquify(prepared, p);
    const std::uint32_t grey = codeForFraction(float(kContrastPivot));
    EXPECT_EQ(pixel(out, 3, 2), (grey << 24) | (grey << 16) | (grey << 8) | 0xFF);
}

TEST_F(GlossTest, BrightnessExtremesClamp)
{
    BitmapRep colour = makeBuffer(6, 6, [](int, int) { return 0x000000FFu; });
    const Prepared prepared = prepare(colour);
    AquifyParameters p = typicalGloss();
    p.brightness = -1.0f;
    const BitmapRep black = aquify(prepared, p);
    EXPECT_EQ(pixel(black, 2, 2), 0x000000FFu);
    p.brightness = 1.0f;
    p.saturation = 0;
    const BitmapRep white = aquify(prepared, p);
    EXPECT_EQ(pixel(white, 2, 2), 0xFFFFFFFFu);
}

TEST_F(GlossTest, GreySourceWithSaturationFlagRendersGrey)
{
    BitmapRep colour = makeBuffer(6, 6, [](int, int) { return 0x808080FFu; });
    const Prepared prepared = prepare(colour);
    AquifyParameters p = typicalGloss();
    p.useOriginalSaturation = true;
    p.hue = 0.1f;
    const BitmapRep out = aquify(prepared, p);
    const std::uint32_t v = pixel(out, 3, 3);
    EXPECT_EQ(v >> 24, (v >> 16) & 0xFF);
    EXPECT_EQ(v >> 24, (v >> 8) & 0xFF);
}

TEST_F(GlossTest, OpacityOutsideTheRangeClampsInsteadOfWrapping)
{
    BitmapRep colour = makeBuffer(6, 6, [](int, int) { return 0x000000FFu; });
    const Prepared prepared = prepare(colour);
    AquifyParameters p = typicalGloss();
    p.alpha = 2.0f;
    EXPECT_EQ(pixel(aquify(prepared, p), 3, 3) & 0xFF, 255u);
    p.alpha = -1.0f;
    EXPECT_EQ(pixel(aquify(prepared, p), 3, 3), 0u);
    p.alpha = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(pixel(aquify(prepared, p), 3, 3), 0u);
}

TEST_F(GlossTest, HostileSettingsFinish)
{
    const Prepared prepared = prepare(randomShapes(40, 30, 11));
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float v : {inf, -inf, nan, 1e30f, -1e30f}) {
        AquifyParameters p = typicalGloss();
        p.xOffset = v;
        p.hue = v;
        expectPremultiplied(aquify(prepared, p), "hostile hue " + std::to_string(v));
        p = typicalGloss();
        p.margin = v; // would index outside the tables if unguarded
        p.contrast = v;
        p.brightness = v;
        p.circular = true;
        p.yOffset = v;
        expectPremultiplied(aquify(prepared, p), "hostile " + std::to_string(v));
    }
}

TEST(WrapHue, WrapsWithinTheNormalRangeLikeStepping)
{
    EXPECT_EQ(wrapHue(-0.3f), -0.3f + 1.0f);
    EXPECT_EQ(wrapHue(1.0f), 0.0f);
    EXPECT_EQ(wrapHue(2.75f), 0.75f);
    for (float h = -60.0f; h < 60.0f; h += 0.37f) {
        float stepped = h;
        while (stepped < 0)
            stepped += 1;
        while (stepped >= 1)
            stepped -= 1;
        ASSERT_EQ(wrapHue(h), stepped) << h;
    }
}

TEST(WrapHue, EndsForAnyHue)
{
    for (float h : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f, 1e7f + 0.5f}) {
        const float w = wrapHue(h);
        EXPECT_GE(w, 0.0f) << h;
        EXPECT_LT(w, 1.0f) << h;
    }
}
