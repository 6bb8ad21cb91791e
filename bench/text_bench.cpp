// layer: platform
// Text drawing speed: the tempo read-out drawn into its label and measuring a caption.
#include "platform/raster/Dc.h"

#include <benchmark/benchmark.h>

using namespace plat;

namespace {

std::shared_ptr<const Font> Arial(int32_t height)
{
    FontSpec s;
    s.family = "Arial";
    s.height = height;
    return Font::Get(s);
}

void BM_TextOutTempoLabel(benchmark::State& state)
{
    Surface surface(308, 56);
    surface.Fill(0xC0C0C0);
    Dc dc(&surface);
    dc.SetFont(Arial(-40));
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextColor(0);
    const Size ext = dc.TextExtent("120 bpm");
    const int32_t x = (308 - ext.cx) / 2, y = (56 - ext.cy) / 2;
    for (auto _ : state) {
        dc.TextOut(x, y, "120 bpm");
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(BM_TextOutTempoLabel);

void BM_DrawTextCentredCaption(benchmark::State& state)
{
    Surface surface(66, 26);
    Dc dc(&surface);
    FontSpec spec; // the buttons' default face at -11
    dc.SetFont(Font::Get(spec));
    dc.SetBkMode(BkMode::Transparent);
    for (auto _ : state) {
        Rect r { 0, 0, 66, 16 };
        benchmark::DoNotOptimize(dc.DrawText("&Run", r, dt::SingleLine | dt::Center | dt::VCenter));
    }
}
BENCHMARK(BM_DrawTextCentredCaption);

void BM_TextExtent(benchmark::State& state)
{
    Surface surface(1, 1);
    Dc dc(&surface);
    dc.SetFont(Arial(-40));
    for (auto _ : state)
        benchmark::DoNotOptimize(dc.TextExtent("120 bpm"));
}
BENCHMARK(BM_TextExtent);

void BM_FontGet(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Arial(-11));
}
BENCHMARK(BM_FontGet);

} // namespace

BENCHMARK_MAIN();
