// Ellipses, rounded rectangles and arcs, all drawn from one row-convex shape.

#include "platform/raster/Dc.h"

#include "platform/raster/Dc_p.h"

#include <functional>

namespace plat {

using detail::Box;
using detail::DcInt128;
using detail::Painter;
using detail::RoundShape;

namespace detail {

RoundShape::RoundShape(const Box& box, int64_t cw, int64_t ch) : FBox(box)
{
    if (box.Empty())
        return;
    cw = std::min(cw, box.r - box.l);
    ch = std::min(ch, box.b - box.t);
    if (cw > 1 && ch > 1) {
        FA = cw - 1;
        FB = ch - 1;
    }
}

namespace {

// Whether the pixel centre at doubled offsets (x, y) >= 0 from the centre of an ellipse with
// doubled half axes a, b lies within half a pixel, along or across the row, of it.
template <class T> bool NearEllipse(T x, T y, T a, T b)
{
    const T a2 = a * a, b2 = b * b;
    bool across = x <= 1 || (x - 1) * (x - 1) * b2 <= a2 * (b2 - y * y);
    bool along = y <= 1 || x * x * b2 <= a2 * (b2 - (y - 1) * (y - 1));
    return across || along;
}

} // namespace

int64_t RoundShape::Inset(int64_t d) const
{
    if (FA == 0 || FB == 0 || 2 * d > FB)
        return 0;
    const int64_t y = FB - 2 * d;
    // Exact integers while the products fit; beyond that the shape is far larger than any
    // surface and long doubles are close enough.
    const bool exact = FA < (int64_t(1) << 30) && FB < (int64_t(1) << 30);
    auto inside = [&](int64_t k) {
        int64_t x = FA - 2 * k;
        if (exact)
            return NearEllipse<DcInt128>(x, y, FA, FB);
        return NearEllipse<long double>(x, y, FA, FB);
    };
    int64_t lo = 0, hi = FA / 2;
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (inside(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

Box RoundShape::Row(int64_t y) const
{
    if (y < FBox.t || y >= FBox.b)
        return {};
    int64_t inset = Inset(std::min(y - FBox.t, FBox.b - 1 - y));
    return { FBox.l + inset, y, FBox.r - inset, y + 1 };
}

} // namespace detail

namespace {

using PixelTest = std::function<bool(int64_t, int64_t)>;

// Paints [x0, x1) of row y, only where the test (if any) accepts the pixel.
void Span(const Painter& p, int64_t y, int64_t x0, int64_t x1, Rop2 mode, Pixel c,
    const PixelTest* test)
{
    if (!test) {
        p.FillSpan(y, x0, x1, mode, c);
        return;
    }
    p.ForEachSpan(y, x0, x1, [&](Pixel* px, int64_t x, size_t n) {
        for (size_t i = 0; i < n; ++i)
            if ((*test)(x + int64_t(i), y))
                px[i] = detail::Mix(mode, px[i], c);
    });
}

struct Stroke {
    bool pen = false;
    int64_t width = 1;
    bool inside = false;   // InsideFrame
    Rop2 mode = Rop2::CopyPen;
    Pixel penColor = 0;
    bool brush = false;
    Pixel brushColor = 0;
};

// Draws the shape of box with corner size (cw, ch): the outline with the pen (only where
// the test accepts), the inside with the brush.
void DrawRound(const Painter& p, const Box& box, int64_t cw, int64_t ch, const Stroke& s,
    const PixelTest* test)
{
    if (box.Empty() || p.Empty())
        return;
    const Box& clip = p.Bounds();
    if (!s.pen) {
        RoundShape shape(box, cw, ch);
        if (s.brush)
            for (int64_t y = std::max(box.t, clip.t); y < std::min(box.b, clip.b); ++y) {
                Box r = shape.Row(y);
                p.FillSpan(y, r.l, r.r, Rop2::CopyPen, s.brushColor);
            }
        return;
    }
    if (s.width <= 1) {
        // The outline is every pixel of the shape with a side neighbour outside it.
        RoundShape shape(box, cw, ch);
        for (int64_t y = std::max(box.t, clip.t); y < std::min(box.b, clip.b); ++y) {
            Box r = shape.Row(y), up = shape.Row(y - 1), down = shape.Row(y + 1);
            int64_t il = r.l + 1, ir = r.r - 1;
            if (up.Empty() || down.Empty())
                il = ir;
            il = std::max({ il, up.l, down.l });
            ir = std::min({ ir, up.r, down.r });
            if (il >= ir) {
                Span(p, y, r.l, r.r, s.mode, s.penColor, test);
                continue;
            }
            Span(p, y, r.l, il, s.mode, s.penColor, test);
            Span(p, y, ir, r.r, s.mode, s.penColor, test);
            if (s.brush)
                p.FillSpan(y, il, ir, Rop2::CopyPen, s.brushColor);
        }
        return;
    }
    // A wide pen is the ring between the shape grown by half the width and the shape shrunk
    // by the rest; the odd pixel goes up and left. InsideFrame keeps the ring in the box.
    const int64_t w = s.width;
    Box outer = s.inside ? box
                         : Box { box.l - w / 2, box.t - w / 2, box.r + (w - 1) / 2, box.b + (w - 1) / 2 };
    Box inner { outer.l + w, outer.t + w, outer.r - w, outer.b - w };
    RoundShape out(outer, cw + (s.inside ? 0 : w - 1), ch + (s.inside ? 0 : w - 1));
    RoundShape in(inner, std::max<int64_t>(0, cw - (s.inside ? 2 * w : w + 1)),
        std::max<int64_t>(0, ch - (s.inside ? 2 * w : w + 1)));
    for (int64_t y = std::max(outer.t, clip.t); y < std::min(outer.b, clip.b); ++y) {
        Box r = out.Row(y), i = in.Empty() ? Box {} : in.Row(y);
        if (i.Empty()) {
            Span(p, y, r.l, r.r, s.mode, s.penColor, test);
            continue;
        }
        Span(p, y, r.l, i.l, s.mode, s.penColor, test);
        Span(p, y, i.r, r.r, s.mode, s.penColor, test);
        if (s.brush)
            p.FillSpan(y, i.l, i.r, Rop2::CopyPen, s.brushColor);
    }
}

Box DeviceBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Point o)
{
    Rect r = Rect { x1, y1, x2, y2 }.Normalized();
    return { int64_t(r.left) + o.x, int64_t(r.top) + o.y, int64_t(r.right) + o.x,
        int64_t(r.bottom) + o.y };
}

Stroke StrokeOf(const Pen& pen, const Brush& brush)
{
    Stroke s;
    s.pen = pen.style != PenStyle::Clear;
    s.width = std::max<int64_t>(1, pen.width);
    s.inside = pen.style == PenStyle::InsideFrame;
    s.mode = pen.mode;
    s.penColor = ToPixel(pen.color) & 0xFFFFFF;
    s.brush = brush.style == BrushStyle::Solid;
    s.brushColor = ToPixel(brush.color) & 0xFFFFFF;
    return s;
}

// Directions in doubled device units with y pointing up, so that counter-clockwise on the
// screen is the positive sense.
struct Dir {
    int64_t x = 0, y = 0;
};

DcInt128 Cross(Dir a, Dir b) { return DcInt128(a.x) * b.y - DcInt128(a.y) * b.x; }
DcInt128 DotP(Dir a, Dir b) { return DcInt128(a.x) * b.x + DcInt128(a.y) * b.y; }

// 0 for angles in [0, pi) counted counter-clockwise from s, 1 for [pi, 2 pi).
int HalfFrom(Dir s, Dir v)
{
    DcInt128 c = Cross(s, v);
    return (c > 0 || (c == 0 && DotP(s, v) > 0)) ? 0 : 1;
}

// Whether v lies in the counter-clockwise sweep from s (included) to e (excluded).
bool InSweep(Dir s, Dir e, Dir v)
{
    if (v.x == 0 && v.y == 0)
        return true;
    int hv = HalfFrom(s, v), he = HalfFrom(s, e);
    if (hv != he)
        return hv < he;
    return Cross(v, e) > 0;
}

} // namespace

void Dc::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Painter p(FTarget, ClipRef());
    Box box = DeviceBox(x1, y1, x2, y2, FState.origin);
    DrawRound(p, box, box.r - box.l, box.b - box.t, StrokeOf(FState.pen, FState.brush), nullptr);
}

void Dc::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h)
{
    Painter p(FTarget, ClipRef());
    Box box = DeviceBox(x1, y1, x2, y2, FState.origin);
    DrawRound(p, box, std::llabs(int64_t(w)), std::llabs(int64_t(h)),
        StrokeOf(FState.pen, FState.brush), nullptr);
}

void Dc::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
    int32_t y4)
{
    Painter p(FTarget, ClipRef());
    if (FState.pen.style == PenStyle::Clear || p.Empty())
        return;
    const Point o = FState.origin;
    Box box = DeviceBox(x1, y1, x2, y2, o);
    // Rays and pixel centres are measured from the centre of the box in half pixels.
    const int64_t cx = box.l + box.r, cy = box.t + box.b;
    auto ray = [&](int32_t x, int32_t y) {
        Dir d { 2 * (int64_t(x) + o.x) - cx, -(2 * (int64_t(y) + o.y) - cy) };
        if (d.x == 0 && d.y == 0)
            d.x = 1;
        return d;
    };
    const Dir s = ray(x3, y3), e = ray(x4, y4);
    const bool whole = Cross(s, e) == 0 && DotP(s, e) > 0;
    PixelTest test = [&](int64_t x, int64_t y) {
        return whole || InSweep(s, e, Dir { 2 * x + 1 - cx, -(2 * y + 1 - cy) });
    };
    Stroke st = StrokeOf(FState.pen, FState.brush);
    st.brush = false;
    DrawRound(p, box, box.r - box.l, box.b - box.t, st, &test);
}

} // namespace plat
