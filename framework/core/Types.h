#pragma once
// The framework's small value types: points, sizes and rectangles with the field names of
// the classic framework. A rectangle's right and bottom edges are outside it.

#include <algorithm>
#include <cstdint>
#include <climits>

struct TPoint {
    int32_t X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int32_t cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int32_t x, int32_t y) { return { x, y }; }
inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return { l, t, r, b }; }
inline TRect Bounds(int32_t l, int32_t t, int32_t w, int32_t h) { return { l, t, l + w, t + h }; }

// True when the point lies inside (right and bottom edges excluded).
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

inline void OffsetRect(TRect& r, int32_t dx, int32_t dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

inline void InflateRect(TRect& r, int32_t dx, int32_t dy)
{
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

// Moves every edge of r inward by n (outward for a negative n). Edges stop at a quarter of
// the 32-bit range, where a rectangle is far beyond any surface, so that sums of a few
// edges and offsets taken afterwards cannot overflow.
inline void InsetRect(TRect& r, int64_t n)
{
    auto edge = [](int64_t v) {
        return int32_t(std::clamp<int64_t>(v, INT32_MIN / 4, INT32_MAX / 4));
    };
    r = TRect { edge(r.Left + n), edge(r.Top + n), edge(r.Right - n), edge(r.Bottom - n) };
}

// The overlap of a and b; false (and an all-zero result) when they do not overlap.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    TRect r { std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
        std::min(a.Bottom, b.Bottom) };
    if (r.IsEmpty()) {
        out = {};
        return false;
    }
    out = r;
    return true;
}
