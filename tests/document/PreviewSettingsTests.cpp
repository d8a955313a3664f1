// Previews render a reduced stencil: what is measured in stencil pixels
// shrinks with it, everything else stays.

#include "document/pipeline/PreviewSettings.h"
#include "engine/shadow/DropShadow.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gelcoat {
namespace {

double bevelWidth(float aquaMargin)
{
    const double m = 100.0 - aquaMargin;
    return 10.0 / (4.0 * m * m / 10000.0 + 0.01);
}

TEST(PreviewSettings, PixelMeasuresShrinkWithTheStencil)
{
    TintSettings exact;
    exact.aquaMargin = 60.0f;
    exact.shadowSharpness = 5.0f; // radius 20
    exact.shadowXOffset = 10.0f;
    exact.shadowYOffset = -7.0f;
    exact.sourceBugX = 40;
    exact.sourceBugY = -21;
    exact.finalSize = 37.0f;
    const TintSettings p = previewSettings(exact, 0.25);

    EXPECT_NEAR(bevelWidth(p.aquaMargin), bevelWidth(exact.aquaMargin) * 0.25, 1e-3);
    EXPECT_EQ(shadowRadiusForSharpness(p.shadowSharpness), 5);
    EXPECT_FLOAT_EQ(p.shadowXOffset, 2.5f);
    EXPECT_FLOAT_EQ(p.shadowYOffset, -1.75f);
    EXPECT_EQ(p.sourceBugX, 10);
    EXPECT_EQ(p.sourceBugY, -5);
    EXPECT_EQ(p.finalSize, 100.0f);
    // Tint, opacity and density are no measures of length.
    EXPECT_EQ(p.userHue, exact.userHue);
    EXPECT_EQ(p.shadowDensity, exact.shadowDensity);
    EXPECT_EQ(p.rainbowXOffset, exact.rainbowXOffset);
}

TEST(PreviewSettings, NarrowestBevelAndSmallestBlurAreKept)
{
    TintSettings exact;
    exact.aquaMargin = 0.0f;        // the narrowest bevel there is
    exact.shadowSharpness = 100.0f; // radius 1
    const TintSettings p = previewSettings(exact, 0.1);
    EXPECT_EQ(p.aquaMargin, 0.0f);
    EXPECT_EQ(shadowRadiusForSharpness(p.shadowSharpness), 1);
    // A margin typed beyond the slider's range is read as its nearest end.
    exact.aquaMargin = 250.0f;
    EXPECT_TRUE(std::isfinite(previewSettings(exact, 0.5).aquaMargin));
}

} // namespace
} // namespace gelcoat
