#pragma once
// The rule that moves and stretches one control of the document window as
// the document area grows beyond its base size.  Frames are y-up (origin
// at the bottom left of the document area, y growing upwards) in single
// precision, so that + dH keeps a control at the top edge.  Everything
// outside this folder states rectangles y-down, as the form and Qt do;
// upFrame and downRect are the one conversion between the two.

namespace gelcoat::layout {

// The document area the window description is drawn for.
inline constexpr int kBaseWidth = 686;
inline constexpr int kBaseHeight = 574;

struct Frame {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    bool operator==(const Frame&) const = default;
};

// A rectangle y-down: (x, y) is its top-left corner.
struct DownRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DownRect&) const = default;
};

// Between y-down rectangles and y-up frames in an area `height` high.
Frame upFrame(const DownRect& r, int height);
DownRect downRect(const Frame& f, int height);

// How a control follows the growth; the numbers are those the layout
// tables use.  Any other number, Fixed among them, leaves a frame alone.
enum Mode : int {
    Fixed = -1,
    FollowTopAtCentre = 0,       // the pop-up action buttons
    GrowLeftWell = 1,            // the source well
    GrowRightWell = 2,           // the result well
    CentreBetweenWells = 3,      // the rendering toggle and its arrows
    SpanBothHalves = 6,          // the horizontal divider
    MoveWithRightHalf = 7,       // controls at the left end of the right half
    StretchLeftHalf = 9,         // left-half sliders and the hue strip
    StretchRightHalf = 10,       // right-half sliders
    MoveToRightEdge = 11,        // controls at the right end of the right half
    OneQuarterAlong = 12,        // tick labels under a right-half slider
    OneHalfAlong = 13,
    ThreeQuartersAlong = 14,
};

// The growth of the document area over the base size; half is dW / 2
// truncated toward zero (-1 / 2 = 0, -3 / 2 = -1).
struct Growth {
    int dW = 0;
    int dH = 0;
    int half = 0;
    bool operator==(const Growth&) const = default;
};
// The growth of an area of the given size, each excess truncated toward zero.
Growth growthOf(double width, double height);
// The growth by the given excess over the base size.
Growth growthBy(int dW, int dH);

// The frame a control drawn at `recorded` takes after the growth.
Frame resizeFrame(const Frame& recorded, const Growth& growth, int mode);

} // namespace gelcoat::layout
