#pragma once
// Where a document window goes on the desktop: the frame every window
// saves for the next one, in text a person can read and edit, and the
// cascade that keeps a new window from covering the one before it.
// Desktop coordinates here are the window system's: y grows downwards.

#include <optional>
#include <string>
#include <string_view>

namespace gelcoat::layout {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// "x y width height", the way a saved frame is stored.
std::string savedFrameText(const ScreenRect& frame);
// The frame in such a text; nothing for anything else, an empty or
// negative size, or numbers no desktop reaches.
std::optional<ScreenRect> savedFrameFromText(std::string_view text);

// The smallest step between cascaded windows, for windows whose title bar
// is thinner or missing.
inline constexpr int kMinimumCascadeStep = 22;

// The top-left corner a new window of the given frame size takes when it
// cascades from `from`: one step right and down, each coordinate going back
// to the available area's edge when the window would run past the far one.
// Never `from` itself, so that the new window never hides the last one.
ScreenPoint cascadeTopLeft(ScreenPoint from, int frameWidth, int frameHeight,
                           const ScreenRect& available, int step);

} // namespace gelcoat::layout
