// Lines: one-pixel lines by the Bresenham rule with the end point left out, dashed
// cosmetic pens, and wide pens drawn as round-capped bands centred on the ideal line.

#include "platform/raster/Dc.h"

#include "platform/raster/Dc_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace plat {

using detail::Box;
using detail::DcInt128;
using detail::Painter;

namespace detail {

std::vector<int> DashPattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return { 18, 6 };
    case PenStyle::Dot: return { 3, 3 };
    case PenStyle::DashDot: return { 9, 6, 3, 6 };
    case PenStyle::DashDotDot: return { 9, 3, 3, 3, 3, 3 };
    default: return {};
    }
}

} // namespace detail

namespace {

// The minor-axis offset of step i of a line with major length adm and minor length adn.
// Exact halves go to the smaller absolute coordinate (bias 1 when the minor axis grows),
// so a line and its reverse cover the same pixels.
int64_t MinorOffset(int64_t i, int64_t adm, int64_t adn, int bias)
{
    DcInt128 n = DcInt128(2) * i * adn + adm - bias;
    return int64_t(n / (DcInt128(2) * adm));
}

// The steps [first, last] of a line whose pixels may fall inside the box; empty when
// first > last.
void ClipSteps(int64_t m0, int sm, int64_t mLo, int64_t mHi, int64_t n0, int sn,
    int64_t nLo, int64_t nHi, int64_t adm, int64_t adn, int bias, int64_t& first, int64_t& last)
{
    first = 0;
    last = adm - 1;
    if (sm > 0) {
        first = std::max(first, mLo - m0);
        last = std::min(last, mHi - 1 - m0);
    } else {
        first = std::max(first, m0 - (mHi - 1));
        last = std::min(last, m0 - mLo);
    }
    if (first > last)
        return;
    // The offset never decreases with the step, so the steps inside [oLo, oHi] are found
    // by bisection.
    int64_t oLo = sn >= 0 ? nLo - n0 : n0 - (nHi - 1);
    int64_t oHi = sn >= 0 ? nHi - 1 - n0 : n0 - nLo;
    if (sn == 0) {
        if (oLo > 0 || oHi < 0)
            last = first - 1;
        return;
    }
    int64_t lo = first, hi = last + 1;
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (MinorOffset(mid, adm, adn, bias) >= oLo)
            hi = mid;
        else
            lo = mid + 1;
    }
    first = lo;
    lo = first;
    hi = last + 1;
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (MinorOffset(mid, adm, adn, bias) > oHi)
            hi = mid;
        else
            lo = mid + 1;
    }
    last = lo - 1;
}

// Walks the one-pixel line from (x0, y0) to (x1, y1), its end point left out, calling
// f(i, x, y) for each step i whose pixel lies inside box, in order along the line.
template <class F>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const Box& box, F&& f)
{
    const int64_t dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
    const int64_t dm = xMajor ? dx : dy, dn = xMajor ? dy : dx;
    const int sm = dm > 0 ? 1 : -1, sn = dn > 0 ? 1 : (dn < 0 ? -1 : 0);
    const int64_t adm = std::llabs(dm), adn = std::llabs(dn);
    const int bias = sn > 0 ? 1 : 0;
    int64_t first = 0, last = -1;
    ClipSteps(m0, sm, xMajor ? box.l : box.t, xMajor ? box.r : box.b, n0, sn,
        xMajor ? box.t : box.l, xMajor ? box.b : box.r, adm, adn, bias, first, last);
    // The minor offset of step i is floor(N / D) with N = 2 i adn + adm - bias and D = 2 adm;
    // it is divided out once and then carried from step to step (N grows by 2 adn <= D).
    const DcInt128 den = DcInt128(2) * adm, grow = DcInt128(2) * adn;
    DcInt128 num = DcInt128(2) * first * adn + adm - bias;
    int64_t offset = int64_t(num / den);
    DcInt128 rest = num % den;
    for (int64_t i = first; i <= last; ++i) {
        if (i > first) {
            rest += grow;
            if (rest >= den) {
                rest -= den;
                ++offset;
            }
        }
        const int64_t m = m0 + sm * i, n = n0 + sn * offset;
        f(i, xMajor ? m : n, xMajor ? n : m);
    }
}

// Clips [a * x + b] to [lo, hi]: narrows [xl, xr] to the x that satisfy it.
void Constrain(double a, double b, double lo, double hi, double& xl, double& xr)
{
    if (std::fabs(a) < 1e-12) {
        if (b < lo || b > hi)
            xr = xl - 1;
        return;
    }
    double p = (lo - b) / a, q = (hi - b) / a;
    if (p > q)
        std::swap(p, q);
    xl = std::max(xl, p);
    xr = std::min(xr, q);
}

