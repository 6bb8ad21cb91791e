// Ellipses, rounded rectangles, arcs and polygons of the drawing context.

#include "platform/DcTestUtil.h"

#include "platform/raster/Dc_p.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <random>

using namespace plat;
using namespace dctest;

namespace {

Surface DrawEllipse(int32_t w, int32_t h, bool brush)
{
    Surface s = PaperSurface(w + 2, h + 2);
    Dc dc(&s);
    dc.SetPen(SolidPen(Ink));
    dc.SetBrush({ brush ? BrushStyle::Solid : BrushStyle::Clear, Fill });
    dc.Ellipse(1, 1, w + 1, h + 1);
    return s;
}

TEST(DcEllipse, InscribedInTheHalfOpenBox)
{
    Surface s = PaperSurface(10, 10);
    Dc dc(&s);
    dc.SetPen(SolidPen(Ink));
    dc.SetBrush({ BrushStyle::Solid, Fill });
    dc.Ellipse(0, 0, 8, 8);
    EXPECT_EQ(Picture(s), "..####....\n"
                          ".#oooo#...\n"
                          "#oooooo#..\n"
                          "#oooooo#..\n"
                          "#oooooo#..\n"
                          "#oooooo#..\n"
                          ".#oooo#...\n"
                          "..####....\n"
                          "..........\n"
                          "..........\n");
}

TEST(DcEllipse, EverySizeIsSymmetricTouchesItsBoxAndHasAClosedOutline)
{
    for (int32_t w = 1; w <= 24; ++w)
        for (int32_t h = 1; h <= 24; ++h) {
            Surface s = DrawEllipse(w, h, true);
            auto ink = PixelsNot(s, Paper);
            int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
            for (auto [x, y] : ink) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                // Mirror images across both axes of the box.
                ASSERT_EQ(s.GetColor(x, y), s.GetColor(w + 1 - x, y)) << w << "x" << h;
                ASSERT_EQ(s.GetColor(x, y), s.GetColor(x, h + 1 - y)) << w << "x" << h;
            }
            ASSERT_EQ(minX, 1);
            ASSERT_EQ(maxX, w);
            ASSERT_EQ(minY, 1);
            ASSERT_EQ(maxY, h);
            // The fill never touches the outside: every fill pixel's side neighbours are
            // ink or fill.
            for (int32_t y = 0; y < s.Height(); ++y)
                for (int32_t x = 0; x < s.Width(); ++x)
                    if (s.GetColor(x, y) == Fill) {
                        for (auto [dx, dy] : { std::pair { 1, 0 }, { -1, 0 }, { 0, 1 }, { 0, -1 } })
                            ASSERT_NE(s.GetColor(x + dx, y + dy), Paper) << w << "x" << h;
                    }
            // The outline alone is gap-free: one 8-connected piece.
            Surface o = DrawEllipse(w, h, false);
            auto line = PixelsNot(o, Paper);
            std::set<std::pair<int32_t, int32_t>> seen { *line.begin() };
            std::vector<std::pair<int32_t, int32_t>> todo { *line.begin() };
            while (!todo.empty()) {
                auto [x, y] = todo.back();
                todo.pop_back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (line.count({ x + dx, y + dy }) && seen.insert({ x + dx, y + dy }).second)
                            todo.push_back({ x + dx, y + dy });
            }
            ASSERT_EQ(seen.size(), line.size()) << w << "x" << h;
        }
}

TEST(DcEllipse, RoundRectRangesFromRectangleToEllipse)
{
    auto draw = [](auto&& f) {
        Surface s = PaperSurface(16, 12);
        Dc dc(&s);
        dc.SetPen(SolidPen(Ink));
        dc.SetBrush({ BrushStyle::Solid, Fill });
        f(dc);
        return s;
    };
    EXPECT_EQ(draw([](Dc& d) { d.RoundRect(1, 1, 14, 10, 0, 0); }),
        draw([](Dc& d) { d.Rectangle(1, 1, 14, 10); }));
    EXPECT_EQ(draw([](Dc& d) { d.RoundRect(1, 1, 14, 10, 13, 9); }),
        draw([](Dc& d) { d.Ellipse(1, 1, 14, 10); }));
    Surface r = draw([](Dc& d) { d.RoundRect(0, 0, 16, 12, 6, 6); });
    EXPECT_EQ(r.GetColor(0, 0), Paper);        // the corner is cut off
    EXPECT_EQ(r.GetColor(8, 0), Ink);          // the straight top edge
    EXPECT_EQ(r.GetColor(0, 6), Ink);          // the straight left edge
    EXPECT_EQ(r.GetColor(15, 11), Paper);
    EXPECT_EQ(r.GetColor(8, 6), Fill);
}

