#include "platform/raster/Region.h"
#include "platform/raster/Region_p.h"
#include "platform/raster/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <random>
#include <vector>

using namespace plat;

namespace {

__extension__ typedef __int128 Wide;

// Checks the canonical form with the region code's own statement of it.
::testing::AssertionResult Canonical(const Region& rgn)
{
    std::string fault = detail::CanonicalFault(rgn.Rects());
    if (!fault.empty())
        return ::testing::AssertionFailure() << fault;
    return ::testing::AssertionSuccess();
}

// A pixel set on a small window, the reference for region operations.
struct Mask {
    static constexpr int X0 = -4, Y0 = -4, W = 48, H = 48;
    std::vector<uint8_t> bits = std::vector<uint8_t>(W * H, 0);

    uint8_t& At(int x, int y) { return bits[size_t((y - Y0) * W + (x - X0))]; }
    static Mask Of(const Region& rgn)
    {
        Mask m;
        for (const Rect& r : rgn.Rects()) {
            EXPECT_TRUE(r.left >= X0 && r.right <= X0 + W && r.top >= Y0 && r.bottom <= Y0 + H);
            for (int y = std::max(r.top, Y0); y < std::min(r.bottom, Y0 + H); ++y)
                for (int x = std::max(r.left, X0); x < std::min(r.right, X0 + W); ++x)
                    m.At(x, y) = 1;
        }
        return m;
    }
    int64_t Count() const { return std::count(bits.begin(), bits.end(), 1); }
};

// The brute-force fill rule: the winding number of the pixel centre, counted on a ray to
// the right. A crossing exactly at the centre is not to its right (left edges are inside).
int Winding(std::span<const Point> pts, int32_t x, int32_t y)
{
    Wide cx = Wide(2) * x + 1, cy = Wide(2) * y + 1;
    int w = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        Point a = pts[i], b = pts[(i + 1) % pts.size()];
        Wide ax = Wide(2) * a.x, ay = Wide(2) * a.y, bx = Wide(2) * b.x, by = Wide(2) * b.y;
        if ((ay < cy) == (by < cy))
            continue;
        Wide side
            = (ax - cx) * (by - ay) + (cy - ay) * (bx - ax); // sign of xi - cx, times (by - ay)
        bool right = by > ay ? side > 0 : side < 0;
        if (right)
            w += by > ay ? 1 : -1;
    }
    return w;
}

bool RefInside(std::span<const Point> pts, FillMode mode, int32_t x, int32_t y)
{
    int w = Winding(pts, x, y);
    return mode == FillMode::Winding ? w != 0 : (w & 1) != 0;
}

// Compares a polygon region with the reference on the polygon's bounding box plus a margin.
void ExpectMatchesReference(std::span<const Point> pts, FillMode mode)
{
    Region rgn = Region::FromPolygon(pts, mode);
    ASSERT_TRUE(Canonical(rgn));
    if (pts.empty())
        return;
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (Point p : pts) {
        l = std::min(l, p.x), r = std::max(r, p.x), t = std::min(t, p.y), b = std::max(b, p.y);
    }
    int64_t area = 0;
    for (int32_t y = t - 2; y <= b + 2; ++y)
        for (int32_t x = l - 2; x <= r + 2; ++x) {
            bool want = RefInside(pts, mode, x, y);
            area += want;
            ASSERT_EQ(rgn.Contains(x, y), want) << "pixel " << x << "," << y;
        }
    EXPECT_EQ(rgn.Area(), area); // nothing outside the box
}

Region RandomRegion(std::mt19937& rng)
{
    std::uniform_int_distribution<int> coord(-3, 40), count(0, 7);
    std::vector<Rect> rects(size_t(count(rng)));
    for (Rect& r : rects)
        r = { coord(rng), coord(rng), coord(rng), coord(rng) }; // some are inverted
    return Region::FromRects(rects);
}

} // namespace

