#include "app/Needle.h"
#include "app/NeedleMask.h"
#include "platform/raster/Dc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr double Upright = 1.5707963267948966;
constexpr double Amplitude = 0.5235987755982988;
const NeedleShape Needle { 154, 322, 50, 10, 200, 10, 5 };

std::vector<plat::Point> Points(double angle, const NeedleShape& shape, int dx, int dy)
{
    TPoint p[7];
    NeedlePolygon(p, dx, dy, angle, shape);
    std::vector<plat::Point> q;
    for (const TPoint& t : p)
        q.push_back({ t.X, t.Y });
    return q;
}

// Draws the needle whole on a blank surface, as the paint box does, and collects every
// painted pixel.
plat::Region PaintedOnSurface(double angle, int dx, int dy)
{
    plat::Surface s(500, 500);
    plat::Dc dc(&s);
    dc.SetPen({ plat::PenStyle::Solid, 1, 0x808080 });
    dc.SetBrush({ plat::BrushStyle::Solid, 0x808080 });
    dc.Polygon(Points(angle, Needle, dx, dy));
    std::vector<plat::Rect> px;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.GetColor(x, y))
                px.push_back({ x, y, x + 1, y + 1 });
    return plat::Region::FromRects(px);
}

plat::Region Mask(TNeedleMask& mask, double angle, const NeedleShape& shape, int dx, int dy)
{
    TPoint p[7];
    NeedlePolygon(p, dx, dy, angle, shape);
    return mask.Covered(p);
}

} // namespace

// The mask is exactly what the canvas paints, wherever the needle stands and however it is
// shifted.
TEST(NeedleMask, EqualsThePaintedPixels)
{
    TNeedleMask mask;
    for (int i = 0; i <= 40; ++i) {
        double angle = Upright - Amplitude + 2 * Amplitude * i / 40;
        int dx = (i % 3) * 37, dy = (i % 2) * 57;
        ASSERT_EQ(Mask(mask, angle, Needle, dx, dy), PaintedOnSurface(angle, dx, dy)) << angle;
    }
}

// The outline's pen adds pixels that the polygon's own region leaves out; the mask holds
// both.
TEST(NeedleMask, HoldsThePolygonAndItsOutline)
{
    TNeedleMask mask;
    for (double angle : { Upright, Upright + Amplitude, Upright - Amplitude }) {
        plat::Region polygon = plat::Region::FromPolygon(Points(angle, Needle, 0, 0), plat::FillMode::Winding);
        plat::Region covered = Mask(mask, angle, Needle, 0, 0);
        EXPECT_TRUE((polygon - covered).Empty());
        EXPECT_GT((covered - polygon).Area(), 100) << angle;
    }
}
