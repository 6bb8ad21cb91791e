// layer: platform
// The upscaling copy of a scaled window: the whole 412 x 443 panel, as after an expose,
// and the strip a needle move changes, at scales 1 to 4.

#include "platform/window/WindowScale.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plat;

namespace {

void ScaleArea(benchmark::State& state, const Rect& area)
{
    const int scale = int(state.range(0));
    Surface src(412, 443);
    for (int32_t y = 0; y < src.Height(); ++y)
        for (int32_t x = 0; x < src.Width(); ++x)
            src.Row(y)[x] = Pixel(x * 7 + y * 13);
    const size_t pitch = size_t(src.Width()) * size_t(scale);
    std::vector<uint32_t> dst(pitch * size_t(src.Height()) * size_t(scale));
    uint32_t* corner = dst.data() + size_t(area.top) * size_t(scale) * pitch + size_t(area.left) * size_t(scale);
    for (auto _ : state) {
        ScaleUp(src, area, scale, corner, pitch * sizeof(uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * area.Width() * area.Height() * scale
        * scale * int64_t(sizeof(uint32_t)));
}

void BM_ScaleUpWholeWindow(benchmark::State& state) { ScaleArea(state, { 0, 0, 412, 443 }); }
BENCHMARK(BM_ScaleUpWholeWindow)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

// About the area one needle move changes at the side of its swing.
void BM_ScaleUpNeedleStrip(benchmark::State& state) { ScaleArea(state, { 60, 120, 160, 420 }); }
BENCHMARK(BM_ScaleUpNeedleStrip)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