TEST(RegionTest, EmptyAndSingleRectangle)
{
    Region none;
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Bounds(), Rect {});
    EXPECT_EQ(none.Area(), 0);
    EXPECT_FALSE(none.Contains(0, 0));
    EXPECT_TRUE(Region(Rect { 5, 5, 5, 9 }).Empty());
    EXPECT_TRUE(Region(Rect { 5, 9, 8, 2 }).Empty()); // inverted

    Region r(Rect { 2, 3, 6, 8 });
    EXPECT_TRUE(r.IsRect());
    EXPECT_EQ(r.Area(), 20);
    EXPECT_EQ(r.Bounds(), (Rect { 2, 3, 6, 8 }));
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(5, 7));
    EXPECT_FALSE(r.Contains(6, 7)); // right and bottom edges are outside
    EXPECT_FALSE(r.Contains(5, 8));
    EXPECT_FALSE(r.Contains(1, 3));
    EXPECT_TRUE(r.Intersects({ 5, 7, 9, 9 }));
    EXPECT_FALSE(r.Intersects({ 6, 3, 9, 9 }));
    EXPECT_FALSE(r.Intersects({ 0, 0, 2, 20 }));
    EXPECT_FALSE(r.Intersects({ 3, 4, 3, 6 })); // empty probe
}

TEST(RegionTest, BandsMergeIntoCanonicalForm)
{
    // Two halves of one rectangle, whichever way they are cut, give the single rectangle.
    Region a = Region::FromRects(std::array { Rect { 0, 0, 10, 5 }, Rect { 0, 5, 10, 10 } });
    Region b = Region::FromRects(std::array { Rect { 5, 0, 10, 10 }, Rect { 0, 0, 5, 10 } });
    EXPECT_EQ(a, Region(Rect { 0, 0, 10, 10 }));
    EXPECT_EQ(b, a);

    // An L shape: two bands, and a hole cut out of the middle leaves four rectangles.
    Region l = Region::FromRects(std::array { Rect { 0, 0, 4, 10 }, Rect { 0, 6, 10, 10 } });
    EXPECT_EQ(l.Rects(), (std::vector<Rect> { { 0, 0, 4, 6 }, { 0, 6, 10, 10 } }));
    Region ring = Region(Rect { 0, 0, 9, 9 });
    ring -= Region(Rect { 3, 3, 6, 6 });
    EXPECT_EQ(ring.Rects(),
        (std::vector<Rect> { { 0, 0, 9, 3 }, { 0, 3, 3, 6 }, { 6, 3, 9, 6 }, { 0, 6, 9, 9 } }));
    EXPECT_EQ(ring.Area(), 72);
    EXPECT_FALSE(ring.Contains(4, 4));
    EXPECT_FALSE(ring.Intersects({ 3, 3, 6, 6 }));
    EXPECT_TRUE(ring.Intersects({ 5, 5, 7, 6 }));
    EXPECT_EQ(ring.Bounds(), (Rect { 0, 0, 9, 9 }));
}

TEST(RegionTest, CombineMatchesPixelSetsForEveryOperation)
{
    std::mt19937 rng(1234);
    for (int iter = 0; iter < 400; ++iter) {
        Region a = RandomRegion(rng), b = RandomRegion(rng);
        ASSERT_TRUE(Canonical(a));
        Mask ma = Mask::Of(a), mb = Mask::Of(b);
        for (RegionOp op :
            { RegionOp::And, RegionOp::Or, RegionOp::Xor, RegionOp::Diff, RegionOp::Copy }) {
            Region c = Region::Combine(a, b, op);
            ASSERT_TRUE(Canonical(c)) << int(op);
            Mask mc = Mask::Of(c);
            for (size_t i = 0; i < mc.bits.size(); ++i) {
                bool x = ma.bits[i], y = mb.bits[i];
                bool want = op == RegionOp::And ? x && y
                    : op == RegionOp::Or        ? x || y
                    : op == RegionOp::Xor       ? x != y
                    : op == RegionOp::Diff      ? x && !y
                                                : x;
                ASSERT_EQ(mc.bits[i] != 0, want) << "op " << int(op) << " pixel " << i;
            }
            EXPECT_EQ(c.Area(), mc.Count());
        }
        // The in-place operators agree with Combine.
        Region t = a;
        t ^= b;
        EXPECT_EQ(t, Region::Combine(a, b, RegionOp::Xor));
        // Point tests and rectangle probes against the pixel set.
        for (int y = Mask::Y0; y < Mask::Y0 + Mask::H; y += 3)
            for (int x = Mask::X0; x < Mask::X0 + Mask::W; ++x)
                ASSERT_EQ(a.Contains(x, y), ma.At(x, y) != 0);
        std::uniform_int_distribution<int> coord(-3, 42);
        for (int k = 0; k < 10; ++k) {
            Rect p { coord(rng), coord(rng), coord(rng), coord(rng) };
            bool hit = false;
            for (int y = std::max(p.top, Mask::Y0); y < p.bottom; ++y)
                for (int x = std::max(p.left, Mask::X0); x < p.right; ++x)
                    hit = hit || ma.At(x, y);
            ASSERT_EQ(a.Intersects(p), hit);
        }
    }
}

