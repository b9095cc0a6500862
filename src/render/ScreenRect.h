#pragma once

#include <algorithm>
#include <optional>

// A rectangle in pixels of a render target, (0, 0) at the top-left corner.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Empty() const { return width <= 0 || height <= 0; }
    bool Covers(int targetWidth, int targetHeight) const
    {
        return x <= 0 && y <= 0 && Right() >= targetWidth && Bottom() >= targetHeight;
    }

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The smallest rectangle holding both.
inline ScreenRect Union(const ScreenRect& a, const ScreenRect& b)
{
    const int left = std::min(a.x, b.x);
    const int top = std::min(a.y, b.y);
    return {left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

// The part of r inside a target of the given size; empty when none is.
inline ScreenRect ClampTo(const ScreenRect& r, int width, int height)
{
    const int left = std::clamp(r.x, 0, width);
    const int top = std::clamp(r.y, 0, height);
    return {left, top, std::clamp(r.Right(), 0, width) - left, std::clamp(r.Bottom(), 0, height) - top};
}
