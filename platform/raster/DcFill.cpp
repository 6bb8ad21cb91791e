// Rectangles, regions and polygons: filled areas and straight outlines.

#include "platform/raster/Dc.h"

#include "platform/raster/Dc_p.h"
#include "platform/raster/Region_p.h"

namespace plat {

using detail::Box;
using detail::Painter;

namespace {

Box DeviceBox(const Rect& r, Point origin)
{
    return { int64_t(r.left) + origin.x, int64_t(r.top) + origin.y, int64_t(r.right) + origin.x,
        int64_t(r.bottom) + origin.y };
}

// The pixels of outer that are not in inner, each painted once.
void FillRing(const Painter& p, const Box& outer, const Box& inner, Rop2 mode, Pixel c)
{
    if (outer.Empty())
        return;
    if (inner.Empty()) {
        p.FillBox(outer, mode, c);
        return;
    }
    p.FillBox({ outer.l, outer.t, outer.r, inner.t }, mode, c);
    p.FillBox({ outer.l, inner.b, outer.r, outer.b }, mode, c);
    p.FillBox({ outer.l, inner.t, inner.l, inner.b }, mode, c);
    p.FillBox({ inner.r, inner.t, outer.r, inner.b }, mode, c);
}

// Fills area met with the clip. Both are banded lists, walked side by side band by band:
// the spans of two overlapping bands are met in one pass and each piece is filled over
// the rows the bands share, so the intersection is painted without being built.
void FillClipped(const Painter& p, const Region& area, Pixel c)
{
    const std::vector<Rect>& ar = area.Rects();
    const std::vector<Rect>& cr = p.Clip().Rects();
    const Rect *a = ar.data(), *aLast = a + ar.size();
    const Rect *k = cr.data(), *kLast = k + cr.size();
    // A painter without a surface has an empty clip: the loop does not run.
    Surface* target = p.Target();
    while (a != aLast && k != kLast) {
        if (k->bottom <= a->top) {
            k = detail::BandEnd(k, kLast);
            continue;
        }
        if (a->bottom <= k->top) {
            a = detail::BandEnd(a, aLast);
            continue;
        }
        const Rect* aEnd = detail::BandEnd(a, aLast);
        const Rect* kEnd = detail::BandEnd(k, kLast);
        const int32_t top = std::max(a->top, k->top), bottom = std::min(a->bottom, k->bottom);
        for (const Rect *i = a, *j = k; i != aEnd && j != kEnd;) {
            const int32_t l = std::max(i->left, j->left), r = std::min(i->right, j->right);
            if (l < r)
                for (int32_t y = top; y < bottom; ++y)
                    std::fill_n(target->Row(y) + l, size_t(r - l), c);
            if (i->right <= j->right)
                ++i;
            else
                ++j;
        }
        // The band that ends first gives way; one ending with the other goes too.
        const int32_t aBottom = a->bottom, kBottom = k->bottom;
        if (aBottom <= kBottom)
            a = aEnd;
        if (kBottom <= aBottom)
            k = kEnd;
    }
}

} // namespace

namespace detail {

Region ClippedPolygon(std::span<const Point> points, FillMode mode, Point origin, const Box& clip)
{
    Region r;
    ClippedPolygon(points, mode, origin, clip, r);
    return r;
}

void ClippedPolygon(
    std::span<const Point> points, FillMode mode, Point origin, const Box& clip, Region& out)
{
    if (points.size() < 3 || clip.Empty()) {
        out.Clear();
        return;
    }
    // Logical pixels beyond the 32-bit range never lie inside a polygon of 32-bit points.
    Rect box { ClampToInt32(clip.l - origin.x), ClampToInt32(clip.t - origin.y),
        ClampToInt32(clip.r - origin.x), ClampToInt32(clip.b - origin.y) };
    out.AssignPolygon(points, mode, box);
    out.Offset(origin.x, origin.y);
}

} // namespace detail

void Dc::FillRect(const Rect& r, Color c)
{
    Painter p(FTarget, ClipRef());
    p.FillBox(DeviceBox(r, FState.origin), Rop2::CopyPen, ToPixel(c) & 0xFFFFFF);
}

void Dc::FillRect(const Rect& r)
{
    if (FState.brush.style == BrushStyle::Clear)
        return;
    FillRect(r, FState.brush.color);
}

void Dc::FrameRect(const Rect& r, Color c)
{
    Painter p(FTarget, ClipRef());
    Box o = DeviceBox(r, FState.origin);
    FillRing(p, o, { o.l + 1, o.t + 1, o.r - 1, o.b - 1 }, Rop2::CopyPen, ToPixel(c) & 0xFFFFFF);
}

void Dc::InvertRect(const Rect& r)
{
    Painter p(FTarget, ClipRef());
    p.FillBox(DeviceBox(r, FState.origin), Rop2::Not, 0);
}

void Dc::FillRegion(const Region& logical, Color c)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty())
        return;
    Region area = logical;
    area.Offset(FState.origin.x, FState.origin.y);
    FillClipped(p, area, ToPixel(c) & 0xFFFFFF);
}

