// Rectangles, lines, pens, clipping and saved states of the drawing context.

#include "platform/DcTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace plat;
using namespace dctest;

namespace {

struct DcTest : ::testing::Test {
    Surface s = PaperSurface(12, 8);
    Dc dc { &s };
    void SetUp() override
    {
        dc.SetPen(SolidPen(Ink));
        dc.SetBrush({ BrushStyle::Solid, Fill });
    }
};

TEST_F(DcTest, RectangleCoversItsBoxWithoutRightAndBottomEdge)
{
    dc.Rectangle(0, 0, 4, 3);
    EXPECT_EQ(Picture(s), "####........\n"
                          "#oo#........\n"
                          "####........\n"
                          "............\n"
                          "............\n"
                          "............\n"
                          "............\n"
                          "............\n");
    Surface swapped = PaperSurface(12, 8);
    Dc other(&swapped);
    other.SetPen(SolidPen(Ink));
    other.SetBrush({ BrushStyle::Solid, Fill });
    other.Rectangle(4, 3, 0, 0);   // corners in any order
    EXPECT_EQ(swapped, s);
}

TEST_F(DcTest, FillFrameAndInvertUseTheHalfOpenRectangle)
{
    dc.FillRect({ 1, 1, 4, 3 }, Ink);
    dc.FrameRect({ 5, 1, 9, 5 }, Ink);
    dc.FillRect({ 10, 3, 9, 1 }, Ink);   // inverted: empty
    dc.InvertRect({ 0, 6, 2, 7 });
    EXPECT_EQ(Picture(s), "............\n"
                          ".###.####...\n"
                          ".###.#..#...\n"
                          ".....#..#...\n"
                          ".....####...\n"
                          "............\n"
                          "##..........\n"
                          "............\n");
    dc.SetBrush({ BrushStyle::Clear, Ink });
    Surface before = s;
    dc.FillRect({ 0, 0, 12, 8 });
    EXPECT_EQ(s, before);
}

TEST_F(DcTest, LineLeavesOutItsEndPoint)
{
    dc.MoveTo(0, 0);
    dc.LineTo(4, 0);
    dc.MoveTo(11, 1);
    dc.LineTo(11, 4);
    dc.MoveTo(0, 2);
    dc.LineTo(4, 4);
    EXPECT_EQ(Picture(s), "####........\n"
                          "...........#\n"
                          "##.........#\n"
                          "..##.......#\n"
                          "............\n"
                          "............\n"
                          "............\n"
                          "............\n");
    EXPECT_EQ(dc.CurrentPosition(), (Point { 4, 4 }));
}

TEST(DcLines, ReverseLineCoversTheSamePixelsAndIsConnected)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 30);
    for (int n = 0; n < 300; ++n) {
        Point a { coord(rng), coord(rng) }, b { coord(rng), coord(rng) };
        Surface fwd = PaperSurface(31, 31), rev = PaperSurface(31, 31);
        Dc f(&fwd), r(&rev);
        f.MoveTo(a.x, a.y);
        f.LineTo(b.x, b.y);
        r.MoveTo(b.x, b.y);
        r.LineTo(a.x, a.y);
        auto pf = PixelsNot(fwd, Paper), pr = PixelsNot(rev, Paper);
        if (!(a == b)) {
            pf.insert({ b.x, b.y });
            pr.insert({ a.x, a.y });
        }
        ASSERT_EQ(pf, pr) << a.x << "," << a.y << " " << b.x << "," << b.y;
        // One pixel per step of the longer axis, each next to the one before.
        size_t steps = size_t(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)));
        ASSERT_EQ(PixelsNot(fwd, Paper).size(), steps);
        for (auto [x, y] : pf) {
            bool alone = pf.size() > 1;
            for (auto [u, v] : pf)
                if ((u != x || v != y) && std::abs(u - x) <= 1 && std::abs(v - y) <= 1)
                    alone = false;
            ASSERT_FALSE(alone);
        }
    }
}