TEST(RegionTest, AlgebraicInvariants)
{
    std::mt19937 rng(99);
    for (int iter = 0; iter < 300; ++iter) {
        Region a = RandomRegion(rng), b = RandomRegion(rng);
        Region both = a & b, only = a - b;
        EXPECT_EQ(both.Area() + only.Area(), a.Area());
        EXPECT_EQ(both | only, a);
        EXPECT_EQ(a ^ b, (a | b) - (a & b));
        EXPECT_EQ((a | b).Bounds(), a.Bounds().Union(b.Bounds()));
    }
    // The same rectangles in any order give the same list.
    std::vector<Rect> rects;
    std::uniform_int_distribution<int> coord(0, 30);
    for (int i = 0; i < 25; ++i)
        rects.push_back({ coord(rng), coord(rng), coord(rng), coord(rng) });
    Region first = Region::FromRects(rects);
    Region folded;
    for (auto it = rects.rbegin(); it != rects.rend(); ++it)
        folded |= Region(*it);
    for (int k = 0; k < 5; ++k) {
        std::shuffle(rects.begin(), rects.end(), rng);
        EXPECT_EQ(Region::FromRects(rects), first);
    }
    EXPECT_EQ(folded, first);
}

TEST(RegionTest, OffsetMovesAndDropsPixelsPastTheLimits)
{
    Region r = Region::FromRects(
        std::array { Rect { 0, 0, 4, 2 }, Rect { 6, 0, 8, 2 }, Rect { 0, 2, 8, 5 } });
    Region moved = r;
    moved.Offset(-3, 7);
    EXPECT_EQ(moved.Bounds(), (Rect { -3, 7, 5, 12 }));
    EXPECT_EQ(moved.Area(), r.Area());
    EXPECT_FALSE(moved.Contains(1, 7));
    moved.Offset(3, -7);
    EXPECT_EQ(moved, r);

    // Near the edge of the coordinate space the two bands become equal and must merge.
    const int32_t M = INT32_MAX;
    Region edge
        = Region::FromRects(std::array { Rect { M - 10, 0, M, 5 }, Rect { M - 10, 5, M - 2, 10 } });
    edge.Offset(5, 0);
    EXPECT_EQ(edge.Rects(), (std::vector<Rect> { { M - 5, 0, M, 10 } }));
    edge.Offset(INT32_MAX, INT32_MAX);
    EXPECT_TRUE(edge.Empty());

    Region low(Rect { INT32_MIN + 2, INT32_MIN, INT32_MIN + 6, INT32_MIN + 3 });
    low.Offset(INT32_MIN, 1);
    EXPECT_TRUE(low.Empty());
    Region full(Rect { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX });
    EXPECT_EQ(full.Area(), INT64_MAX); // (2^32 - 1)^2 pixels saturate
    full.Offset(-1, 0);
    EXPECT_EQ(full.Bounds(), (Rect { INT32_MIN, INT32_MIN, INT32_MAX - 1, INT32_MAX }));
}

TEST(RegionTest, UnknownOperationGivesEmptyRegionAndReportsFailure)
{
    ReportFailure("");
    Region a(Rect { 0, 0, 3, 3 });
    EXPECT_TRUE(Region::Combine(a, a, RegionOp(9)).Empty());
    EXPECT_FALSE(LastError().empty());
    ReportFailure("");
    std::array tri { Point { 0, 0 }, Point { 9, 0 }, Point { 0, 9 } };
    EXPECT_TRUE(Region::FromPolygon(tri, FillMode(0)).Empty());
    EXPECT_FALSE(LastError().empty());
}

