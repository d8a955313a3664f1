#include "window/layout/WindowPlacement.h"

#include <charconv>

namespace gelcoat::layout {

namespace {

// Further than any desktop reaches; also keeps every sum within an int.
constexpr int kFarthest = 1'000'000;

// The next whitespace-separated integer of text, advancing past it.
std::optional<int> nextInteger(std::string_view& text)
{
    const auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(start);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || value > kFarthest || value < -kFarthest)
        return std::nullopt;
    text.remove_prefix(std::size_t(end - text.data()));
    if (!text.empty() && text.front() != ' ' && text.front() != '\t')
        return std::nullopt;
    return value;
}

} // namespace

std::string savedFrameText(const ScreenRect& frame)
{
    return std::to_string(frame.x) + ' ' + std::to_string(frame.y) + ' '
        + std::to_string(frame.width) + ' ' + std::to_string(frame.height);
}

std::optional<ScreenRect> savedFrameFromText(std::string_view text)
{
    ScreenRect frame;
    for (int* field : {&frame.x, &frame.y, &frame.width, &frame.height}) {
        const std::optional<int> value = nextInteger(text);
        if (!value)
            return std::nullopt;
        *field = *value;
    }
    if (text.find_first_not_of(" \t") != std::string_view::npos || frame.width <= 0
        || frame.height <= 0)
        return std::nullopt;
    return frame;
}

ScreenPoint cascadeTopLeft(ScreenPoint from, int frameWidth, int frameHeight,
                           const ScreenRect& available, int step)
{
    ScreenPoint next{from.x + step, from.y + step};
    if (next.x + frameWidth > available.right())
        next.x = available.x;
    if (next.y + frameHeight > available.bottom())
        next.y = available.y;
    // A window larger than the area both ways would go back to the same
    // corner every time.
    if (next == from)
        next = {from.x + step, from.y + step};
    return next;
}

} // namespace gelcoat::layout