// A band of width w round the segment with round caps: every pixel whose centre lies within
// w / 2 of the segment. The shape is nudged a hair up and left, so that an even width puts
// its extra row above and its extra column left of the line, as rectangles do.
void WideSegment(const Painter& p, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t w,
    Rop2 mode, Pixel c)
{
    const Box& clip = p.Bounds();
    const double r = double(w) / 2;
    const double px = double(x0) + 0.5 - 1.0 / 512, py = double(y0) + 0.5 - 1.0 / 256;
    const double qx = double(x1) + 0.5 - 1.0 / 512, qy = double(y1) + 0.5 - 1.0 / 256;
    const double len = std::hypot(qx - px, qy - py);
    const double ux = len > 0 ? (qx - px) / len : 1, uy = len > 0 ? (qy - py) / len : 0;
    double top = std::max(double(clip.t), std::floor(std::min(py, qy) - r) - 1);
    double bottom = std::min(double(clip.b), std::ceil(std::max(py, qy) + r) + 1);
    for (int64_t y = int64_t(top); y < int64_t(bottom); ++y) {
        const double yc = double(y) + 0.5;
        double xl = INFINITY, xr = -INFINITY;
        for (auto [cx, cy] : { std::pair { px, py }, std::pair { qx, qy } }) {
            double dy = yc - cy;
            if (std::fabs(dy) <= r) {
                double h = std::sqrt(r * r - dy * dy);
                xl = std::min(xl, cx - h);
                xr = std::max(xr, cx + h);
            }
        }
        if (len > 0) {
            double bl = -INFINITY, br = INFINITY;
            Constrain(-uy, ux * (yc - py) + uy * px, -r, r, bl, br);
            Constrain(ux, uy * (yc - py) - ux * px, 0, len, bl, br);
            if (bl <= br) {
                xl = std::min(xl, bl);
                xr = std::max(xr, br);
            }
        }
        if (!(xl <= xr))
            continue;
        double a = std::max(std::ceil(xl - 0.5), double(clip.l));
        double b = std::min(std::floor(xr - 0.5) + 1, double(clip.r));
        if (a < b)
            p.FillSpan(y, int64_t(a), int64_t(b), mode, c);
    }
}

} // namespace

void Dc::StrokeSegment(const Painter& p, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    const Pen& pen = FState.pen;
    if (pen.style == PenStyle::Clear || p.Empty())
        return;
    const Pixel color = ToPixel(pen.color) & 0xFFFFFF;
    if (pen.width > 1) {
        WideSegment(p, x0, y0, x1, y1, pen.width, pen.mode, color);
        return;
    }
    const int64_t adm = std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
    const std::vector<int> pattern = detail::DashPattern(pen.style);
    int64_t period = 0;
    for (int v : pattern)
        period += v;
    const bool opaqueGaps = FState.bkMode == BkMode::Opaque;
    const Pixel gap = ToPixel(FState.bkColor) & 0xFFFFFF;
    WalkLine(x0, y0, x1, y1, p.Bounds(), [&](int64_t i, int64_t x, int64_t y) {
        if (period == 0) {
            p.Plot(x, y, pen.mode, color);
            return;
        }
        int64_t pos = (FState.dashPhase + i) % period;
        size_t k = 0;
        while (pos >= pattern[k])
            pos -= pattern[k++];
        if (k % 2 == 0)
            p.Plot(x, y, pen.mode, color);
        else if (opaqueGaps)
            p.Plot(x, y, pen.mode, gap);
    });
    if (period > 0)
        FState.dashPhase = int32_t((FState.dashPhase + adm % period) % period);
}

void Dc::StrokePath(const Painter& p, std::span<const Point> points, bool closed)
{
    const Point o = FState.origin;
    size_t count = closed ? points.size() : points.size() - 1;
    for (size_t i = 0; i < count; ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        StrokeSegment(p, int64_t(a.x) + o.x, int64_t(a.y) + o.y, int64_t(b.x) + o.x,
            int64_t(b.y) + o.y);
    }
}

