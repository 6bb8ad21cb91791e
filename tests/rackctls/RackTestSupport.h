#pragma once
// Shared pieces of the instrument-panel control tests: a headless window system with a
// manual clock, a form to put controls on, mouse input through the backend and pixel
// read-back from the form's framebuffer.

#include "framework/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace racktest {

// The framework's headless fixture, with a larger form and input helpers by control.
class RackFormTest : public HeadlessTest {
protected:
    // A shown borderless white form, painted once.
    TForm* NewForm(int w = 200, int h = 120) { return HeadlessTest::NewForm(w, h); }
    void Pump() { Application->ProcessMessages(); }
    // A pixel of control c at (x, y) of its client area, as the form shows it.
    static TColor At(TControl* c, int x, int y)
    {
        TPoint o = c->FormOffset();
        return c->GetParentForm()->Framebuffer().GetColor(o.X + x, o.Y + y);
    }
    void Press(TControl* c, int x, int y, plat::MouseButton b = plat::MouseButton::Left)
    {
        TPoint o = c->FormOffset();
        ws.MouseDown(c->GetParentForm()->WindowHandle(), o.X + x, o.Y + y, b);
        Pump();
    }
    void Release(TControl* c, int x, int y, plat::MouseButton b = plat::MouseButton::Left)
    {
        TPoint o = c->FormOffset();
        ws.MouseUp(c->GetParentForm()->WindowHandle(), o.X + x, o.Y + y, b);
        Pump();
    }
    void Click(TControl* c, int x, int y, plat::MouseButton b = plat::MouseButton::Left)
    {
        Press(c, x, y, b);
        Release(c, x, y, b);
    }
};

inline std::string Hex(TColor c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", unsigned(c));
    return buf;
}

} // namespace racktest
