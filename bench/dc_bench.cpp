// layer: platform
// The hot paths of the drawing context: fills and copies through complex clip regions, and
// the keyed copy of a slider-sized image.

#include "platform/raster/Dc.h"

#include <benchmark/benchmark.h>

using namespace plat;

namespace {

// A needle of the dial: a thin slanted quadrilateral from the pivot to the scale.
Region Needle()
{
    const Point pts[] = { { 152, 300 }, { 158, 300 }, { 250, 40 }, { 247, 38 } };
    return Region::FromPolygon(pts, FillMode::Winding);
}

// The display panel less two rectangles and the needle.
Region PanelClip()
{
    Region r(Rect { 0, 0, 308, 322 });
    r -= Region(Rect { 20, 200, 132, 231 });
    r -= Region(Rect { 100, 10, 220, 60 });
    r -= Needle();
    return r;
}

void BM_FillComplexClip(benchmark::State& state)
{
    Surface s(308, 322);
    Dc dc(&s);
    Region clip = PanelClip();
    dc.SelectClipRegion(&clip);
    Color c = 0;
    for (auto _ : state) {
        dc.FillRect({ 0, 0, 308, 322 }, c);
        c ^= 0xD0D0D0;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 308 * 322);
}
BENCHMARK(BM_FillComplexClip);

void BM_CopyComplexClip(benchmark::State& state)
{
    Surface src(308, 302), dst(310, 380);
    for (int32_t y = 0; y < src.Height(); ++y)
        for (int32_t x = 0; x < src.Width(); ++x)
            src.SetColor(x, y, Color(x * 7 + y * 13));
    Dc dc(&dst);
    Region clip(Rect { 0, 0, 310, 380 });
    clip -= Needle();
    dc.SelectClipRegion(&clip);
    for (auto _ : state) {
        dc.BitBlt(1, 1, 308, 302, src, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 308 * 302);
}
BENCHMARK(BM_CopyComplexClip);

void BM_MaskedCopy(benchmark::State& state)
{
    Surface src(70, 275), dst(120, 300);
    const Color key = 0xFF00FF;
    for (int32_t y = 0; y < src.Height(); ++y)
        for (int32_t x = 0; x < src.Width(); ++x)
            src.SetColor(x, y, (x + y) % 5 == 0 ? key : Color(x * 3 + y));
    Dc dc(&dst);
    for (auto _ : state) {
        dc.MaskedBlt(10, 10, 70, 275, src, 0, 0, 70, 275, key);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 70 * 275);
}
BENCHMARK(BM_MaskedCopy);

} // namespace

BENCHMARK_MAIN();
