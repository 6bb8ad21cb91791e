#pragma once
// Test controls that paint one colour: a graphic control that can log its paints, and a
// windowed control that counts its erases.

#include "framework/controls/CustomControl.h"
#include "framework/controls/GraphicControl.h"

#include <string>
#include <vector>

// A graphic control that fills itself with one colour and logs its paints. An opaque box
// spares its parent painting beneath it.
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

// A see-through box owned by its parent (which paints beneath it first).
inline TColorBox* NewFillBox(TWinControl* parent, const TRect& r, TColor c)
{
    return new TColorBox(parent, parent, r, c, nullptr, false);
}

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
