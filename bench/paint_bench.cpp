// layer: framework
// The framework's paint path at the needle's rate: a panel with an opaque dial image and
// a paint box over it; each iteration moves a polygon and repaints only the difference
// (erase the area left, paint the area newly covered, skip the overlap), then presents.
#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Image.h"
#include "framework/stdctrls/PaintBox.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/raster/Region.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

std::vector<plat::Point> Needle(double angle, int grow)
{
    double c = std::cos(angle), s = std::sin(angle);
    int px = 155, py = 379, len = 255 + grow, half = 5 + grow;
    auto at = [&](double along, double across) {
        return plat::Point { int32_t(px + along * c + across * s), int32_t(py - along * s + across * c) };
    };
    return { at(50, -half), at(len, -half), at(len + 5, 0), at(len, half), at(50, half) };
}

void BM_NeedleUpdate(benchmark::State& state)
{
    plat::HeadlessWindowSystem ws;
    plat::InstallWindowSystem(&ws);
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 412, 443);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 310, 380);
    auto* dial = new TImage(form);
    dial->SetParent(panel);
    dial->SetBounds(3, 74, 303, 294);
    TBitmap* b = dial->Picture()->Bitmap();
    b->SetSize(308, 302);
    b->Canvas()->Brush()->SetColor(0xD0D0D0);
    b->Canvas()->FillRect(Rect(0, 0, 308, 302));
    auto* pb = new TPaintBox(form);
    pb->SetParent(panel);
    pb->SetBounds(0, 0, 310, 380);
    double angle = M_PI / 2;
    pb->OnPaint = TNotifyEvent::FromFunction([&](TObject*) {
        auto pts = Needle(angle, 0);
        std::vector<TPoint> tp;
        for (auto p : pts)
            tp.push_back({ p.x, p.y });
        pb->Canvas()->Polygon(tp);
    });
    form->Show();
    Application->ProcessMessages();
    int step = 0;
    for (auto _ : state) {
        double next = M_PI / 2 + M_PI / 6 * std::sin(++step * 0.05);
        auto e = plat::Region::FromPolygon(Needle(angle, 3), plat::FillMode::Winding);
        auto o = plat::Region::FromPolygon(Needle(angle, 0), plat::FillMode::Winding);
        auto n = plat::Region::FromPolygon(Needle(next, 0), plat::FillMode::Winding);
        angle = next;
        plat::Region e2 = plat::Region::Combine(e, n, plat::RegionOp::Diff);
        o &= n;
        plat::Region n2 = plat::Region::Combine(n, o, plat::RegionOp::Diff);
        panel->InvalidateRgn(&e2, true);
        panel->InvalidateRgn(&n2, false);
        panel->ValidateRgn(&o);
        panel->Update();
        Application->ProcessMessages();
    }
    state.counters["px/update"] = benchmark::Counter(double(panel->PaintedPixels()) / double(step + 1));
    Application->Reset();
    plat::InstallWindowSystem(nullptr);
}
BENCHMARK(BM_NeedleUpdate);

} // namespace

BENCHMARK_MAIN();
