#pragma once
// Internals of the drawing context: device-space painting through the clip. Everything
// here works in 64-bit device coordinates, so logical + origin never overflows, and every
// write is limited to the clip rectangles, which lie inside the surface.

#include "platform/raster/Dc.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace plat::detail {

__extension__ typedef __int128 DcInt128;

// A half-open rectangle in 64-bit device coordinates.
struct Box {
    int64_t l = 0, t = 0, r = 0, b = 0;
    bool Empty() const { return r <= l || b <= t; }
    Box Intersect(const Box& o) const
    {
        return { std::max(l, o.l), std::max(t, o.t), std::min(r, o.r), std::min(b, o.b) };
    }
};

inline Box ToBox(const Rect& r) { return { r.left, r.top, r.right, r.bottom }; }

// The result of a pen or brush mix on one destination pixel.
inline Pixel Mix(Rop2 mode, Pixel d, Pixel c)
{
    switch (mode) {
    case Rop2::CopyPen: return c;
    case Rop2::XorPen: return (d ^ c) & 0xFFFFFF;
    case Rop2::Not: return ~d & 0xFFFFFF;
    case Rop2::NotXorPen: return ~(d ^ c) & 0xFFFFFF;
    case Rop2::Black: return 0;
    case Rop2::White: return 0xFFFFFF;
    }
    return c;
}

inline void MixSpan(Pixel* p, size_t n, Rop2 mode, Pixel c)
{
    switch (mode) {
    case Rop2::CopyPen: std::fill_n(p, n, c); return;
    case Rop2::Black: std::fill_n(p, n, Pixel(0)); return;
    case Rop2::White: std::fill_n(p, n, Pixel(0xFFFFFF)); return;
    default:
        for (size_t i = 0; i < n; ++i)
            p[i] = Mix(mode, p[i], c);
    }
}

// Writes into a surface through a clip region that lies inside it. A painter made for a
// missing or empty surface, or with an empty clip, paints nothing.
class Painter {
public:
    // The clip is borrowed, not copied: it must outlive the painter (the context's cached
    // effective clip does).
    Painter(Surface* target, const Region& clip)
        : FTarget(target)
        , FClipRef(&clip)
    {
        static const Region none;
        if (!FTarget || FTarget->Empty())
            FClipRef = &none;
        FBounds = ToBox(FClipRef->Bounds());
    }

    bool Empty() const { return FClipRef->Empty(); }
    const Box& Bounds() const { return FBounds; }
    const Region& Clip() const { return *FClipRef; }
    Surface* Target() const { return FTarget; }

    // Calls f(Pixel* first, int64_t x, size_t count) for each visible run of [x0, x1) on
    // row y, left to right.
    template <class F> void ForEachSpan(int64_t y, int64_t x0, int64_t x1, F&& f) const
    {
        if (y < FBounds.t || y >= FBounds.b || x1 <= FBounds.l || x0 >= FBounds.r || x0 >= x1)
            return;
        const std::vector<Rect>& rs = FClipRef->Rects();
        auto it = rs.begin() + ptrdiff_t(BandOf(rs, y));
        if (it == rs.end() || it->top > y)
            return;
        const int32_t top = it->top;
        Pixel* row = FTarget->Row(int32_t(y));
        for (; it != rs.end() && it->top == top; ++it) {
            int64_t a = std::max<int64_t>(x0, it->left), b = std::min<int64_t>(x1, it->right);
            if (a < b)
                f(row + a, a, size_t(b - a));
            if (it->right >= x1)
                break;
        }
    }

    // Index of the first rectangle of the band holding or following row y. Lines and
    // outlines go from row to row, so the band of the last call and its neighbours are
    // tried before a search.
    size_t BandOf(const std::vector<Rect>& rs, int64_t y) const
    {
        const size_t n = rs.size();
        // k is the answer when the bands before it end at or above y and its own does not.
        auto first = [&](size_t k) {
            return (k == n || rs[k].bottom > y) && (k == 0 || rs[k - 1].bottom <= y);
        };
        size_t h = std::min(FBandHint, n);
        if (first(h))
            return h;
        if (h < n) {
            size_t j = h;
            while (j < n && rs[j].top == rs[h].top)
                ++j;
            if (first(j))
                return FBandHint = j;
        }
        if (h > 0) {
            size_t k = h - 1;
            while (k > 0 && rs[k - 1].top == rs[k].top)
                --k;
            if (first(k))
                return FBandHint = k;
        }
        // Bottoms never decrease along a banded list, so the band of y is found by search.
        auto it = std::upper_bound(rs.begin(), rs.end(), y,
            [](int64_t v, const Rect& r) { return v < r.bottom; });
        return FBandHint = size_t(it - rs.begin());
    }

    void FillSpan(int64_t y, int64_t x0, int64_t x1, Rop2 mode, Pixel c) const
    {
        ForEachSpan(y, x0, x1, [&](Pixel* p, int64_t, size_t n) { MixSpan(p, n, mode, c); });
    }

    // Fills a device rectangle: clip rectangles first, so the work is the pixels touched.
    void FillBox(const Box& box, Rop2 mode, Pixel c) const
    {
        Box b = box.Intersect(FBounds);
        if (b.Empty())
            return;
        const std::vector<Rect>& rs = FClipRef->Rects();
        // Bands above the box are skipped by search: bottoms never decrease.
        auto first = std::partition_point(
            rs.begin(), rs.end(), [&](const Rect& r) { return r.bottom <= b.t; });
        for (auto it = first; it != rs.end(); ++it) {
            const Rect& r = *it;
            if (r.top >= b.b)
                break;
            Box k = b.Intersect(ToBox(r));
            if (k.Empty())
                continue;
            for (int64_t y = k.t; y < k.b; ++y)
                MixSpan(FTarget->Row(int32_t(y)) + k.l, size_t(k.r - k.l), mode, c);
        }
    }

    void Plot(int64_t x, int64_t y, Rop2 mode, Pixel c) const { FillSpan(y, x, x + 1, mode, c); }

private:
    Surface* FTarget;
    mutable size_t FBandHint = 0;
    const Region* FClipRef;
    Box FBounds;
};

// A row-convex shape (a rectangle with elliptic corners; a full ellipse when the corners
// are as large as the box) on pixel rows. The corner ellipse is the one inscribed in a
// cw x ch box; a pixel belongs to it when its centre lies within half a pixel, across or
// along the row, of the ideal ellipse through the centres of the box's outer pixels. This
// keeps the shape symmetric, touches all four sides of the box and leaves no gaps.
class RoundShape {
public:
    RoundShape() = default;
    RoundShape(const Box& box, int64_t cw, int64_t ch);
    bool Empty() const { return FBox.Empty(); }
    const Box& Bounds() const { return FBox; }
    // The covered columns [l, r) of row y; empty outside the box.
    Box Row(int64_t y) const;

private:
    int64_t Inset(int64_t d) const;   // the corner's inset on the d-th row from an edge
    Box FBox;
    int64_t FA = 0, FB = 0;   // twice the corner ellipse's half axes, on pixel centres
};

// The fill region of a polygon given in logical points, in device coordinates, cut to the
// clip box; the work follows the clip's rows however far the polygon reaches.
Region ClippedPolygon(std::span<const Point> points, FillMode mode, Point origin, const Box& clip);
// The same into out, reusing its storage.
void ClippedPolygon(
    std::span<const Point> points, FillMode mode, Point origin, const Box& clip, Region& out);

// The dash pattern of a cosmetic pen, in pixels on, off, on, off...; empty for solid.
std::vector<int> DashPattern(PenStyle style);

} // namespace plat::detail
