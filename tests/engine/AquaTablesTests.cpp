#include "engine/colour/ColorConversions.h"
#include "engine/shading/AquaTables.h"
#include "tests/support/TestImages.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

using namespace gelcoat;
using namespace gelcoat::test;

namespace {

class AquaTablesTest : public ::testing::Test {
protected:
    void SetUp() override { useSyntheticBase(); }

    // Interpolated (h, s, v) of the tables at the given distances.
    static std::array<float, 3> lookup(float l, float r, float t, float b, float hue0 = 0)
    {
        std::array<float, 3> acc{hue0, 0, 0};
        addValuesForDistances(l, r, t, b, &acc[0], &acc[1], &acc[2], 0);
        return acc;
    }
    static std::array<float, 3> entry(int i, int j)
    {
        const AquaTables& t = aquaTables();
        return {t.hue[i][j], t.saturation[i][j], t.value[i][j]};
    }
};

} // namespace

TEST_F(AquaTablesTest, SamplesTheRightHalfAlongEachChord)
{
    const BitmapRep base = syntheticBase();
    for (int i = 0; i <= 10; ++i) {
        const int sub = aquaSubarraySize[i];
        for (int j = 0; j <= 20; ++j) {
            float h = 0, s = 0, v = 0;
            if (j <= sub)
                HSVforValue(pixel(base, 10 + i, j + (20 - sub) / 2), &h, &s, &v);
            EXPECT_EQ(entry(i, j), (std::array<float, 3>{h, s, v})) << i << "," << j;
        }
    }
}

TEST_F(AquaTablesTest, SamplesTheLowerLeftCornerOfALargerPicture)
{
    setBaseImageProvider([] {
        BitmapRep big = makeBuffer(30, 25, [](int x, int y) {
            return (x < 21 && y >= 4) ? (pixel(syntheticBase(), x, y - 4) | 0xFF) : 0xFF0000FFu;
        });
        return std::optional<BitmapRep>(std::move(big));
    });
    resetAquaArraysForTesting();
    initializeAquaArrays();
    const AquaTables copy = aquaTables();
    useSyntheticBase();
    EXPECT_EQ(std::memcmp(&copy, &aquaTables(), sizeof copy), 0);
}

TEST_F(AquaTablesTest, MissingPictureLogsOnceAndLeavesTablesUnfilled)
{
    LogCapture log;
    setBaseImageProvider([] { return std::optional<BitmapRep>(); });
    resetAquaArraysForTesting();
    initializeAquaArrays();
    initializeAquaArrays();
    EXPECT_FALSE(aquaArraysInitialized());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Can't sample base.tiff -- [baseBits samplesPerPixel] == 0, "
                              "[baseBits bitsPerPixel] == 0, [baseBits isPlanar] == NO");
}

TEST_F(AquaTablesTest, EqualSidesReadTheCentreColumn)
{
    // left = right: xpos 0; top = bottom: the chord's middle.
    EXPECT_EQ(lookup(3, 3, 4, 4), entry(0, 10));
    EXPECT_EQ(lookup(0, 0, 0, 0), entry(0, 10));
}

TEST_F(AquaTablesTest, LeftEdgeReadsTheRimColumn)
{
    // left 0, right 5: xpos N, ix N − 1, fx 1: only column 10 contributes.
    const auto v = lookup(0, 5, 2, 2);
    EXPECT_EQ(v, entry(10, 2));
}

TEST_F(AquaTablesTest, WideShapesGetARimAtEachSide)
{
    // left 3, right 50: xpos 7; left 30, right 40: xpos 0.
    const auto narrowRim = lookup(3, 50, 100, 100);
    const auto e7 = entry(7, 7);
    EXPECT_EQ(narrowRim, e7);
    EXPECT_EQ(lookup(30, 40, 100, 100), entry(0, 10));
}

TEST_F(AquaTablesTest, TopAndBottomOfTheChord)
{
    EXPECT_EQ(lookup(5, 5, 0, 7), entry(0, 0));
    // bottom 0 with a tall shape: ypos = sub, the chord's last sample, full weight.
    EXPECT_EQ(lookup(5, 5, 40, 0), entry(0, 20));
}

TEST_F(AquaTablesTest, AccumulatesOntoTheStartingValues)
{
    const auto v = lookup(2, 7, 1, 3, 0.25f);
    const auto w = lookup(2, 7, 1, 3, 0.0f);
    EXPECT_NEAR(v[0], 0.25f + w[0], 1e-6f);
    EXPECT_EQ(v[1], w[1]);
    float h = 0, s = 0, val = 0;
    addValuesForDistances(2, 7, 1, 3, &h, &s, &val, 0.5f);
    EXPECT_NEAR(h, w[0] + 0.5f, 1e-6f);
}

TEST_F(AquaTablesTest, NonFiniteDistancesStayInsideTheTables)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // The weights of one lookup sum to 1 and every table entry is a
    // fraction, so each sum stays within [0, 1] or, where a NaN distance
    // poisons the weights, is NaN, never a value read from outside.
    const auto fraction = [](float x) { return std::isnan(x) || (x >= 0.0f && x <= 1.0f); };
    for (float d : {inf, nan, 1e30f, -1e30f}) {
        for (int side = 0; side < 2; ++side) {
            float h = 0, s = 0, v = 0;
            if (side == 0)
                addValuesForDistances(d, 1, d, 2, &h, &s, &v, 0);
            else
                addValuesForDistances(1, d, 2, d, &h, &s, &v, 0);
            EXPECT_TRUE(fraction(h) && fraction(s) && fraction(v))
                << d << " side " << side << ": " << h << " " << s << " " << v;
            if (!std::isnan(d)) {
                EXPECT_TRUE(std::isfinite(h) && std::isfinite(s) && std::isfinite(v)) << d;
            }
        }
    }
}