TEST(RegionTest, PolygonPixelCentresAndTieRule)
{
    // Square with corners on pixel boundaries: exactly the pixels inside, right and bottom
    // edges left out.
    std::array square { Point { 2, 1 }, Point { 7, 1 }, Point { 7, 4 }, Point { 2, 4 } };
    EXPECT_EQ(Region::FromPolygon(square, FillMode::Alternate).Rects(),
        (std::vector<Rect> { { 2, 1, 7, 4 } }));

    // The upright needle: a 10 pixel shaft from row 72 to 271, a head of 9, 7, 5, 3, 1
    // pixels. Head edges cross pixel centres; the left one is inside, the right one not.
    std::array needle { Point { 149, 272 }, Point { 149, 72 }, Point { 149, 72 }, Point { 154, 67 },
        Point { 159, 72 }, Point { 159, 72 }, Point { 159, 272 } };
    Region n = Region::FromPolygon(needle, FillMode::Winding);
    EXPECT_EQ(n.Rects(),
        (std::vector<Rect> { { 153, 67, 154, 68 }, { 152, 68, 155, 69 }, { 151, 69, 156, 70 },
            { 150, 70, 157, 71 }, { 149, 71, 158, 72 }, { 149, 72, 159, 272 } }));
    EXPECT_EQ(n.Area(), 2025);
}

TEST(RegionTest, NeedleOutlinesMatchTheReference)
{
    const std::array<std::array<Point, 7>, 4> outlines { {
        { { { 149, 272 }, { 149, 72 }, { 149, 72 }, { 154, 67 }, { 159, 72 }, { 159, 72 },
            { 159, 272 } } },
        { { { 146, 274 }, { 146, 74 }, { 136, 74 }, { 154, 44 }, { 171, 74 }, { 162, 74 },
            { 162, 274 } } },
        { { { 124, 281 }, { 24, 107 }, { 24, 107 }, { 26, 101 }, { 32, 102 }, { 32, 102 },
            { 132, 275 } } },
        { { { 174, 276 }, { 274, 102 }, { 274, 102 }, { 281, 101 }, { 282, 107 }, { 282, 107 },
            { 182, 280 } } },
    } };
    for (const auto& outline : outlines) {
        SCOPED_TRACE(
            ::testing::Message() << "outline from " << outline[0].x << "," << outline[0].y);
        ExpectMatchesReference(outline, FillMode::Winding);
        std::array<Point, 7> shifted = outline;
        for (Point& p : shifted)
            p = { p.x + 1, p.y + 57 };
        ExpectMatchesReference(shifted, FillMode::Winding);
        Region a = Region::FromPolygon(outline, FillMode::Winding);
        a.Offset(1, 57);
        EXPECT_EQ(Region::FromPolygon(shifted, FillMode::Winding), a);
        // A simple outline fills the same under both rules.
        EXPECT_EQ(Region::FromPolygon(outline, FillMode::Alternate),
            Region::FromPolygon(outline, FillMode::Winding));
    }
}

TEST(RegionTest, RandomPolygonsMatchTheReference)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-3, 24), count(3, 11), coin(0, 3);
    for (int iter = 0; iter < 600; ++iter) {
        std::vector<Point> pts(size_t(count(rng)));
        for (size_t i = 0; i < pts.size(); ++i)
            pts[i] = i > 0 && coin(rng) == 0 ? pts[i - 1] : Point { coord(rng), coord(rng) };
        SCOPED_TRACE(iter);
        ExpectMatchesReference(pts, FillMode::Alternate);
        ExpectMatchesReference(pts, FillMode::Winding);
        if (HasFatalFailure())
            return;
    }
}

