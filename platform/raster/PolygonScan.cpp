// Scan conversion of polygons into regions. A pixel (x, y) is inside when its centre
// (x + 0.5, y + 0.5) is inside under the fill rule. Centre rows never meet a vertex, so
// only the x direction needs a tie rule: an edge crossing exactly at a pixel centre counts
// as left of it, which puts left boundaries inside and right boundaries outside.
//
// All arithmetic is exact: an edge keeps its crossing as the fraction N / D of the row,
// and rows where no crossing moves to another pixel are taken in one step, so the work
// follows the rows where an edge moves, not the height of the polygon.

#include "platform/raster/Region.h"

#include "platform/raster/Region_p.h"
#include "platform/system/Failure.h"

#include <algorithm>

namespace plat {

using detail::BandWriter;
using detail::Int128;

namespace {

// One non-horizontal edge. For the current row y it holds N = q * D + r (0 <= r < D),
// where N / D is the crossing's x minus one half; the first pixel whose centre lies at or
// right of the crossing is then ceil(N / D).
struct Edge {
    int32_t top = 0, bottom = 0; // rows top <= y < bottom
    int dir = 0; // +1 when the edge runs downward, -1 upward
    int64_t d = 0, s = 0; // D = 2 dy > 0; the step of N per row, 2 dx
    int64_t sq = 0, sr = 0; // s = sq * D + sr, 0 <= sr < D
    int64_t q = 0, r = 0;
    int64_t change = 0; // the row at which X() next changes; far below for a vertical edge

    int32_t X() const { return int32_t(q + (r > 0)); }

    // Rows from the current one until X() changes; INT64_MAX for a vertical edge. An edge
    // that moves a pixel or more per row changes at every row.
    int64_t RowsUntilChange() const
    {
        if (s >= d || -s >= d)
            return 1;
        if (s > 0)
            return (r > 0 ? d - r : 0) / s + 1;
        if (s < 0)
            return ((r > 0 ? r : d) + (-s) - 1) / (-s);
        return INT64_MAX;
    }

    // Notes the row of the next change, seen from row y.
    void FindChange(int64_t y) { change = y + std::min<int64_t>(RowsUntilChange(), int64_t(1) << 40); }

    // Moves down rows rows, no farther than the next change, without a division: short
    // of the change, N moves by less than two D, so it leaves [0, D) by at most two D.
    void Step(int64_t rows)
    {
        if (rows == 1) {
            Advance(1);
            return;
        }
        int64_t n = r + s * rows;
        while (n >= d) {
            n -= d;
            ++q;
        }
        while (n < 0) {
            n += d;
            --q;
        }
        r = n;
    }

    void Advance(int64_t rows)
    {
        if (rows == 1) {
            q += sq;
            r += sr;
            if (r >= d) {
                r -= d;
                ++q;
            }
            return;
        }
        // Exact in 64 bits unless the product overflows, which only far coordinates do.
        int64_t n64 = 0;
        if (!__builtin_mul_overflow(s, rows, &n64) && !__builtin_add_overflow(n64, r, &n64)) {
            int64_t k = n64 / d, m = n64 % d;
            if (m < 0) {
                m += d;
                --k;
            }
            q += k;
            r = m;
            return;
        }
        Int128 n = Int128(r) + Int128(s) * rows;
        Int128 k = n / d;
        Int128 m = n % d;
        if (m < 0) {
            m += d;
            --k;
        }
        q += int64_t(k);
        r = int64_t(m);
    }
};

bool MakeEdge(Point a, Point b, Edge& e)
{
    if (a.y == b.y)
        return false;
    e.dir = b.y > a.y ? 1 : -1;
    if (b.y < a.y)
        std::swap(a, b);
    int64_t dy = int64_t(b.y) - a.y;
    int64_t dx = int64_t(b.x) - a.x;
    e.top = a.y;
    e.bottom = b.y;
    e.d = 2 * dy;
    e.s = 2 * dx;
    e.sq = e.s / e.d;
    e.sr = e.s % e.d;
    if (e.sr < 0) {
        e.sr += e.d;
        --e.sq;
    }
    // At the row y = a.y the centre line is half a row below the vertex:
    // x - 1/2 = a.x + dx / (2 dy) - 1/2 = (2 a.x dy + dx - dy) / (2 dy).
    Int128 n = Int128(2) * a.x * dy + dx - dy;
    Int128 k = n / e.d;
    Int128 m = n % e.d;
    if (m < 0) {
        m += e.d;
        --k;
    }
    e.q = int64_t(k);
    e.r = int64_t(m);
    return true;
}

struct Crossing {
    int32_t x;
    int dir;
};

// Turns the sorted crossings of one row into spans under the fill rule.
void SpansOfRow(std::span<const Crossing> cs, FillMode mode, std::vector<int32_t>& xs)
{
    xs.clear();
    int winding = 0, count = 0;
    bool inside = false;
    for (size_t i = 0; i < cs.size();) {
        int32_t x = cs[i].x;
        for (; i < cs.size() && cs[i].x == x; ++i) {
            winding += cs[i].dir;
            ++count;
        }
        bool now = mode == FillMode::Alternate ? (count & 1) != 0 : winding != 0;
        if (now != inside) {
            xs.push_back(x);
            inside = now;
        }
    }
}

// Cuts the spans of a row to [left, right).
void ClipSpans(std::vector<int32_t>& xs, int32_t left, int32_t right)
{
    size_t n = 0;
    for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        int32_t l = std::max(xs[i], left), r = std::min(xs[i + 1], right);
        if (l < r) {
            xs[n++] = l;
            xs[n++] = r;
        }
    }
    xs.resize(n);
}

} // namespace

