#include "framework/stdctrls/Bevel.h"

#include "platform/raster/Dc.h"
#include "framework/core/TypInfo.h"

TBevel::TBevel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csReplicatable;
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value)
{
    if (value == FShape)
        return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Invalidate();
}

// A lowered bevel is shadow above and left, highlight below and right; raised swaps them.
// A box is one frame: the first colour on the left column and top row (without the
// top-right corner), the second on the right column and bottom row (without the
// bottom-left corner). A frame is two such boxes, the inner one offset by a pixel, which
// gives the etched look.
void TBevel::Paint()
{
    plat::Dc* dc = Canvas()->Handle();
    plat::Color shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
    plat::Color c1 = FStyle == bsLowered ? shadow : light;
    plat::Color c2 = FStyle == bsLowered ? light : shadow;
    int w = Width(), h = Height();
    auto box = [dc](int l, int t, int r, int b, plat::Color first, plat::Color second) {
        // (l, t) .. (r, b) inclusive corners.
        dc->FillRect({ l, t, l + 1, b + 1 }, first);
        dc->FillRect({ l, t, r, t + 1 }, first);
        dc->FillRect({ r, t, r + 1, b + 1 }, second);
        dc->FillRect({ l + 1, b, r + 1, b + 1 }, second);
    };
    switch (FShape) {
    case bsBox: box(0, 0, w - 1, h - 1, c1, c2); break;
    case bsFrame:
        box(1, 1, w - 1, h - 1, c2, c2);
        box(0, 0, w - 2, h - 2, c1, c1);
        break;
    case bsTopLine:
        dc->FillRect({ 0, 0, w, 1 }, c1);
        dc->FillRect({ 0, 1, w, 2 }, c2);
        break;
    case bsBottomLine:
        dc->FillRect({ 0, h - 2, w, h - 1 }, c1);
        dc->FillRect({ 0, h - 1, w, h }, c2);
        break;
    case bsLeftLine:
        dc->FillRect({ 0, 0, 1, h }, c1);
        dc->FillRect({ 1, 0, 2, h }, c2);
        break;
    case bsRightLine:
        dc->FillRect({ w - 2, 0, w - 1, h }, c1);
        dc->FillRect({ w - 1, 0, w, h }, c2);
        break;
    case bsSpacer: break;
    }
}

BEGIN_PROPERTIES(TBevel, TGraphicControl)
    .Enum("Shape", &TBevel::Shape, &TBevel::SetShape, { "bsBox", "bsFrame", "bsTopLine",
        "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer" }).Default(bsBox)
    .Enum("Style", &TBevel::Style, &TBevel::SetStyle, { "bsLowered", "bsRaised" }).Default(bsLowered)
END_PROPERTIES
