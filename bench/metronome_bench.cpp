// layer: app_lib
// The cost of the metronome's running tick: the beat engine, MoveNeedle and the
// synchronous repaint of the display panel, on the headless window system with a manual
// clock. Counters give the pixels painted per tick against a full repaint of the needle's
// paint box (308 x 322).
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

#include <filesystem>

namespace {

// The window, shown and running, with its own timer stopped.
class Window {
public:
    explicit Window(int tempo)
    {
        plat::InstallWindowSystem(&FWs);
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
    ~Window()
    {
        Application->Reset();
        plat::InstallWindowSystem(nullptr);
        plat::UseManualClock(false);
        SetSettingsFileName("");
    }
    TfrmMetronome* form = nullptr;

private:
    plat::HeadlessWindowSystem FWs;
};

// One tick every 10 ms of the manual clock; a full swing is one beat period.
void BM_RunningTick(benchmark::State& state)
{
    const int tempo = int(state.range(0));
    Window w(tempo);
    TScrewPanel* panel = w.form->pnlDisplay;
    int32_t now = 1000;
    int64_t ticks = 0;
    const int64_t paintedBefore = panel->PaintedPixels();
    for (auto _ : state) {
        now += 10;
        plat::SetManualClock(now);
        w.form->timerTimer(nullptr);
        ++ticks;
    }
    const double perTick = double(panel->PaintedPixels() - paintedBefore) / double(ticks);
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
