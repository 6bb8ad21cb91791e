// Every primitive with extreme coordinates, sizes and pens on a small clipped target: no
// pixel outside the clip may change, and nothing may read or write out of bounds (the
// sanitizer builds check the latter).

#include "platform/DcTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace plat;
using namespace dctest;

namespace {

class Extremes {
public:
    explicit Extremes(uint32_t seed) : FRng(seed) { }

    int32_t Coord()
    {
        static constexpr int32_t special[] = { INT32_MIN, INT32_MIN + 1, -1000000, -1, 0, 1, 5, 9,
            10, 11, 1000000, INT32_MAX - 1, INT32_MAX };
        switch (FRng() % 3) {
        case 0: return special[FRng() % std::size(special)];
        case 1: return int32_t(FRng() % 30) - 10;
        default: return int32_t(FRng());
        }
    }
    uint32_t Next() { return FRng(); }

private:
    std::mt19937 FRng;
};

TEST(DcFuzz, ExtremeCoordinatesNeverTouchPixelsOutsideTheClip)
{
    Surface src = PaperSurface(5, 4);
    src.SetColor(2, 2, Ink);
    for (uint32_t seed = 1; seed <= 1500; ++seed) {
        Extremes e(seed);
        Surface s(10, 10);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x)
                s.SetColor(x, y, Color(0x10101 * (x + 10 * y)));
        const Surface before = s;
        Dc dc(&s);
        Region base(Rect { 1, 1, 9, 9 });
        base -= Region(Rect { 4, 0, 6, 5 });
        dc.SetBaseClip(base);
        if (e.Next() % 2)
            dc.IntersectClipRect({ e.Coord(), e.Coord(), e.Coord(), e.Coord() });
        if (e.Next() % 2)
            dc.SetOrigin({ e.Coord(), e.Coord() });
        Pen pen;
        pen.style = PenStyle(e.Next() % 7);
        pen.width = e.Next() % 4 == 0 ? e.Coord() : int32_t(e.Next() % 5);
        pen.mode = Rop2(e.Next() % 6);
        pen.color = 0x123456;
        dc.SetPen(pen);
        dc.SetBrush({ BrushStyle(e.Next() % 2), 0x654321 });
        dc.SetPolyFillMode(e.Next() % 2 ? FillMode::Alternate : FillMode::Winding);
        const uint32_t op = e.Next() % 17;
        int32_t a = e.Coord(), b = e.Coord(), c = e.Coord(), d = e.Coord();
        switch (op) {
        case 0: dc.FillRect({ a, b, c, d }, Ink); break;
        case 1: dc.FrameRect({ a, b, c, d }, Ink); break;
        case 2: dc.InvertRect({ a, b, c, d }); break;
        case 3: dc.Rectangle(a, b, c, d); break;
        case 4: dc.Ellipse(a, b, c, d); break;
        case 5: dc.RoundRect(a, b, c, d, e.Coord(), e.Coord()); break;
        case 6: dc.Arc(a, b, c, d, e.Coord(), e.Coord(), e.Coord(), e.Coord()); break;
        case 7:
            dc.MoveTo(a, b);
            dc.LineTo(c, d);
            dc.LineTo(e.Coord(), e.Coord());
            break;
        case 8: {
            Point pts[] = { { a, b }, { c, d }, { e.Coord(), e.Coord() }, { e.Coord(), e.Coord() } };
            dc.Polygon(std::span<const Point>(pts, 3 + e.Next() % 2));
            break;
        }
        case 9: {
            Point pts[] = { { a, b }, { c, d }, { e.Coord(), e.Coord() } };
            dc.Polyline(pts);
            break;
        }
        case 10: dc.SetPixel(a, b, Ink); break;
        case 11: dc.DrawFocusRect({ a, b, c, d }); break;
        case 12: {
            Region r(Rect { a, b, c, d }.Normalized());
            dc.FillRegion(r, Ink);
            break;
        }
        case 13: dc.BitBlt(a, b, c, d, src, e.Coord(), e.Coord(), Rop(e.Next() % 10)); break;
        case 14:
            dc.StretchBlt(a, b, c, d, src, e.Coord(), e.Coord(), e.Coord(), e.Coord(), Rop(e.Next() % 10));
            break;
        case 15: dc.MaskedBlt(a, b, c, d, src, e.Coord(), e.Coord(), e.Coord(), e.Coord(), Paper); break;
        default: dc.StretchBlt(a % 12, b % 12, c % 30, d % 30, s, a % 7, b % 7, c % 9, d % 9); break;
        }
        (void)dc.GetPixel(a, b);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x)
                if (!base.Contains(x, y)) {
                    ASSERT_EQ(s.GetColor(x, y), before.GetColor(x, y))
                        << "seed " << seed << " op " << op << " at " << x << "," << y;
                }
    }
}

} // namespace