TEST(RegionTest, FillRulesDifferOnOverlaps)
{
    // A five-pointed star drawn in one stroke: its centre is wound twice.
    std::array star { Point { 20, 0 }, Point { 32, 38 }, Point { 0, 14 }, Point { 40, 14 },
        Point { 8, 38 } };
    Region alt = Region::FromPolygon(star, FillMode::Alternate);
    Region wind = Region::FromPolygon(star, FillMode::Winding);
    EXPECT_FALSE(alt.Contains(20, 22));
    EXPECT_TRUE(wind.Contains(20, 22));
    EXPECT_TRUE(alt.Contains(20, 5));
    EXPECT_EQ(alt - wind, Region());
    EXPECT_GT((wind - alt).Area(), 100);
    ExpectMatchesReference(star, FillMode::Alternate);
    ExpectMatchesReference(star, FillMode::Winding);

    // A square traced twice: winding fills it, alternate cancels out.
    std::array twice { Point { 0, 0 }, Point { 6, 0 }, Point { 6, 6 }, Point { 0, 6 },
        Point { 0, 0 }, Point { 6, 0 }, Point { 6, 6 }, Point { 0, 6 } };
    EXPECT_EQ(Region::FromPolygon(twice, FillMode::Winding), Region(Rect { 0, 0, 6, 6 }));
    EXPECT_TRUE(Region::FromPolygon(twice, FillMode::Alternate).Empty());
}

TEST(RegionTest, DegeneratePolygonsAreEmpty)
{
    const std::vector<std::vector<Point>> cases { {}, { { 3, 3 } }, { { 3, 3 }, { 9, 20 } },
        { { 0, 0 }, { 4, 4 }, { 10, 10 }, { 2, 2 } }, { { 5, 5 }, { 5, 5 }, { 5, 5 } },
        { { 0, 4 }, { 9, 4 }, { 3, 4 } } };
    for (const auto& pts : cases)
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding })
            EXPECT_TRUE(Region::FromPolygon(pts, mode).Empty()) << pts.size() << " points";
}

TEST(RegionTest, PolygonsAtTheCoordinateLimits)
{
    std::array all { Point { INT32_MIN, INT32_MIN }, Point { INT32_MAX, INT32_MIN },
        Point { INT32_MAX, INT32_MAX }, Point { INT32_MIN, INT32_MAX } };
    EXPECT_EQ(Region::FromPolygon(all, FillMode::Winding),
        Region(Rect { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX }));

    // A steep sliver across the whole range, a thin triangle with one huge edge and a
    // crossed quadrilateral: spot checks against the reference over the full height.
    const std::vector<std::vector<Point>> shapes {
        { { -5, INT32_MIN }, { 5, INT32_MIN }, { 8, INT32_MAX }, { -2, INT32_MAX } },
        { { INT32_MIN, 0 }, { INT32_MAX, 3 }, { INT32_MAX, 9 } },
        { { INT32_MIN, -7 }, { INT32_MAX, 7 }, { INT32_MAX, -7 }, { INT32_MIN, 7 } },
    };
    std::mt19937 rng(5);
    for (const auto& shape : shapes)
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            Region r = Region::FromPolygon(shape, mode);
            EXPECT_TRUE(Canonical(r));
            EXPECT_FALSE(r.Empty());
            Rect b = r.Bounds();
            std::uniform_int_distribution<int64_t> ys(b.top, int64_t(b.bottom) - 1);
            for (int k = 0; k < 200; ++k) {
                int32_t y = int32_t(ys(rng));
                // Probe around the spans of this row and at a few far points.
                std::vector<int32_t> xs { INT32_MIN, INT32_MAX - 1, 0, -1 };
                for (const Rect& q : r.Rects())
                    if (q.top <= y && y < q.bottom)
                        for (int32_t x : { q.left, q.right })
                            for (int d = -1; d <= 0; ++d)
                                xs.push_back(int32_t(
                                    std::clamp<int64_t>(int64_t(x) + d, INT32_MIN, INT32_MAX)));
                for (int32_t x : xs)
                    ASSERT_EQ(r.Contains(x, y), RefInside(shape, mode, x, y)) << x << "," << y;
            }
        }
}

