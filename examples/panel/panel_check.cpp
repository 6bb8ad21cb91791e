// The panel example's own test, headless: the form is read from its description and
// shown on the headless window system with a manual clock, driven with synthetic input,
// and checked by its pixels. Prints what failed and exits with status 1; with a file name
// it also writes the final picture as PNG.

#include "Panel.h"
#include "Lamp.h"

#include <effectlib/Bmslider.h>
#include <framework/controls/Application.h>
#include <platform/headless/HeadlessWindowSystem.h>
#include <platform/raster/ImageFiles.h>
#include <platform/system/Clock.h>
#include <rackctls/RackCtls.h>

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void Check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok)
        ++failures;
}

// Pixels of exactly this colour inside a control's rectangle on the form.
int CountColour(TfrmPanel* f, TControl* c, TColor colour)
{
    const TPoint origin = c->ClientToScreen({ 0, 0 });
    const TPoint form = f->ClientToScreen({ 0, 0 });
    int n = 0;
    for (int y = 0; y < c->Height(); ++y)
        for (int x = 0; x < c->Width(); ++x)
            if (f->Framebuffer().GetColor(origin.X - form.X + x, origin.Y - form.Y + y) == colour)
                ++n;
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    plat::HeadlessWindowSystem ws;
    plat::InstallWindowSystem(&ws);
    plat::UseManualClock(true, 1000);
    Application->Initialize();
    TfrmPanel* f = nullptr;
    Application->CreateForm(f);
    f->Show();
    Application->ProcessMessages();
    const plat::WindowId win = f->WindowHandle();

    // The plate: its face colour, and in its top-left corner a screw head (4 x ScrewSize
    // across) with a dark rim and a slot through its centre.
    Check(f->Framebuffer().GetColor(160, 140) == clSilver, "the screw panel shows its face colour");
    const TPoint screw = f->plate->ScrewOrigins()[0];
    const int half = 2 * f->plate->ScrewSize();
    Check(f->Framebuffer().GetColor(screw.X, screw.Y + half) == f->plate->DarkShade()
            && f->Framebuffer().GetColor(screw.X + half, screw.Y + half) != clSilver,
        "a screw head with its rim and slot is drawn in the corner");

    // The display shows the slider's value from the start.
    Check(f->dispValue->Value() == 25 && f->sliderValue->Value() == 25, "the display starts at the slider's value 25");
    const int lit25 = CountColour(f, f->dispValue, clLime);
    Check(lit25 > 0, "lit segments show on the display");

    // A press on the ruler below the thumb moves the value; the display follows.
    const TPoint s = f->sliderValue->ClientToScreen({ 0, 0 });
    const TPoint o = f->ClientToScreen({ 0, 0 });
    const int sx = s.X - o.X + f->sliderValue->Width() / 2;
    const int sy = s.Y - o.Y + f->sliderValue->Height() - 4;
    ws.MouseDown(win, sx, sy);
    Application->ProcessMessages();
    ws.MouseUp(win, sx, sy);
    Application->ProcessMessages();
    Check(f->sliderValue->Value() != 25, "a press on the ruler moves the slider");
    Check(f->dispValue->Value() == f->sliderValue->Value(), "the display follows the slider");

    // 88 lights every segment of its two digits: more lit pixels than 25.
    f->sliderValue->SetValue(88);
    Application->ProcessMessages();
    Check(f->dispValue->Value() == 88, "the display shows 88");
    Check(CountColour(f, f->dispValue, clLime) > lit25, "88 lights more segments than 25");

    // The button switches its LED: red pixels appear with a click and go with the next.
    Check(CountColour(f, f->btnLight, clRed) == 0, "the button's LED starts unlit");
    const TPoint b = f->btnLight->ClientToScreen({ 0, 0 });
    const int bx = b.X - o.X + f->btnLight->Width() / 2, by = b.Y - o.Y + f->btnLight->Height() / 2;
    ws.Click(win, bx, by);
    Application->ProcessMessages();
    Check(f->btnLight->StateOn() && CountColour(f, f->btnLight, clRed) > 0, "a click lights the LED");
    const TPoint l = f->lamp->ClientToScreen({ 12, 12 });
    Check(f->Framebuffer().GetColor(l.X - o.X, l.Y - o.Y) == clYellow, "the lamp lights with the button");
    if (argc > 1)
        plat::WriteFileBytes(argv[1], plat::WritePng(f->Framebuffer()));
    ws.Click(win, bx, by);
    Application->ProcessMessages();
    Check(!f->btnLight->StateOn() && CountColour(f, f->btnLight, clRed) == 0, "a second click puts it out");
    Check(f->Framebuffer().GetColor(l.X - o.X, l.Y - o.Y) == f->lamp->FaceColor()
            && f->lamp->FaceColor() != clYellow, "the lamp goes dark with it");

    Application->Reset();
    plat::InstallWindowSystem(nullptr);
    std::printf("%s\n", failures ? "panel check failed" : "panel check passed");
    return failures ? 1 : 0;
}