TEST(DcEllipse, WidePenRingIsCentredOnTheOutline)
{
    Surface s = PaperSurface(20, 20);
    Dc dc(&s);
    dc.SetPen(SolidPen(Ink, 3));
    dc.SetBrush({ BrushStyle::Solid, Fill });
    dc.Ellipse(4, 4, 16, 16);
    // Along the middle row: one pixel outside the box, the outer column, one inside.
    EXPECT_EQ(s.GetColor(2, 9), Paper);
    EXPECT_EQ(s.GetColor(3, 9), Ink);
    EXPECT_EQ(s.GetColor(5, 9), Ink);
    EXPECT_EQ(s.GetColor(6, 9), Fill);
    EXPECT_EQ(s.GetColor(16, 9), Ink);
    EXPECT_EQ(s.GetColor(17, 9), Paper);
    EXPECT_EQ(s.GetColor(9, 3), Ink);
    EXPECT_EQ(s.GetColor(9, 2), Paper);
}

TEST(DcArc, ScrewRimHalvesSplitTheOutline)
{
    // The screw head of 8 pixels: upper-left half dark, lower-right half light.
    constexpr Color Dark = 0x404040, Light = 0xE0E0E0;
    Surface s = PaperSurface(12, 12);
    Dc dc(&s);
    const int x = 2, y = 2, sz = 2;
    dc.SetPen(SolidPen(Dark));
    dc.Arc(x, y, x + 8, y + 8, x + 3 * sz, y + sz, x + sz, y + 3 * sz);
    dc.SetPen(SolidPen(Light));
    dc.Arc(x, y, x + 8, y + 8, x + sz, y + 3 * sz, x + 3 * sz, y + sz);
    Surface full = PaperSurface(12, 12);
    Dc f(&full);
    f.SetPen(SolidPen(Ink));
    f.SetBrush({ BrushStyle::Clear, Ink });
    f.Ellipse(x, y, x + 8, y + 8);
    EXPECT_EQ(PixelsNot(s, Paper), PixelsNot(full, Paper));
    for (auto [px, py] : PixelsNot(s, Paper)) {
        int diag = (px - x) + (py - y);   // 7 along the split diagonal
        if (diag < 7) {
            EXPECT_EQ(s.GetColor(px, py), Dark) << px << "," << py;
        } else if (diag > 7) {
            EXPECT_EQ(s.GetColor(px, py), Light) << px << "," << py;
        }
    }
    EXPECT_EQ(s.GetColor(x, y + 3), Dark);       // left side
    EXPECT_EQ(s.GetColor(x + 7, y + 4), Light);  // right side
    EXPECT_EQ(s.GetColor(x + 3, y + 7), Light);  // bottom

    // The two sweeps are disjoint: drawn with xor they cover the outline exactly once.
    Surface xs = PaperSurface(12, 12);
    Dc dx(&xs);
    Pen p = SolidPen(0xFFFFFF);
    p.mode = Rop2::XorPen;
    dx.SetPen(p);
    dx.Arc(x, y, x + 8, y + 8, x + 6, y + 2, x + 2, y + 6);
    dx.Arc(x, y, x + 8, y + 8, x + 2, y + 6, x + 6, y + 2);
    EXPECT_EQ(PixelsNot(xs, Paper), PixelsNot(full, Paper));
}

TEST(DcArc, SameStartAndEndRayDrawsTheWholeEllipse)
{
    Surface s = PaperSurface(20, 14), full = PaperSurface(20, 14);
    Dc dc(&s), f(&full);
    dc.Arc(1, 1, 19, 13, 30, 7, 60, 7);
    f.SetBrush({ BrushStyle::Clear, Ink });
    f.Ellipse(1, 1, 19, 13);
    EXPECT_EQ(s, full);
    // A quarter: from the ray to the right round to the ray upwards covers the top right.
    Surface q = PaperSurface(20, 14);
    Dc dq(&q);
    dq.Arc(1, 1, 19, 13, 19, 7, 10, 0);
    for (auto [x, y] : PixelsNot(q, Paper)) {
        EXPECT_GE(x, 10);
        EXPECT_LT(y, 7);
    }
    EXPECT_FALSE(PixelsNot(q, Paper).empty());
}

