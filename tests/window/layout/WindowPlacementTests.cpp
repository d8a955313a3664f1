// Where document windows go: the saved frame's text, which may have been
// edited by hand or damaged, and the cascade of new windows.

#include "window/layout/WindowPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace gelcoat::layout;

namespace gelcoat::layout {
void PrintTo(const ScreenPoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
} // namespace gelcoat::layout

TEST(SavedFrame, ReadsBackWhatItWroteAndNothingElse)
{
    const ScreenRect frame{-40, 22, 842, 676};
    EXPECT_EQ(savedFrameText(frame), "-40 22 842 676");
    EXPECT_EQ(savedFrameFromText(savedFrameText(frame)), frame);
    EXPECT_EQ(savedFrameFromText("  10\t20 686 574 "), (ScreenRect{10, 20, 686, 574}));
    for (const char* bad : {"", "10 20 686", "10 20 686 574 9", "10 20 686 0", "10 20 -686 574",
                            "10 20 686x574", "a b c d", "10 20 686.5 574", "10 20 1e9 574",
                            "10 20 99999999999999999999 574", "-2147483648 0 686 574"})
        EXPECT_FALSE(savedFrameFromText(bad)) << bad;
}

TEST(Cascade, StepsDownAndRightWithinTheAvailableArea)
{
    const ScreenRect screen{0, 30, 1440, 870};   // below a 30-pixel panel
    EXPECT_EQ(cascadeTopLeft({100, 60}, 690, 600, screen, 22), (ScreenPoint{122, 82}));
    // Past the bottom edge the window goes back up, past the right edge
    // back to the left, each on its own.
    EXPECT_EQ(cascadeTopLeft({100, 290}, 690, 600, screen, 22), (ScreenPoint{122, 30}));
    EXPECT_EQ(cascadeTopLeft({740, 60}, 690, 600, screen, 22), (ScreenPoint{0, 82}));
    // Too large for the area: never on top of the window before.
    EXPECT_EQ(cascadeTopLeft({0, 30}, 1500, 900, screen, 22), (ScreenPoint{22, 52}));
}