TEST(RegionTest, ClippedPolygonIsTheIntersectionWithTheClip)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-3, 24), count(3, 9);
    for (int iter = 0; iter < 400; ++iter) {
        std::vector<Point> pts(size_t(count(rng)));
        for (Point& p : pts)
            p = { coord(rng), coord(rng) };
        Rect clip { coord(rng), coord(rng), coord(rng), coord(rng) };
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            Region cut = Region::FromPolygon(pts, mode, clip);
            ASSERT_TRUE(Canonical(cut));
            ASSERT_EQ(cut, Region::FromPolygon(pts, mode) & Region(clip)) << iter;
        }
    }
    // A polygon with shallow edges billions of pixels long, seen through a small window:
    // every pixel of the window against the reference.
    std::array huge { Point { INT32_MIN, -3 }, Point { INT32_MAX, 30 }, Point { 10, INT32_MAX },
        Point { -7, INT32_MIN } };
    Rect window { -20, -20, 40, 40 };
    for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
        Region cut = Region::FromPolygon(huge, mode, window);
        int64_t area = 0;
        for (int32_t y = window.top; y < window.bottom; ++y)
            for (int32_t x = window.left; x < window.right; ++x) {
                bool want = RefInside(huge, mode, x, y);
                area += want;
                ASSERT_EQ(cut.Contains(x, y), want) << x << "," << y;
            }
        EXPECT_EQ(cut.Area(), area);
        EXPECT_GT(area, 0);
        EXPECT_LT(area, int64_t(window.Width() * window.Height()));
    }
}

// The operations that reuse a region's storage give what Combine gives, also when an
// operand is the region itself, when the regions keep their storage from one round to the
// next, and for rectangle lists handed over already banded (as a scan produces them).
TEST(RegionTest, StorageReusingOperationsMatchCombine)
{
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> coord(-3, 42);
    Region kept, other;
    for (int iter = 0; iter < 400; ++iter) {
        Region a = RandomRegion(rng), b = RandomRegion(rng);
        for (RegionOp op : { RegionOp::And, RegionOp::Or, RegionOp::Diff, RegionOp::Copy }) {
            const Region want = Region::Combine(a, b, op);
            kept.Assign(a, b, op);
            ASSERT_EQ(kept, want) << int(op);
            ASSERT_TRUE(Canonical(kept));
            other = a;
            other.Assign(other, b, op);
            ASSERT_EQ(other, want) << int(op);
            other = b;
            other.Assign(a, other, op);
            ASSERT_EQ(other, want) << int(op);
        }
        Region self = a;
        self &= self;
        EXPECT_EQ(self, a);
        self -= self;
        EXPECT_TRUE(self.Empty());

        Rect r { coord(rng), coord(rng), coord(rng), coord(rng) };
        Region cut = a;
        cut.IntersectRect(r);
        ASSERT_EQ(cut, Region::Combine(a, Region(r), RegionOp::And));
        ASSERT_TRUE(Canonical(cut));

        // Rows of single pixels in scan order, runs within a row left to right, and the
        // same list shuffled.
        std::vector<Rect> runs;
        for (int y = Mask::Y0; y < Mask::Y0 + Mask::H; ++y)
            for (int x = Mask::X0; x < Mask::X0 + Mask::W;) {
                if (!a.Contains(x, y)) {
                    ++x;
                    continue;
                }
                int start = x;
                while (x < Mask::X0 + Mask::W && a.Contains(x, y))
                    ++x;
                runs.push_back({ start, y, x, y + 1 });
            }
        kept.AssignRects(runs);
        ASSERT_EQ(kept, a);
        std::shuffle(runs.begin(), runs.end(), rng);
        kept.AssignRects(runs);
        ASSERT_EQ(kept, a);
        ASSERT_TRUE(Canonical(kept));
    }
}

