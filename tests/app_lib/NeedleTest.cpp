#include "app/Needle.h"
#include "platform/raster/Region.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr double Upright = 1.5707963267948966;
constexpr double Amplitude = 0.5235987755982988;

const NeedleShape Needle { 154, 322, 50, 10, 200, 10, 5 };
const NeedleShape Erase { 154, 322, 48, 16, 200, 35, 30 };

std::vector<TPoint> Outline(double angle, const NeedleShape& shape, int dx = 0, int dy = 0)
{
    TPoint p[7];
    NeedlePolygon(p, dx, dy, angle, shape);
    return { p, p + 7 };
}

std::vector<TPoint> Pts(std::initializer_list<std::array<int, 2>> xy)
{
    std::vector<TPoint> v;
    for (auto [x, y] : xy)
        v.push_back({ x, y });
    return v;
}

plat::Region RegionOf(const std::vector<TPoint>& pts)
{
    std::vector<plat::Point> p;
    for (const TPoint& q : pts)
        p.push_back({ q.X, q.Y });
    return plat::Region::FromPolygon(p, plat::FillMode::Winding);
}

} // namespace

TEST(NeedleOutline, FourOutlinesOfTheDataModel)
{
    EXPECT_EQ(Outline(Upright, Needle),
        Pts({ { 149, 272 }, { 149, 72 }, { 149, 72 }, { 154, 67 }, { 159, 72 }, { 159, 72 }, { 159, 272 } }));
    // The head corners lie 18 and 17 pixels from the axis: both are truncated.
    EXPECT_EQ(Outline(Upright, Erase),
        Pts({ { 146, 274 }, { 146, 74 }, { 136, 74 }, { 154, 44 }, { 171, 74 }, { 162, 74 }, { 162, 274 } }));
    EXPECT_EQ(Outline(Upright + Amplitude, Needle),
        Pts({ { 124, 281 }, { 24, 107 }, { 24, 107 }, { 26, 101 }, { 32, 102 }, { 32, 102 }, { 132, 275 } }));
    EXPECT_EQ(Outline(Upright - Amplitude, Needle),
        Pts({ { 174, 276 }, { 274, 102 }, { 274, 102 }, { 281, 101 }, { 282, 107 }, { 282, 107 }, { 182, 280 } }));
}

TEST(NeedleOutline, ShiftIsAppliedToEveryPointAfterRounding)
{
    for (double angle : { Upright, Upright + Amplitude, Upright - Amplitude, Upright + 0.123 }) {
        for (const NeedleShape* shape : { &Needle, &Erase }) {
            std::vector<TPoint> plain = Outline(angle, *shape);
            std::vector<TPoint> moved = Outline(angle, *shape, 1, 57);
            for (size_t i = 0; i < 7; ++i) {
                EXPECT_EQ(moved[i].X, plain[i].X + 1);
                EXPECT_EQ(moved[i].Y, plain[i].Y + 57);
            }
        }
    }
    // In the display panel's coordinates, the upright needle's tip and left base corner.
    std::vector<TPoint> panel = Outline(Upright, Needle, 1, 57);
    EXPECT_EQ(panel[3], (TPoint { 155, 124 }));
    EXPECT_EQ(panel[0], (TPoint { 150, 329 }));
}

TEST(NeedleOutline, WholeSwingStaysInsideThePaintBox)
{
    const plat::Rect box { 0, 0, 308, 322 };
    const int steps = 3000;
    for (int i = 0; i <= steps; ++i) {
        double angle = Upright - Amplitude + 2 * Amplitude * i / steps;
        for (const NeedleShape* shape : { &Needle, &Erase }) {
            std::vector<TPoint> p = Outline(angle, *shape);
            for (const TPoint& q : p) {
                // Points are inside too, so that the pen's outline stays in the box.
                ASSERT_TRUE(box.Contains(q.X, q.Y)) << angle << ": " << q.X << "," << q.Y;
            }
            plat::Rect b = RegionOf(p).Bounds();
            ASSERT_FALSE(b.Empty());
            ASSERT_EQ(b.Intersect(box), b) << angle;
        }
    }
}
