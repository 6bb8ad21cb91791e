// A stand-in for the program while the metronome is being built: one borderless panel
// window drawn with the raster engine. Escape, a click, closing the window, SIGINT or
// SIGTERM end it with status 0.

#include "platform/raster/Dc.h"
#include "platform/sdl/SdlWindowSystem.h"

#include <cmath>
#include <cstdio>
#include <utility>

using namespace plat;

namespace {

constexpr int32_t Width = 412, Height = 443;

void DrawScrew(Dc& dc, int32_t cx, int32_t cy)
{
    dc.SetPen({ PenStyle::Solid, 1, Rgb(64, 64, 64) });
    dc.SetBrush({ BrushStyle::Solid, Rgb(160, 160, 160) });
    dc.Ellipse(cx - 6, cy - 6, cx + 7, cy + 7);
    dc.SetPen({ PenStyle::Solid, 2, Rgb(80, 80, 80) });
    dc.MoveTo(cx - 4, cy + 4);
    dc.LineTo(cx + 5, cy - 5);
}

void DrawPanel(Surface& s)
{
    Dc dc(&s);
    dc.FillRect({ 0, 0, Width, Height }, Rgb(192, 192, 192));
    // Raised outer bevel, then a lowered display panel.
    dc.FillRect({ 0, 0, Width, 2 }, Rgb(255, 255, 255));
    dc.FillRect({ 0, 0, 2, Height }, Rgb(255, 255, 255));
    dc.FillRect({ 0, Height - 2, Width, Height }, Rgb(96, 96, 96));
    dc.FillRect({ Width - 2, 0, Width, Height }, Rgb(96, 96, 96));
    dc.FillRect({ 30, 30, 382, 262 }, Rgb(96, 96, 96));
    dc.FillRect({ 32, 32, 382, 262 }, Rgb(255, 255, 255));
    dc.FillRect({ 32, 32, 380, 260 }, Rgb(236, 232, 214));
    for (auto [x, y] : { std::pair { 14, 14 }, { Width - 15, 14 }, { 14, Height - 15 },
             { Width - 15, Height - 15 } })
        DrawScrew(dc, x, y);

    // The dial: an arc and scale ticks from 30 degrees left to 30 degrees right of upright.
    const int32_t cx = 206, cy = 240, r = 180;
    dc.SetPen({ PenStyle::Solid, 2, Rgb(0, 0, 0) });
    dc.Arc(cx - r, cy - r, cx + r, cy + r, cx + 100, cy - 180, cx - 100, cy - 180);
    dc.SetPen({ PenStyle::Solid, 1, Rgb(0, 0, 0) });
    for (int deg = -30; deg <= 30; deg += 5) {
        double a = deg * 3.14159265358979 / 180;
        int32_t len = deg % 15 == 0 ? 16 : 8;
        dc.MoveTo(cx + int32_t(std::lround(std::sin(a) * r)), cy - int32_t(std::lround(std::cos(a) * r)));
        dc.LineTo(cx + int32_t(std::lround(std::sin(a) * (r - len))),
            cy - int32_t(std::lround(std::cos(a) * (r - len))));
    }
    // The needle, leaning a little to the right, on its hub.
    const Point needle[] = { { cx - 4, cy }, { cx + 44, cy - 168 }, { cx + 4, cy + 1 } };
    dc.SetPen({ PenStyle::Solid, 1, Rgb(48, 48, 48) });
    dc.SetBrush({ BrushStyle::Solid, Rgb(128, 128, 128) });
    dc.Polygon(needle);
    dc.SetBrush({ BrushStyle::Solid, Rgb(32, 32, 32) });
    dc.Ellipse(cx - 9, cy - 9, cx + 10, cy + 10);

    // The beat lamp and three push buttons.
    dc.SetPen({ PenStyle::Solid, 1, Rgb(0, 0, 0) });
    dc.SetBrush({ BrushStyle::Solid, Rgb(0, 96, 0) });
    dc.Ellipse(40, 290, 64, 314);
    for (int i = 0; i < 3; ++i) {
        dc.SetBrush({ BrushStyle::Solid, Rgb(176, 176, 176) });
        dc.Rectangle(40 + i * 70, 370, 100 + i * 70, 400);
        dc.FillRect({ 60 + i * 70, 376, 80 + i * 70, 380 }, Rgb(0, 128, 0));
    }
}

} // namespace

int main()
{
    std::unique_ptr<WindowSystem> ws = CreateSdlWindowSystem();
    if (!ws) {
        std::fprintf(stderr, "metronome: %s\n", LastError().c_str());
        return 1;
    }
    WindowId win = ws->CreateWindow({ { 360, 113, 360 + Width, 113 + Height }, "Metronome", true });
    if (win == 0) {
        std::fprintf(stderr, "metronome: %s\n", LastError().c_str());
        return 1;
    }
    Surface frame(Width, Height);
    DrawPanel(frame);
    ws->ShowWindow(win, true);
    ws->Present(win, frame, Region(frame.Bounds()));

    Event e;
    for (;;) {
        if (!ws->WaitEvent(e, -1)) {
            std::fprintf(stderr, "metronome: the event queue failed\n");
            return 1;
        }
        switch (e.type) {
        case Event::Type::Expose: ws->Present(win, frame, Region(e.area)); break;
        case Event::Type::KeyDown:
            if (e.key == vk::Escape)
                return 0;
            break;
        case Event::Type::MouseUp:
        case Event::Type::Close:
        case Event::Type::Quit: return 0;
        default: break;
        }
    }
}
