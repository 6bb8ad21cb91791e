// layer: app_lib
// The cost of the metronome's running tick: the beat engine, MoveNeedle, the synchronous
// repaint of the display panel and the hand-over of the changed area to the window
// system, on the headless window system with a manual clock. Counters give the pixels
// painted and presented per tick against a full repaint of the needle's paint box
// (308 x 322), and the heap allocations per tick, counted by the operator new installed
// below, after two whole swings have warmed every buffer up.
//
//   build/bin/metronome_bench --benchmark_counters_tabular=true

#include "app/CThreadedTimer.h"
#include "app/SettingsFile.h"
#include "app/formMetronome.h"
#include "effectlib/Bmslider.h"
#include "framework/controls/Application.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/PaintBox.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "rackctls/RackCtls.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

namespace {
std::atomic<int64_t> gAllocations { 0 };
}

// Every allocation through operator new is counted; the sized, array and nothrow forms
// come here too.
void* operator new(std::size_t n)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
// The replaced operator new takes its memory from malloc, so free is its match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// The window, shown and running, with its own timer stopped.
class Window {
public:
    explicit Window(int tempo)
    {
        plat::InstallWindowSystem(&ws);
        plat::UseManualClock(true, 1000);
        plat::sound::testing::UseManualOutput(22050, 512);
        Application->Reset();
        Application->Initialize();
        SetSettingsFileName((std::filesystem::temp_directory_path() / "metronome-bench.ini").string());
        Application->CreateForm(frmMetronome);
        form = frmMetronome;
        form->TickTimer()->Stop();
        form->Show();
        Application->ProcessMessages();
        form->sliderTempo->SetValue(tempo);
        form->btnRunClick(nullptr);
        form->btnRun->SetStateOn(true);
    }
    // One tick at clock value now, then the changed area goes to the window system, as
    // the message loop does after every tick.
    void Tick(int32_t now)
    {
        plat::SetManualClock(now);
        form->timerTimer(nullptr);
        form->PresentChanges();
    }
    ~Window()
    {
        Application->Reset();
        plat::InstallWindowSystem(nullptr);
        plat::UseManualClock(false);
        SetSettingsFileName("");
    }
    TfrmMetronome* form = nullptr;
    plat::HeadlessWindowSystem ws;
};

// One tick every 10 ms of the manual clock; a full swing is one beat period.
void BM_RunningTick(benchmark::State& state)
{
    const int tempo = int(state.range(0));
    Window w(tempo);
    TScrewPanel* panel = w.form->pnlDisplay;
    int32_t now = 1000;
    const int32_t warmUp = now + 2 * 60000 / tempo + 20;
    while (now < warmUp)
        w.Tick(now += 10);
    int64_t ticks = 0;
    const int64_t paintedBefore = panel->PaintedPixels();
    w.ws.ResetPresentStats();
    const int64_t allocationsBefore = gAllocations.load();
    for (auto _ : state) {
        w.Tick(now += 10);
        ++ticks;
    }
    const int64_t allocations = gAllocations.load() - allocationsBefore;
    const double perTick = double(panel->PaintedPixels() - paintedBefore) / double(ticks);
    state.counters["allocs_per_tick"] = double(allocations) / double(ticks);
    state.counters["presented_px_per_tick"] = double(w.ws.PresentedPixels()) / double(ticks);
    state.counters["px_per_tick"] = perTick;
    state.counters["full_paint_box_px"] = 308.0 * 322.0;
    state.counters["share_of_full"] = perTick / (308.0 * 322.0);
    state.counters["ticks_per_swing"] = 6000.0 / tempo;
}
BENCHMARK(BM_RunningTick)->Arg(40)->Arg(120)->Arg(208)->Unit(benchmark::kMicrosecond);

// For comparison: the same panel repainted whole on every tick.
void BM_FullPanelRepaint(benchmark::State& state)
{
    Window w(120);
    TScrewPanel* panel = w.form->pnlDisplay;
    int64_t count = 0;
    const int64_t before = panel->PaintedPixels();
    for (auto _ : state) {
        panel->Invalidate();
        panel->Update();
        ++count;
    }
    state.counters["px_per_repaint"] = double(panel->PaintedPixels() - before) / double(count);
}
BENCHMARK(BM_FullPanelRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
