// layer: platform
// Raster engine benchmarks. The region cases replay what one needle move costs: five
// polygon regions and three combinations, 100 times a second.

#include "platform/raster/Region.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <numbers>

using namespace plat;

namespace {

struct Shape {
    int32_t pivotX, pivotY, base, shaftWidth, shaftLength, headWidth, headLength;
};

constexpr Shape Needle { 155, 379, 50, 10, 200, 10, 5 };
constexpr Shape NeedleErase { 155, 379, 48, 16, 200, 35, 30 };

// The needle outline at an angle (radians, counter-clockwise, screen y downward).
std::array<Point, 7> Outline(double angle, const Shape& s)
{
    auto t = [](double v) { return int32_t(v); };
    double c = std::cos(angle), n = std::sin(angle);
    std::array<Point, 7> p;
    double x = s.pivotX + s.base * c, y = s.pivotY - s.base * n;
    x += -s.shaftWidth * 0.5 * n, y += -s.shaftWidth * 0.5 * c;
    p[0] = { t(x), t(y) };
    x += s.shaftLength * c, y += -s.shaftLength * n;
    p[1] = { t(x), t(y) };
    int32_t dw = s.headWidth - s.shaftWidth;
    x += -dw * 0.5 * n, y += -dw * 0.5 * c;
    p[2] = { t(x), t(y) };
    int32_t len = s.base + s.shaftLength + s.headLength;
    p[3] = { t(s.pivotX + len * c), t(s.pivotY - len * n) };
    double sum = s.headWidth + s.shaftWidth;
    p[4] = { t(p[1].x + sum * 0.5 * n), t(p[1].y + sum * 0.5 * c) };
    x = p[1].x + s.shaftWidth * n, y = p[1].y + s.shaftWidth * c;
    p[5] = { t(x), t(y) };
    x += -s.shaftLength * c, y += s.shaftLength * n;
    p[6] = { t(x), t(y) };
    return p;
}

constexpr double Upright = std::numbers::pi / 2;

void BM_NeedleRegion(benchmark::State& state)
{
    auto pts = Outline(Upright + 0.3, Needle);
    for (auto _ : state)
        benchmark::DoNotOptimize(Region::FromPolygon(pts, FillMode::Winding));
}
BENCHMARK(BM_NeedleRegion);

void BM_NeedleEraseRegion(benchmark::State& state)
{
    auto pts = Outline(Upright + 0.3, NeedleErase);
    for (auto _ : state)
        benchmark::DoNotOptimize(Region::FromPolygon(pts, FillMode::Winding));
}
BENCHMARK(BM_NeedleEraseRegion);

// One whole move from the upright position by 0.02 rad: the five regions and the three
// combinations.
void BM_NeedleMoveRegions(benchmark::State& state)
{
    auto erase = Outline(Upright, NeedleErase);
    auto oldNeedle = Outline(Upright, Needle);
    auto newNeedle = Outline(Upright + 0.02, Needle);
    for (auto _ : state) {
        Region e = Region::FromPolygon(erase, FillMode::Winding);
        Region e2 = Region::FromPolygon(erase, FillMode::Winding);
        Region o = Region::FromPolygon(oldNeedle, FillMode::Winding);
        Region n = Region::FromPolygon(newNeedle, FillMode::Winding);
        Region n2 = Region::FromPolygon(newNeedle, FillMode::Winding);
        e2 = Region::Combine(e, n, RegionOp::Diff);
        o = Region::Combine(o, n, RegionOp::And);
        n2 = Region::Combine(n, o, RegionOp::Diff);
        benchmark::DoNotOptimize(e2);
        benchmark::DoNotOptimize(n2);
    }
}
BENCHMARK(BM_NeedleMoveRegions);

// The combinations alone, at a slanted position where the bands are many.
void BM_NeedleCombine(benchmark::State& state)
{
    double a = Upright + 0.4;
    Region e = Region::FromPolygon(Outline(a, NeedleErase), FillMode::Winding);
    Region o0 = Region::FromPolygon(Outline(a, Needle), FillMode::Winding);
    Region n = Region::FromPolygon(Outline(a + 0.02, Needle), FillMode::Winding);
    for (auto _ : state) {
        Region e2 = Region::Combine(e, n, RegionOp::Diff);
        Region o = Region::Combine(o0, n, RegionOp::And);
        Region n2 = Region::Combine(n, o, RegionOp::Diff);
        benchmark::DoNotOptimize(e2);
        benchmark::DoNotOptimize(n2);
    }
    state.counters["rects"] = double(e.Rects().size() + n.Rects().size());
}
BENCHMARK(BM_NeedleCombine);

// A union of many small overlapping rectangles.
void BM_RegionFromRects(benchmark::State& state)
{
    std::vector<Rect> rects;
    for (int i = 0; i < state.range(0); ++i) {
        int32_t x = (i * 37) % 300, y = (i * 53) % 300;
        rects.push_back({ x, y, x + 20, y + 12 });
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(Region::FromRects(rects));
}
BENCHMARK(BM_RegionFromRects)->Arg(16)->Arg(256);

} // namespace

BENCHMARK_MAIN();