// Winding number of the pixel centre (x + 0.5, y + 0.5), computed independently.
int Winding(const std::vector<Point>& pts, int x, int y)
{
    int wn = 0;
    const int64_t cx = 2 * int64_t(x) + 1, cy = 2 * int64_t(y) + 1;
    for (size_t i = 0; i < pts.size(); ++i) {
        Point a = pts[i], b = pts[(i + 1) % pts.size()];
        int64_t ay = 2 * int64_t(a.y), by = 2 * int64_t(b.y), ax = 2 * int64_t(a.x), bx = 2 * int64_t(b.x);
        if ((ay <= cy) == (by <= cy))
            continue;
        // Side of the centre against the edge; a crossing exactly at the centre counts as
        // left of it.
        int64_t side = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
        bool left = by > ay ? side <= 0 : side >= 0;
        if (left)
            wn += by > ay ? 1 : -1;
    }
    return wn;
}

TEST(DcPolygon, FillMatchesAPerPixelWindingReference)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-3, 23), count(3, 8);
    for (int n = 0; n < 200; ++n) {
        std::vector<Point> pts(size_t(count(rng)));
        for (Point& p : pts)
            p = { coord(rng), coord(rng) };
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            Surface s = PaperSurface(20, 20);
            Dc dc(&s);
            dc.SetOrigin({ 1, -1 });
            Pen clear;
            clear.style = PenStyle::Clear;
            dc.SetPen(clear);
            dc.SetBrush({ BrushStyle::Solid, Fill });
            dc.SetPolyFillMode(mode);
            dc.Polygon(pts);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    int wn = Winding(pts, x - 1, y + 1);
                    bool inside = mode == FillMode::Winding ? wn != 0 : (wn & 1) != 0;
                    ASSERT_EQ(s.GetColor(x, y), inside ? Fill : Paper) << n << " at " << x << "," << y;
                }
        }
    }
}

TEST(DcPolygon, OutlinePaintsEveryVertexOnce)
{
    Surface s = PaperSurface(12, 12);
    Dc dc(&s);
    Pen x = SolidPen(0xFFFFFF);
    x.mode = Rop2::XorPen;
    dc.SetPen(x);
    dc.SetBrush({ BrushStyle::Clear, Ink });
    Point tri[] = { { 1, 1 }, { 9, 1 }, { 9, 9 } };
    dc.Polygon(tri);
    for (Point p : tri)
        EXPECT_EQ(s.GetColor(p.x, p.y), 0u) << p.x << "," << p.y;   // inverted once, not twice
    EXPECT_EQ(PixelsNot(s, Paper).size(), 8u + 8u + 8u);
    EXPECT_EQ(dc.CurrentPosition(), (Point { 0, 0 }));
}

// Scans of a few shapes again and again, moved by whole pixels, in both fill modes, through
// clips that hold them whole or cut them and near the 32-bit limits: each is the region of
// the polygon where it stands, whatever was scanned before it.
TEST(DcPolygon, RepeatedScansOfMovedShapesMatchTheirRegions)
{
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> count(3, 9), coord(0, 40), shift(-100, 100), pick(0, 3);
    std::vector<std::vector<Point>> shapes(4);
    for (auto& shape : shapes) {
        shape.resize(size_t(count(rng)));
        for (Point& q : shape)
            q = { coord(rng), coord(rng) };
    }
    shapes[0] = { { 20, 0 }, { 32, 38 }, { 0, 14 }, { 40, 14 }, { 8, 38 } };   // a star: the modes differ
    Region got;
    size_t last = 0;
    for (int n = 0; n < 600; ++n) {
        if (pick(rng) < 2)
            last = size_t(pick(rng));
        std::vector<Point> pts = shapes[last];
        Point by { shift(rng), shift(rng) };
        if (n % 50 == 7)
            by = { 2147483600, -2147483600 };   // partly beyond the limits once moved
        if (n % 9 == 4)
            pts[1].x += 1;                        // almost the last shape
        for (Point& q : pts)
            q = { int32_t(std::clamp<int64_t>(int64_t(q.x) + by.x, INT32_MIN, INT32_MAX)),
                int32_t(std::clamp<int64_t>(int64_t(q.y) + by.y, INT32_MIN, INT32_MAX)) };
        const FillMode mode = pick(rng) % 2 ? FillMode::Winding : FillMode::Alternate;
        const Point origin { shift(rng), shift(rng) };
        detail::Box clip { -300, -300, 300, 300 };
        if (n % 3 == 0)
            clip = { shift(rng), shift(rng), shift(rng) + 120, shift(rng) + 120 };
        detail::ClippedPolygon(pts, mode, origin, clip, got);
        Region want = Region::FromPolygon(pts, mode);
        want.Offset(origin.x, origin.y);
        want &= Region(Rect { int32_t(clip.l), int32_t(clip.t), int32_t(clip.r), int32_t(clip.b) });
        got &= Region(Rect { int32_t(clip.l), int32_t(clip.t), int32_t(clip.r), int32_t(clip.b) });
        ASSERT_EQ(got, want) << n;
    }
}