Region Region::FromPolygon(std::span<const Point> points, FillMode mode)
{
    return FromPolygon(points, mode, { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX });
}

Region Region::FromPolygon(std::span<const Point> points, FillMode mode, const Rect& clip)
{
    Region result;
    result.AssignPolygon(points, mode, clip);
    return result;
}

void Region::AssignPolygon(std::span<const Point> points, FillMode mode, const Rect& clip)
{
    FRects.clear();
    if (points.size() < 3 || clip.Empty())
        return;
    if (mode != FillMode::Alternate && mode != FillMode::Winding) {
        ReportFailure("polygon region with an unknown fill mode");
        return;
    }
    // Working lists kept per thread, so that a steady stream of scans allocates nothing.
    thread_local std::vector<Edge> edges = detail::ReservedList<Edge>();
    thread_local std::vector<size_t> active = detail::ReservedList<size_t>();
    thread_local std::vector<Crossing> crossings = detail::ReservedList<Crossing>();
    thread_local std::vector<int32_t> xs = detail::ReservedList<int32_t>();
    edges.clear();
    active.clear();
    for (size_t i = 0; i < points.size(); ++i) {
        Point a = points[i], b = points[(i + 1) % points.size()];
        Edge e;
        if (!MakeEdge(a, b, e) || e.bottom <= clip.top || e.top >= clip.bottom)
            continue;
        // Where a crossing lies outside the clip does not matter, only on which side: such
        // an edge acts as a vertical edge at the clip's border, which never moves.
        bool left = std::max(a.x, b.x) <= clip.left, right = std::min(a.x, b.x) >= clip.right;
        if (left || right) {
            e.s = e.sq = e.sr = e.r = 0;
            e.q = left ? clip.left : clip.right;
        }
        edges.push_back(e);
    }
    if (edges.empty())
        return;
    std::sort(
        edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.top < b.top; });

    BandWriter writer(FRects);
    size_t next = 0;
    int64_t y = std::max(edges.front().top, clip.top);
    while (y < clip.bottom) {
        for (; next < edges.size() && edges[next].top <= y; ++next) {
            if (edges[next].top < y)
                edges[next].Advance(y - edges[next].top);
            edges[next].FindChange(y);
            active.push_back(next);
        }
        std::erase_if(active, [&](size_t i) { return edges[i].bottom <= y; });
        if (active.empty()) {
            if (next == edges.size())
                break;
            y = edges[next].top;
            continue;
        }

        crossings.clear();
        int64_t rows = clip.bottom - y;
        if (next < edges.size())
            rows = std::min<int64_t>(rows, edges[next].top - y);
        for (size_t i : active) {
            const Edge& e = edges[i];
            crossings.push_back({ e.X(), e.dir });
            rows = std::min({ rows, e.bottom - y, e.change - y });
        }
        if (crossings.size() == 2) {
            // Two edges of a closed outline run in opposite directions: under either rule
            // the row is inside between them, the common case of a convex shape.
            const int32_t l = std::max(std::min(crossings[0].x, crossings[1].x), clip.left);
            const int32_t r = std::min(std::max(crossings[0].x, crossings[1].x), clip.right);
            const int32_t span[2] = { l, r };
            if (l < r)
                writer.Add(int32_t(y), int32_t(y + rows), span);
        } else {
            std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            SpansOfRow(crossings, mode, xs);
            ClipSpans(xs, clip.left, clip.right);
            writer.Add(int32_t(y), int32_t(y + rows), xs);
        }
        if (FRects.size() > detail::MaxRegionRects) {
            ReportFailure("polygon region too complex");
            FRects.clear();
            return;
        }

        y += rows;
        for (size_t i : active) {
            Edge& e = edges[i];
            if (e.bottom > y) {
                e.Step(rows);
                if (e.change <= y)
                    e.FindChange(y);
            }
        }
    }
}

} // namespace plat
