#pragma once
// The headless fixture every test layer shares: the headless window system installed,
// a manual clock, and the application emptied before and after each test, so that no
// form, timer or capture leaks from one test into the next.

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/raster/Dc.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::InstallWindowSystem(&ws);
        plat::UseManualClock(true, 1000);
        Application->Reset();
    }
    void TearDown() override
    {
        Application->Reset();
        plat::InstallWindowSystem(nullptr);
        plat::UseManualClock(false);
    }
    // A shown borderless form at (x, y) of the given client size, painted once.
    TForm* NewForm(int w = 100, int h = 100, int x = 0, int y = 0, TColor color = clWhite)
    {
        auto* f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->SetBounds(x, y, w, h);
        f->SetColor(color);
        f->Show();
        Application->ProcessMessages();
        return f;
    }
    void Pump() { Application->ProcessMessages(); }
    static TColor Pixel(TForm* f, int x, int y) { return f->Framebuffer().GetColor(x, y); }
    // Paints a rectangle of the framebuffer behind the framework's back, so a test can
    // see whether a later paint touches it.
    static void Stain(TForm* f, const TRect& r, TColor c = 0xFF00FF)
    {
        plat::Dc dc(&f->Framebuffer());
        dc.FillRect({ r.Left, r.Top, r.Right, r.Bottom }, c);
    }

    plat::HeadlessWindowSystem ws;
};