namespace {

// The outline's runs of one row, in the order the walk met them. An outline of a few
// rows has only a few on any row; one with more on a row is gathered the general way.
constexpr int RowRunsMost = 6;
struct RowRuns {
    int32_t left[RowRunsMost], right[RowRunsMost];
};
constexpr int64_t GatheredRows = 4096;

// The outline's pixels within box as runs in row order, each row's runs left to right
// and apart, gathered row by row; false (runs unusable) when a row holds too many.
bool GatherRowRuns(std::span<const Point> points, const Box& box, std::vector<Rect>& runs)
{
    const size_t height = size_t(box.b - box.t);
    thread_local std::vector<uint8_t> counts;
    thread_local std::vector<RowRuns> rows;
    counts.assign(height, 0);
    if (rows.size() < height)
        rows.resize(height);
    bool full = false;
    for (size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        WalkLine(a.x, a.y, b.x, b.y, box, [&](int64_t, int64_t x, int64_t y) {
            const size_t row = size_t(y - box.t);
            uint8_t& n = counts[row];
            RowRuns& r = rows[row];
            const int32_t px = int32_t(x);
            // A run grows while the line stays on it.
            if (n > 0 && r.right[n - 1] == px) {
                ++r.right[n - 1];
                return;
            }
            if (n > 0 && r.left[n - 1] == px + 1) {
                --r.left[n - 1];
                return;
            }
            if (n == RowRunsMost) {
                full = true;
                return;
            }
            r.left[n] = px;
            r.right[n] = px + 1;
            ++n;
        });
    }
    if (full)
        return false;
    runs.clear();
    for (size_t row = 0; row < height; ++row) {
        const int n = counts[row];
        if (n == 0)
            continue;
        // Put in order and joined in the row's own arrays, as SortRowRuns does through its
        // list: going through such a list here costs a running tick 3 % more.
        RowRuns& r = rows[row];
        for (int i = 1; i < n; ++i) {
            const int32_t l = r.left[i], rt = r.right[i];
            int j = i;
            for (; j > 0 && r.left[j - 1] > l; --j) {
                r.left[j] = r.left[j - 1];
                r.right[j] = r.right[j - 1];
            }
            r.left[j] = l;
            r.right[j] = rt;
        }
        // Runs that meet or overlap become one.
        const int32_t y = int32_t(box.t + int64_t(row));
        int32_t l = r.left[0], rt = r.right[0];
        for (int i = 1; i < n; ++i) {
            if (r.left[i] <= rt) {
                rt = std::max(rt, r.right[i]);
                continue;
            }
            runs.push_back({ l, y, rt, y + 1 });
            l = r.left[i];
            rt = r.right[i];
        }
        runs.push_back({ l, y, rt, y + 1 });
    }
    return true;
}

// The same for any outline: runs walked in the outline's order, then put in row order by
// counting (an outline spread over far more rows than it has runs is sorted by comparison
// instead) and along each row, with the runs of a row that meet or overlap joined.
void SortRowRuns(std::span<const Point> points, const Box& box, std::vector<Rect>& runs)
{
    runs.clear();
    for (size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i], b = points[(i + 1) % points.size()];
        WalkLine(a.x, a.y, b.x, b.y, box, [&runs](int64_t, int64_t x, int64_t y) {
            const int32_t px = int32_t(x), py = int32_t(y);
            if (!runs.empty()) {
                Rect& last = runs.back();
                if (last.top == py && last.right == px) {
                    ++last.right;
                    return;
                }
                if (last.top == py && last.left == px + 1) {
                    --last.left;
                    return;
                }
            }
            runs.push_back({ px, py, px + 1, py + 1 });
        });
    }
    thread_local std::vector<uint32_t> rowStart;
    thread_local std::vector<Rect> sorted;
    sorted.resize(runs.size());
    const uint64_t rows = uint64_t(box.b - box.t);
    if (rows <= 4 * uint64_t(runs.size()) + 1024) {
        // Room for half as many rows again: an outline a few rows taller than the last
        // reuses the storage.
        if (rowStart.capacity() < size_t(rows) + 1)
            rowStart.reserve((size_t(rows) + 1) * 3 / 2);
        rowStart.assign(size_t(rows) + 1, 0);
        for (const Rect& r : runs)
            ++rowStart[size_t(r.top - box.t) + 1];
        for (size_t i = 1; i < rowStart.size(); ++i)
            rowStart[i] += rowStart[i - 1];
        for (const Rect& r : runs)
            sorted[rowStart[size_t(r.top - box.t)]++] = r;
    } else {
        std::copy(runs.begin(), runs.end(), sorted.begin());
        std::sort(sorted.begin(), sorted.end(),
            [](const Rect& a, const Rect& b) { return a.top < b.top; });
    }
    for (size_t i = 0; i < sorted.size();) {
        size_t end = i + 1;
        while (end < sorted.size() && sorted[end].top == sorted[i].top)
            ++end;
        std::sort(sorted.begin() + ptrdiff_t(i), sorted.begin() + ptrdiff_t(end),
            [](const Rect& a, const Rect& b) { return a.left < b.left; });
        i = end;
    }
    size_t kept = 0;
    for (const Rect& r : sorted) {
        Rect* last = kept > 0 ? &runs[kept - 1] : nullptr;
        if (last && last->top == r.top && last->right >= r.left)
            last->right = std::max(last->right, r.right);
        else
            runs[kept++] = r;
    }
    runs.resize(kept);
}

