#pragma once
// Points and rectangles of the raster engine. A rectangle is half-open: it covers
// left <= x < right and top <= y < bottom. An inverted rectangle is empty.

#include <algorithm>
#include <cstdint>

namespace plat {

struct Point {
    int32_t x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t cx = 0, cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    int64_t Width() const { return int64_t(right) - left; }
    int64_t Height() const { return int64_t(bottom) - top; }
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Whether o lies within this rectangle, corner by corner.
    bool Contains(const Rect& o) const
    {
        return left <= o.left && top <= o.top && right >= o.right && bottom >= o.bottom;
    }
    Rect Offset(int32_t dx, int32_t dy) const;   // saturates at the 32-bit limits
    Rect Intersect(const Rect& o) const
    {
        Rect r { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom) };
        return r.Empty() ? Rect {} : r;
    }
    // Bounding box of both; an empty operand is ignored.
    Rect Union(const Rect& o) const
    {
        if (Empty())
            return o.Empty() ? Rect {} : o;
        if (o.Empty())
            return *this;
        return { std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom) };
    }
    // The same rectangle with its corners put in order (right >= left, bottom >= top).
    Rect Normalized() const
    {
        return { std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom) };
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// v pulled into the 32-bit range: the one saturating conversion from 64-bit arithmetic.
constexpr int32_t ClampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

inline int32_t SaturatingAdd(int32_t a, int32_t b) { return ClampToInt32(int64_t(a) + b); }

inline Rect Rect::Offset(int32_t dx, int32_t dy) const
{
    return { SaturatingAdd(left, dx), SaturatingAdd(top, dy), SaturatingAdd(right, dx),
        SaturatingAdd(bottom, dy) };
}

} // namespace plat
