#pragma once
// Shared pieces of the visual framework tests: a headless window system with a manual
// clock, and small controls that paint one colour and count what happens to them.

#include "framework/controls/Application.h"
#include "framework/controls/CustomControl.h"
#include "framework/controls/Form.h"
#include "framework/controls/GraphicControl.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/raster/Dc.h"
#include "platform/system/Clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    // A shown borderless form of the given client size, painted once.
    TForm* NewForm(int w = 100, int h = 100)
    {
        auto* f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->SetBounds(0, 0, w, h);
        f->SetColor(clWhite);
        f->Show();
        Application->ProcessMessages();
        return f;
    }
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

// A graphic control that fills itself with one colour and logs its paints.
class TColorBox : public TGraphicControl {
public:
    TColorBox(TComponent* owner, TWinControl* parent, const TRect& r, TColor c,
        std::vector<std::string>* log = nullptr, bool opaque = true)
        : TGraphicControl(owner)
        , FFill(c)
        , FLog(log)
    {
        if (opaque)
            FControlStyle |= csOpaque;
        SetBoundsRect(r);
        SetParent(parent);
    }
    TColor FFill;
    std::vector<std::string>* FLog;

protected:
    void Paint() override
    {
        if (FLog)
            FLog->push_back(Name().empty() ? "box" : Name());
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(ClientRect());
    }
};

// A windowed control with one colour face; counts erases and paints.
class TColorWindow : public TCustomControl {
public:
    TColorWindow(TComponent* owner, TWinControl* parent, const TRect& r, TColor c,
        bool paintFace = true)
        : TCustomControl(owner)
        , FPaintFace(paintFace)
    {
        SetBoundsRect(r);
        SetColor(c);
        SetParent(parent);
    }
    int Erases = 0;
    bool FPaintFace;

protected:
    void WMEraseBkgnd(TMessage& m) override
    {
        ++Erases;
        TCustomControl::WMEraseBkgnd(m);
    }
    void Paint() override
    {
        if (!FPaintFace)
            return;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};