TEST(DcPolygon, TallPolygonCutToTheClipMatchesTheWholeRegion)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> far(-9000, 9000), near(-5, 25);
    for (int n = 0; n < 20; ++n) {
        std::vector<Point> pts = { { near(rng), far(rng) }, { near(rng), far(rng) },
            { far(rng), near(rng) }, { near(rng), near(rng) } };
        const detail::Box clip { 0, 0, 20, 20 };
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            Region got = detail::ClippedPolygon(pts, mode, { 2, 3 }, clip);
            got &= Region(Rect { 0, 0, 20, 20 });
            Region want = Region::FromPolygon(pts, mode);
            want.Offset(2, 3);
            want &= Region(Rect { 0, 0, 20, 20 });
            ASSERT_EQ(got, want) << n;
        }
    }
}

} // namespace

// A polygon's coverage is exactly the pixels Polygon paints with a solid brush and a solid
// one-pixel pen inside the clip: random polygons of two to nine points (repeated and
// collinear points, crossing edges, every slope, negative coordinates) under both fill
// modes and random clips, and polygons reaching far beyond the 32-bit plane's middle, built
// into a region reused from call to call. Brush and pen differ in colour, so the picture
// is painted by filling and then stroking, not from the coverage.
TEST(PolygonCoverage, EqualsThePixelsPolygonPaintsInsideTheClip)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> count(2, 9), coord(-40, 90);
    const int32_t far = 2000000000;
    Region coverage;
    for (int n = 0; n < 400; ++n) {
        std::vector<Point> points(size_t(count(rng)));
        for (Point& p : points)
            p = { coord(rng), coord(rng) };
        if (n % 5 == 0)
            points[1] = points[0];
        if (n % 7 == 0)
            points = { { -far, -far }, { far, 30 }, { 20, far }, { 10, 10 } };
        Rect clip { -60, -60, 140, 140 };   // the whole surface below
        if (n % 3 == 0) {
            int l = coord(rng), t = coord(rng);
            clip = Rect { l, t, l + coord(rng) + 41, t + coord(rng) + 41 }.Intersect(clip);
        }
        const FillMode mode = n % 2 ? FillMode::Winding : FillMode::Alternate;
        Surface s(200, 200);
        Dc dc(&s);
        dc.SetOrigin({ 60, 60 });
        dc.IntersectClipRect(clip);
        dc.SetPolyFillMode(mode);
        dc.SetPen(SolidPen(Rgb(255, 255, 255)));
        dc.SetBrush({ BrushStyle::Solid, Rgb(1, 2, 3) });
        dc.Polygon(points);
        std::vector<Rect> painted;
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                if (s.GetColor(x, y))
                    painted.push_back({ x - 60, y - 60, x - 59, y - 59 });
        PolygonCoverage(points, mode, clip, coverage);
        ASSERT_EQ(coverage, Region::FromRects(painted)) << n;
    }
    PolygonCoverage(std::span<const Point>(), FillMode::Alternate, { 0, 0, 9, 9 }, coverage);
    EXPECT_TRUE(coverage.Empty());
}

// The coverage of outlines with many runs on one row (a comb whose teeth cross each row
// a dozen times) and of outlines taller than a few thousand rows, both modes, against the
// pixels that filling and then stroking the polygon paints.
TEST(PolygonCoverage, CombsAndTallOutlinesMatchThePaintedPixels)
{
    std::vector<Point> comb;
    for (int k = 0; k < 12; ++k) {
        comb.push_back({ 4 + 10 * k, 2 });
        comb.push_back({ 9 + 10 * k, 90 + 3 * k });
    }
    comb.push_back({ 125, 120 });
    comb.push_back({ 2, 120 });
    const std::vector<Point> tall = { { 3, 0 }, { 40, 2500 }, { 12, 5000 }, { 30, 5100 }, { 0, 5200 } };
    Region coverage;
    for (const std::vector<Point>* shape : { static_cast<const std::vector<Point>*>(&comb), &tall })
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            const int32_t height = shape == &tall ? 5210 : 130;
            Surface s(140, height);
            Dc dc(&s);
            dc.SetPolyFillMode(mode);
            dc.SetPen(SolidPen(Rgb(255, 255, 255)));
            dc.SetBrush({ BrushStyle::Solid, Rgb(1, 2, 3) });
            dc.Polygon(*shape);
            std::vector<Rect> painted;
            for (int y = 0; y < s.Height(); ++y)
                for (int x = 0; x < s.Width(); ++x)
                    if (s.GetColor(x, y))
                        painted.push_back({ x, y, x + 1, y + 1 });
            PolygonCoverage(*shape, mode, { 0, 0, 140, height }, coverage);
            ASSERT_EQ(coverage, Region::FromRects(painted)) << (shape == &tall ? "tall" : "comb");
        }
}