void Dc::DrawFocusRect(const Rect& r)
{
    Painter p(FTarget, ClipRef());
    Box full = DeviceBox(r, FState.origin);
    Box o = full.Intersect(p.Bounds());
    if (o.Empty() || full.Empty())
        return;
    // Every other pixel of the one-pixel frame is inverted, on a checkerboard fixed to the
    // device, so drawing the same frame twice restores the picture.
    auto dotted = [&](int64_t y, int64_t x0, int64_t x1) {
        p.ForEachSpan(y, x0, x1, [&](Pixel* px, int64_t x, size_t n) {
            for (size_t i = ((x + y) & 1) ? 1 : 0; i < n; i += 2)
                px[i] ^= 0xFFFFFF;
        });
    };
    for (int64_t y = o.t; y < o.b; ++y) {
        if (y == full.t || y == full.b - 1)
            dotted(y, full.l, full.r);
        else {
            dotted(y, full.l, full.l + 1);
            if (full.r - 1 > full.l)
                dotted(y, full.r - 1, full.r);
        }
    }
}

void Dc::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty())
        return;
    Box box = DeviceBox(Rect { x1, y1, x2, y2 }.Normalized(), FState.origin);
    if (box.Empty())
        return;
    const Pen& pen = FState.pen;
    Box inner = box;
    if (pen.style != PenStyle::Clear) {
        int64_t w = std::max<int64_t>(1, pen.width);
        Box outer = box;
        // A wide pen is centred on the outline through the outer pixels; an odd extra
        // pixel goes up and left. InsideFrame keeps it within the box.
        if (pen.style != PenStyle::InsideFrame && w > 1)
            outer = { box.l - w / 2, box.t - w / 2, box.r + (w - 1) / 2, box.b + (w - 1) / 2 };
        inner = { outer.l + w, outer.t + w, outer.r - w, outer.b - w };
        bool dashed = w == 1 && !detail::DashPattern(pen.style).empty() && box.r - box.l > 1
            && box.b - box.t > 1;
        if (dashed) {
            const int32_t phase = FState.dashPhase;
            FState.dashPhase = 0;
            StrokeSegment(p, box.l, box.t, box.r - 1, box.t);
            StrokeSegment(p, box.r - 1, box.t, box.r - 1, box.b - 1);
            StrokeSegment(p, box.r - 1, box.b - 1, box.l, box.b - 1);
            StrokeSegment(p, box.l, box.b - 1, box.l, box.t);
            FState.dashPhase = phase;
        } else {
            FillRing(p, outer, inner, pen.mode, ToPixel(pen.color) & 0xFFFFFF);
        }
    }
    if (FState.brush.style == BrushStyle::Solid)
        p.FillBox(inner, Rop2::CopyPen, ToPixel(FState.brush.color) & 0xFFFFFF);
}

void Dc::Polygon(std::span<const Point> points)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty() || points.size() < 2)
        return;
    const Pen& pen = FState.pen;
    const Pixel fill = ToPixel(FState.brush.color) & 0xFFFFFF;
    if (FState.brush.style == BrushStyle::Solid && points.size() >= 3
        && pen.style == PenStyle::Solid && pen.width <= 1 && pen.mode == Rop2::CopyPen
        && (ToPixel(pen.color) & 0xFFFFFF) == fill) {
        // Fill and outline of one colour: the pixels of both, painted once.
        thread_local Region area;
        const Box& device = p.Bounds();
        const Point o = FState.origin;
        PolygonCoverage(points, FState.fillMode,
            { ClampToInt32(device.l - o.x), ClampToInt32(device.t - o.y),
                ClampToInt32(device.r - o.x), ClampToInt32(device.b - o.y) },
            area);
        area.Offset(o.x, o.y);
        FillClipped(p, area, fill);
        return;
    }
    if (FState.brush.style == BrushStyle::Solid && points.size() >= 3) {
        // Kept per thread: a steady stream of polygons allocates nothing.
        thread_local Region area;
        detail::ClippedPolygon(points, FState.fillMode, FState.origin, p.Bounds(), area);
        FillClipped(p, area, fill);
    }
    if (pen.style != PenStyle::Clear) {
        const int32_t phase = FState.dashPhase;
        FState.dashPhase = 0;
        StrokePath(p, points, true);
        FState.dashPhase = phase;
    }
}

void Dc::Polyline(std::span<const Point> points)
{
    Painter p(FTarget, ClipRef());
    if (p.Empty() || points.size() < 2 || FState.pen.style == PenStyle::Clear)
        return;
    const int32_t phase = FState.dashPhase;
    FState.dashPhase = 0;
    StrokePath(p, points, false);
    FState.dashPhase = phase;
}

} // namespace plat