// The coverage of the points within box, a box inside the points' own met with a clip.
void CoverageInBox(std::span<const Point> points, FillMode mode, const Box& box, Region& out)
{
    if (points.size() >= 3)
        detail::ClippedPolygon(points, mode, {}, box, out);
    else
        out.Clear();
    // The outline's pixels as runs in row order, united with the fill in one pass.
    thread_local std::vector<Rect> runs;
    if (box.b - box.t > GatheredRows || !GatherRowRuns(points, box, runs))
        SortRowRuns(points, box, runs);
    out.UniteRows(runs);
}

// The points' box, one past their far edges: every pixel of the polygon and of its
// outline lies in it.
Box PointsBox(std::span<const Point> points)
{
    Box box { points[0].x, points[0].y, int64_t(points[0].x) + 1, int64_t(points[0].y) + 1 };
    for (const Point& q : points) {
        box.l = std::min<int64_t>(box.l, q.x);
        box.t = std::min<int64_t>(box.t, q.y);
        box.r = std::max<int64_t>(box.r, int64_t(q.x) + 1);
        box.b = std::max<int64_t>(box.b, int64_t(q.y) + 1);
    }
    return box;
}

// The coverage of the last small shape worked out, kept relative to its first point. A
// shape's coverage is often asked for twice in a row, once to find what a repaint must
// cover and once to paint it; the second time is a copy moved into place (a polygon's
// pixels, outline included, move with it by whole pixels exactly). Per thread.
struct KeptShape {
    // Shapes this small are kept: their regions stay far below the size limit, whose
    // refusal must be reported each time.
    static constexpr size_t MostPoints = 16;
    static constexpr int64_t MostSide = 1 << 16;

    std::vector<Point> points;   // relative to the first point
    FillMode mode = FillMode::Alternate;
    Region region;
    bool valid = false;

    // Whether shape (at most MostPoints points, sides at most MostSide) under m is the
    // kept shape, moved; when not, it becomes the kept shape, its region left invalid for
    // the caller to work out.
    bool Holds(std::span<const Point> shape, FillMode m)
    {
        const Point first = shape[0];
        bool same = valid && mode == m && points.size() == shape.size();
        for (size_t i = 0; same && i < shape.size(); ++i)
            same = points[i].x == shape[i].x - first.x && points[i].y == shape[i].y - first.y;
        if (same)
            return true;
        valid = false;
        points.clear();
        for (const Point& q : shape)
            points.push_back({ q.x - first.x, q.y - first.y });
        mode = m;
        return false;
    }
};

} // namespace

void PolygonCoverage(std::span<const Point> points, FillMode mode, const Rect& clip, Region& out)
{
    if (points.size() < 2 || clip.Empty()) {
        out.Clear();
        return;
    }
    // Every pixel of the shape lies within the points' box, one past its far edges; the
    // work is bounded by that box met with the clip.
    const Point first = points[0];
    const Box shape = PointsBox(points);
    const Box box { std::max<int64_t>(shape.l, clip.left), std::max<int64_t>(shape.t, clip.top),
        std::min<int64_t>(shape.r, clip.right), std::min<int64_t>(shape.b, clip.bottom) };
    if (box.Empty()) {
        out.Clear();
        return;
    }
    // A small shape's coverage is worked out whole and kept; the next request for the
    // same shape, moved, is a copy.
    const bool keep = points.size() >= 3 && points.size() <= KeptShape::MostPoints
        && (mode == FillMode::Alternate || mode == FillMode::Winding)
        && shape.r - shape.l <= KeptShape::MostSide
        && shape.b - shape.t <= KeptShape::MostSide && shape.r <= INT32_MAX
        && shape.b <= INT32_MAX;
    if (!keep) {
        CoverageInBox(points, mode, box, out);
        return;
    }
    thread_local KeptShape last;
    if (!last.Holds(points, mode)) {
        CoverageInBox(last.points, mode,
            { shape.l - first.x, shape.t - first.y, shape.r - first.x, shape.b - first.y },
            last.region);
        last.valid = true;
    }
    out = last.region;
    out.Offset(first.x, first.y);
    if (box.l != shape.l || box.t != shape.t || box.r != shape.r || box.b != shape.b)
        out.IntersectRect(clip);
}

void Dc::LineTo(int32_t x, int32_t y)
{
    Painter p(FTarget, ClipRef());
    if (!(FState.pos == FState.dashEnd))
        FState.dashPhase = 0;
    const Point o = FState.origin;
    StrokeSegment(p, int64_t(FState.pos.x) + o.x, int64_t(FState.pos.y) + o.y, int64_t(x) + o.x,
        int64_t(y) + o.y);
    FState.pos = { x, y };
    FState.dashEnd = FState.pos;
}

} // namespace plat