TEST_F(DcTest, WidePensAreCentredOnTheIdealLine)
{
    dc.SetPen(SolidPen(Ink, 3));
    dc.MoveTo(3, 4);
    dc.LineTo(8, 4);
    // Rows 3..5 are covered along the whole line, rows 2 and 6 nowhere.
    for (int x = 3; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(s.GetColor(x, y), (y >= 3 && y <= 5) ? Ink : Paper) << x << "," << y;
    // Round caps reach half the width beyond both ends.
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(s.GetColor(x, 4), (x >= 2 && x <= 9) ? Ink : Paper) << x;
    Surface col = PaperSurface(9, 11);
    Dc dcol(&col);
    dcol.SetPen(SolidPen(Ink, 3));
    dcol.MoveTo(4, 2);
    dcol.LineTo(4, 7);
    for (int y = 0; y < 11; ++y)
        EXPECT_EQ(col.GetColor(4, y), (y >= 1 && y <= 8) ? Ink : Paper) << y;

    Surface v = PaperSurface(9, 9);
    Dc dv(&v);
    dv.SetPen(SolidPen(Ink, 2));
    dv.MoveTo(4, 2);
    dv.LineTo(4, 7);
    // An even width puts its extra column on the left.
    for (int y = 3; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(v.GetColor(x, y), (x == 3 || x == 4) ? Ink : Paper) << x << "," << y;
}

TEST_F(DcTest, WideRectangleOutlineIsCentredOrInside)
{
    dc.SetPen(SolidPen(Ink, 3));
    dc.Rectangle(2, 2, 9, 7);
    EXPECT_EQ(Picture(s), "............\n"
                          ".#########..\n"
                          ".#########..\n"
                          ".#########..\n"
                          ".###ooo###..\n"
                          ".#########..\n"
                          ".#########..\n"
                          ".#########..\n");
    s.Fill(Paper);
    Pen inside = SolidPen(Ink, 2);
    inside.style = PenStyle::InsideFrame;
    dc.SetPen(inside);
    dc.Rectangle(2, 1, 9, 7);
    EXPECT_EQ(Picture(s), "............\n"
                          "..#######...\n"
                          "..#######...\n"
                          "..##ooo##...\n"
                          "..##ooo##...\n"
                          "..#######...\n"
                          "..#######...\n"
                          "............\n");
}

TEST_F(DcTest, DashedPatternRunsAlongTheLineAndAcrossJoins)
{
    Pen dot = SolidPen(Ink);
    dot.style = PenStyle::Dot;
    dc.SetPen(dot);
    dc.SetBkMode(BkMode::Transparent);
    dc.MoveTo(0, 0);
    dc.LineTo(12, 0);
    dc.MoveTo(0, 1);
    dc.LineTo(4, 1);
    dc.LineTo(8, 1);
    dc.LineTo(12, 1);
    dc.MoveTo(0, 2);
    dc.LineTo(2, 2);
    dc.MoveTo(5, 2);   // a move starts the pattern afresh
    dc.LineTo(12, 2);
    dc.SetBkMode(BkMode::Opaque);
    dc.SetBkColor(Fill);
    dc.MoveTo(0, 3);
    dc.LineTo(12, 3);
    EXPECT_EQ(Picture(s).substr(0, 13 * 4), "###...###...\n"
                                            "###...###...\n"
                                            "##...###...#\n"
                                            "###ooo###ooo\n");
}

TEST_F(DcTest, ClearPenDrawsNothingAndMixModesCombine)
{
    Pen clear = SolidPen(Ink);
    clear.style = PenStyle::Clear;
    dc.SetPen(clear);
    dc.SetBrush({ BrushStyle::Clear, Ink });
    Surface before = s;
    dc.MoveTo(0, 0);
    dc.LineTo(11, 7);
    dc.Rectangle(0, 0, 12, 8);
    dc.Ellipse(0, 0, 12, 8);
    dc.Arc(0, 0, 12, 8, 0, 0, 0, 0);
    EXPECT_EQ(s, before);

    Pen x = SolidPen(0x00FF00);
    x.mode = Rop2::XorPen;
    dc.SetPen(x);
    dc.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(s.GetColor(1, 1), 0xFF00FFu);
    EXPECT_EQ(s.GetColor(2, 2), Paper);
    dc.Rectangle(1, 1, 6, 5);   // xor twice restores, corners included
    EXPECT_EQ(s, before);

    x.mode = Rop2::Not;
    dc.SetPen(x);
    dc.MoveTo(0, 7);
    dc.LineTo(3, 7);
    EXPECT_EQ(s.GetColor(0, 7), 0u);
    EXPECT_EQ(s.GetColor(3, 7), Paper);
}

TEST_F(DcTest, FocusRectangleIsADottedInversionThatUndoesItself)
{
    Surface before = s;
    dc.DrawFocusRect({ 1, 1, 7, 5 });
    auto changed = PixelsNot(s, Paper);
    EXPECT_EQ(changed.size(), 8u);   // half of the 16 frame pixels
    for (auto [x, y] : changed) {
        EXPECT_TRUE(x == 1 || x == 6 || y == 1 || y == 4);
        EXPECT_EQ(s.GetColor(x, y), 0u);
    }
    dc.DrawFocusRect({ 1, 1, 7, 5 });
    EXPECT_EQ(s, before);
}

TEST_F(DcTest, OriginMovesDrawingAndClipRectsAreLogical)
{
    dc.SetOrigin({ 2, 1 });
    dc.IntersectClipRect({ 0, 0, 5, 4 });
    dc.ExcludeClipRect({ 1, 1, 3, 3 });
    EXPECT_EQ(dc.ClipBox(), (Rect { 0, 0, 5, 4 }));
    EXPECT_TRUE(dc.PtVisible(0, 0));
    EXPECT_FALSE(dc.PtVisible(1, 1));
    dc.FillRect({ -5, -5, 20, 20 }, Ink);
    EXPECT_EQ(Picture(s), "............\n"
                          "..#####.....\n"
                          "..#..##.....\n"
                          "..#..##.....\n"
                          "..#####.....\n"
                          "............\n"
                          "............\n"
                          "............\n");
    EXPECT_EQ(dc.GetPixel(0, 0), Ink);
    EXPECT_EQ(dc.GetPixel(1, 1), 0xFFFFFFFFu);   // excluded
    EXPECT_EQ(dc.GetPixel(-3, 0), 0xFFFFFFFFu);  // off the surface
    EXPECT_EQ(dc.GetPixel(INT32_MAX, INT32_MIN), 0xFFFFFFFFu);
}

TEST_F(DcTest, SaveAndRestoreBringBackOriginClipAndObjects)
{
    int first = dc.Save();
    EXPECT_EQ(first, 1);
    dc.SetOrigin({ 3, 3 });
    dc.IntersectClipRect({ 0, 0, 2, 2 });
    dc.SetPen(SolidPen(Fill, 4));
    dc.MoveTo(1, 1);
    EXPECT_EQ(dc.Save(), 2);
    dc.SelectClipRegion(nullptr);
    dc.SetOrigin({ 0, 0 });
    ASSERT_TRUE(dc.Restore());
    EXPECT_EQ(dc.Origin(), (Point { 3, 3 }));
    EXPECT_EQ(dc.ClipBox(), (Rect { 0, 0, 2, 2 }));
    EXPECT_EQ(dc.CurrentPosition(), (Point { 1, 1 }));
    ASSERT_TRUE(dc.Restore(first));
    EXPECT_EQ(dc.Origin(), (Point { 0, 0 }));
    EXPECT_EQ(dc.ClipBox(), (Rect { 0, 0, 12, 8 }));
    EXPECT_EQ(dc.GetPen().color, Ink);
    EXPECT_FALSE(dc.Restore());   // nothing left to restore
    EXPECT_FALSE(dc.Restore(5));
}

// Saves after restores reuse the freed places: each restore still brings back the state
// saved at its depth, never one saved earlier at that place.
TEST_F(DcTest, SavesIntoReusedPlacesRestoreTheirOwnStates)
{
    for (int round = 0; round < 3; ++round) {
        dc.IntersectClipRect({ 0, 0, 10 - round, 8 });
        ASSERT_EQ(dc.Save(), 1);
        dc.IntersectClipRect({ 1, 1, 9 - round, 7 });
        dc.SetOrigin({ round, 0 });
        ASSERT_EQ(dc.Save(), 2);
        dc.SelectClipRegion(nullptr);
        dc.SetOrigin({ 0, 0 });
        ASSERT_TRUE(dc.Restore());
        EXPECT_EQ(dc.ClipBox(), (Rect { 1 - round, 1, 9 - 2 * round, 7 })) << round;
        ASSERT_TRUE(dc.Restore(1));
        EXPECT_EQ(dc.ClipBox(), (Rect { 0, 0, 10 - round, 8 })) << round;
        EXPECT_EQ(dc.Origin(), (Point { 0, 0 }));
        EXPECT_FALSE(dc.Restore());
        dc.SelectClipRegion(nullptr);
    }
}

// A context reset onto a surface is as a new one: no clip, origin, objects or saved
// states stay from its earlier use, and it paints what a new context paints.
TEST_F(DcTest, ResetGivesTheStateOfANewContext)
{
    dc.SetBaseClip(Region(Rect { 0, 0, 3, 3 }));
    dc.Save();
    dc.SetOrigin({ 2, 1 });
    dc.ExcludeClipRect({ 0, 0, 1, 1 });
    dc.SetPen(SolidPen(Fill, 3));
    dc.SetBkMode(BkMode::Transparent);
    dc.MoveTo(4, 4);
    Surface other = PaperSurface(6, 5);
    dc.Reset(&other);
    EXPECT_EQ(dc.Target(), &other);
    EXPECT_EQ(dc.Origin(), (Point { 0, 0 }));
    EXPECT_EQ(dc.ClipBox(), (Rect { 0, 0, 6, 5 }));
    EXPECT_EQ(dc.BaseClip(), Region(Rect { 0, 0, 6, 5 }));
    EXPECT_EQ(dc.CurrentPosition(), (Point { 0, 0 }));
    EXPECT_EQ(dc.GetBkMode(), BkMode::Opaque);
    EXPECT_FALSE(dc.Restore());
    dc.Rectangle(0, 0, 4, 3);
    dc.LineTo(5, 4);
    Surface fresh = PaperSurface(6, 5);
    Dc made(&fresh);
    made.Rectangle(0, 0, 4, 3);
    made.LineTo(5, 4);
    EXPECT_EQ(other, fresh);
}

TEST_F(DcTest, BaseClipLimitsEverythingAndSurvivesRestore)
{
    dc.SetBaseClip(Region(Rect { 0, 0, 3, 8 }));
    dc.Save();
    dc.SelectClipRegion(nullptr);
    dc.Restore();
    dc.FillRect({ 0, 0, 12, 1 }, Ink);
    dc.MoveTo(0, 1);
    dc.LineTo(12, 1);
    EXPECT_EQ(PixelsNot(s, Paper).size(), 6u);
    EXPECT_EQ(s.GetColor(3, 0), Paper);
}

// The clip a paint works under is the base clip met with the clip rectangles and regions
// given since, and with the surface: base clips of many bands and of parts outside the
// surface, rectangle clips that hold the base clip, cut it or miss it, at moved origins,
// through saves and restores.
TEST(DcClip, EffectiveClipIsTheBaseClipMetWithTheClipsGiven)
{
    std::mt19937 rng(41);
    std::uniform_int_distribution<int> coord(-6, 30), size(1, 14), pick(0, 4);
    Surface s(24, 20);
    Dc dc(&s);
    for (int n = 0; n < 400; ++n) {
        Region base;
        for (int k = 0; k < 3 + pick(rng) * 3; ++k) {
            const int x = coord(rng), y = coord(rng);
            base.UnionRect({ x, y, x + size(rng), y + 1 + pick(rng) / 3 });
        }
        dc.Reset(&s);
        dc.SetBaseClip(base);
        Region want = base;
        want.IntersectRect(s.Bounds());
        const int saved = dc.Save();
        for (int step = pick(rng); step > 0; --step) {
            const Point o { pick(rng) - 2, pick(rng) - 2 };
            dc.SetOrigin(o);
            const int x = coord(rng), y = coord(rng);
            const Rect r = pick(rng) == 0 ? Rect { -50, -50, 80, 80 } : Rect { x, y, x + size(rng), y + size(rng) };
            const Rect device = r.Offset(o.x, o.y);
            if (pick(rng) < 3) {
                dc.IntersectClipRect(r);
                want.IntersectRect(device);
            } else {
                dc.ExcludeClipRect(r);
                want.SubtractRect(device);
            }
            ASSERT_EQ(dc.EffectiveClip(), want) << n;
        }
        dc.Restore(saved);
        Region whole = base;
        whole.IntersectRect(s.Bounds());
        ASSERT_EQ(dc.EffectiveClip(), whole) << n;
    }
}

TEST(DcEmpty, ZeroSizedSurfaceAndNoSurfaceDoNothing)
{
    Surface none;
    Surface src = PaperSurface(4, 4);
    for (Surface* target : { &none, static_cast<Surface*>(nullptr) }) {
        Dc dc(target);
        dc.FillRect({ 0, 0, 10, 10 }, Ink);
        dc.Rectangle(0, 0, 5, 5);
        dc.Ellipse(0, 0, 5, 5);
        dc.MoveTo(0, 0);
        dc.LineTo(5, 5);
        Point tri[] = { { 0, 0 }, { 5, 0 }, { 0, 5 } };
        dc.Polygon(tri);
        dc.BitBlt(0, 0, 4, 4, src, 0, 0);
        dc.StretchBlt(0, 0, 8, 8, src, 0, 0, 4, 4);
        dc.MaskedBlt(0, 0, 4, 4, src, 0, 0, 4, 4, Paper);
        EXPECT_EQ(dc.GetPixel(0, 0), 0xFFFFFFFFu);
        EXPECT_TRUE(dc.EffectiveClip().Empty());
    }
    EXPECT_TRUE(ToMonochrome(none, Paper).Empty());
}

} // namespace