// A polygon whose brush and pen have one colour paints its coverage once: the same pixels
// as filling and then stroking it, through clip regions of many bands (the update area of
// a repaint), at moved origins, with shapes that come back moved and shapes that come back
// changed by one point, so that a kept coverage is reused only where it should be.
TEST(DcPolygon, OneColourFillAndOutlinePaintTheSamePixelsAsTwo)
{
    std::mt19937 rng(23);
    std::uniform_int_distribution<int> count(3, 9), coord(-10, 70), shift(-30, 30), pick(0, 3);
    std::vector<std::vector<Point>> shapes(4);
    for (auto& shape : shapes) {
        shape.resize(size_t(count(rng)));
        for (Point& q : shape)
            q = { coord(rng), coord(rng) };
    }
    shapes[0] = { { 20, 0 }, { 32, 38 }, { 0, 14 }, { 40, 14 }, { 8, 38 } };
    const Color grey = 0x808080;
    for (int n = 0; n < 300; ++n) {
        std::vector<Point> pts = shapes[size_t(pick(rng))];
        const Point by { shift(rng), shift(rng) };
        for (Point& q : pts)
            q = { q.x + by.x, q.y + by.y };
        if (n % 7 == 3)
            pts.back().y += 1;
        // A clip of scattered rectangles, cut from a band round the middle.
        Region clip(Rect { 0, 0, 90, 90 });
        if (n % 4 != 0) {
            clip = Region(Rect { coord(rng) + 10, 0, coord(rng) + 30, 90 });
            for (int k = 0; k < 12; ++k) {
                const int x = coord(rng) + 10, y = coord(rng) + 10;
                clip.UnionRect({ x, y, x + 1 + pick(rng) * 7, y + 1 + pick(rng) * 5 });
                clip.SubtractRect({ y, x, y + 3, x + 2 });
            }
        }
        const FillMode mode = n % 2 ? FillMode::Winding : FillMode::Alternate;
        const Point origin { shift(rng) / 3 + 10, shift(rng) / 3 + 10 };
        auto paint = [&](Color pen, Color brush) {
            Surface s = PaperSurface(90, 90);
            Dc dc(&s);
            dc.SelectClipRegion(&clip);
            dc.SetOrigin(origin);
            dc.SetPolyFillMode(mode);
            dc.SetPen(SolidPen(pen));
            dc.SetBrush({ BrushStyle::Solid, brush });
            dc.Polygon(pts);
            return PixelsNot(s, Paper);
        };
        const auto once = paint(grey, grey);
        ASSERT_EQ(once, paint(grey, Fill)) << n;
        ASSERT_EQ(once, paint(Ink, grey)) << n;
    }
}

// A region filled through a clip of many bands paints the pixels that lie in both, and
// nothing else, whatever the two bands' heights and spans.
TEST(DcFillRegion, PaintsExactlyWhereTheRegionMeetsTheClip)
{
    std::mt19937 rng(29);
    std::uniform_int_distribution<int> coord(0, 40), size(1, 12), count(0, 14);
    auto scatter = [&] {
        Region r;
        for (int k = count(rng); k > 0; --k) {
            const int x = coord(rng), y = coord(rng);
            r.UnionRect({ x, y, x + size(rng), y + size(rng) });
        }
        return r;
    };
    for (int n = 0; n < 300; ++n) {
        const Region area = scatter(), clip = scatter();
        Surface s = PaperSurface(48, 48);
        Dc dc(&s);
        dc.SelectClipRegion(&clip);
        dc.SetOrigin({ n % 3, -(n % 2) });
        dc.FillRegion(area, Ink);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool want = clip.Contains(x, y) && area.Contains(x - n % 3, y + n % 2);
                ASSERT_EQ(s.GetColor(x, y), want ? Ink : Paper) << n << " at " << x << "," << y;
            }
    }
}
