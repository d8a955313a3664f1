#pragma once
// The table lookup, inline because the gloss stage runs it for every pixel.

#include <cmath>

namespace gelcoat::detail {

// floor(pos) as a table index in [0, limit − 1]; NaN and negatives give 0,
// so that no setting can index outside the tables.
inline int tableIndex(float pos, int limit)
{
    const float f = std::floor(pos);
    if (!(f >= 0.0f))
        return 0;
    if (f >= float(limit))
        return limit - 1;
    return int(f);
}

inline float horizontalPosition(float left, float right)
{
    constexpr int N = aquaArraySize;
    const float s = left + right;
    float xpos = 0.0f;
    if (s != 0.0f) {
        float u = float(2.0 * double(left * float(N)) / double(s));
        if (u > float(N))
            u = float(2 * N) - u;
        xpos = float(N) - u;
    }
    if (s >= float(2 * N)) {
        if (left <= float(N))
            xpos = float(N) - left;
        else if (right <= float(N))
            xpos = float(N) - right;
        else
            xpos = 0.0f;
    }
    return xpos;
}

inline float verticalPosition(float top, float bottom, int sub)
{
    const float t = top + bottom;
    const float fsub = float(sub);
    float ypos;
    if (t == 0.0f)
        ypos = fsub * 0.5f;
    else
        ypos = top * fsub / t;
    if (t >= fsub) {
        if (top <= fsub / 2.0f)
            ypos = top;
        else if (bottom <= fsub / 2.0f)
            ypos = fsub - bottom;
        else
            ypos = fsub / 2.0f;
    }
    return ypos;
}

// One table column's two weighted entries.
struct ColumnSample {
    int iy;
    float fy;
};

inline ColumnSample columnSample(float top, float bottom, int column)
{
    const int sub = aquaSubarraySize[column];
    const float ypos = verticalPosition(top, bottom, sub);
    const int iy = tableIndex(ypos, sub);
    return {iy, ypos - float(iy)};
}

} // namespace gelcoat::detail