// Regions of many thin bands, like a slanted shape's, lying above, below and beside each
// other with gaps and touching rows: every operation gives the pixel set it should, in
// canonical form, also where whole bands of one operand are taken over as they are and the
// first of them continues the band written before it.
TEST(RegionTest, CombiningRegionsOfManyBandsMatchesPixelSets)
{
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> rows(0, 40), x(-3, 38), width(1, 9), pick(0, 5);
    auto bands = [&] {
        std::vector<Rect> rects;
        const int first = rows(rng) - 4, last = first + rows(rng);
        int l = std::min(x(rng), 28), w = width(rng);
        for (int y = first; y < last && y < 44; ++y) {
            if (pick(rng) == 0)
                continue;   // a gap
            if (pick(rng) < 3) {
                l = std::clamp(l + pick(rng) - 2, -3, 28);   // within the mask
                w = width(rng);
            }
            rects.push_back({ l, y, l + w, y + 1 });
            if (pick(rng) == 1)
                rects.push_back({ l + w + 2, y, l + w + 4, y + 1 });
        }
        return Region::FromRects(rects);
    };
    for (int iter = 0; iter < 600; ++iter) {
        const Region a = bands(), b = iter % 5 == 0 ? RandomRegion(rng) : bands();
        const Mask ma = Mask::Of(a), mb = Mask::Of(b);
        for (RegionOp op : { RegionOp::And, RegionOp::Or, RegionOp::Xor, RegionOp::Diff }) {
            const Region c = Region::Combine(a, b, op);
            ASSERT_TRUE(Canonical(c)) << iter << " op " << int(op);
            const Mask mc = Mask::Of(c);
            for (size_t i = 0; i < mc.bits.size(); ++i) {
                const bool p = ma.bits[i], q = mb.bits[i];
                const bool want = op == RegionOp::And ? p && q
                    : op == RegionOp::Or              ? p || q
                    : op == RegionOp::Xor             ? p != q
                                                      : p && !q;
                ASSERT_EQ(mc.bits[i] != 0, want) << iter << " op " << int(op) << " pixel " << i;
            }
        }
    }
}

// Taking a rectangle away gives what subtracting its region gives, on regions kept and
// reused from one call to the next.
TEST(Region, SubtractRectEqualsSubtractingItsRegion)
{
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> v(-20, 40);
    Region kept;
    for (int n = 0; n < 300; ++n) {
        std::vector<Rect> rects;
        for (int i = 0; i < 6; ++i) {
            int l = v(rng), t = v(rng);
            rects.push_back({ l, t, l + v(rng) / 2 + 10, t + v(rng) / 2 + 10 });
        }
        kept.AssignRects(rects);
        const Region before = kept;
        int l = v(rng), t = v(rng);
        const Rect cut { l, t, l + v(rng), t + v(rng) };
        kept.SubtractRect(cut);
        ASSERT_EQ(kept, before - Region(cut)) << n;
    }
}

// Setting and uniting a rectangle give what the rectangle's region gives, and a copy into
// a region that holds more or fewer rectangles is the source, on regions kept and reused
// from one call to the next.
TEST(Region, RectangleCallsAndCopiesOnKeptRegions)
{
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> coord(-3, 42);
    Region kept, copy;
    for (int n = 0; n < 300; ++n) {
        const Region a = RandomRegion(rng);
        const Rect r { coord(rng), coord(rng), coord(rng), coord(rng) };   // some inverted
        copy = a;
        ASSERT_EQ(copy, a) << n;
        kept = a;
        kept.UnionRect(r);
        ASSERT_EQ(kept, a | Region(r)) << n;
        ASSERT_TRUE(Canonical(kept));
        kept.SetRect(r);
        ASSERT_EQ(kept, Region(r)) << n;
        ASSERT_EQ(kept.Empty(), r.Empty()) << n;
    }
}

// One-row runs united with a region: runs above, below, between and across its bands,
// meeting or overlapping its spans, on rows it has and rows it lacks; and runs out of order,
// which take the general union.
TEST(Region, UnitingRowRunsEqualsTheUnionOfTheirRectangles)
{
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> coord(-3, 42), count(0, 12), width(1, 6), step(0, 3);
    Region kept;
    for (int n = 0; n < 500; ++n) {
        const Region a = RandomRegion(rng);
        std::vector<Rect> runs;
        int y = coord(rng) - 5;
        for (int k = count(rng); k > 0; --k) {
            y += step(rng) ? step(rng) : 0;
            int x = runs.empty() || runs.back().top != y ? coord(rng) - 5 : runs.back().right + 1;
            x += step(rng);
            runs.push_back({ x, y, x + width(rng), y + 1 });
        }
        if (n % 7 == 0 && runs.size() > 1)
            std::swap(runs.front(), runs.back());   // out of order
        kept = a;
        kept.UniteRows(runs);
        ASSERT_EQ(kept, a | Region::FromRects(runs)) << n;
        ASSERT_TRUE(Canonical(kept)) << n;
    }
}
