#include "Lamp.h"

#include <framework/core/TypInfo.h>
#include <framework/graphics/Canvas.h>

TPanelLamp::TPanelLamp(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    SetBounds(Left(), Top(), 24, 24);
}

// Setters return on an unchanged value and repaint only on a change.
void TPanelLamp::SetLit(bool value)
{
    if (value == FLit)
        return;
    FLit = value;
    Invalidate();
}

void TPanelLamp::SetLampColor(TColor value)
{
    if (value == FLampColor)
        return;
    FLampColor = value;
    Invalidate();
}

// Unlit, each channel at a quarter: dark, but still of the lamp's colour.
TColor TPanelLamp::FaceColor() const
{
    const TColor c = ColorToRGB(FLampColor);
    return FLit ? c : TColor((c >> 2) & 0x3F3F3F);
}

void TPanelLamp::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetColor(clGray);
    c->Brush()->SetColor(FaceColor());
    c->Ellipse(0, 0, Width(), Height());
}

// The published properties: the form reader sets them by name, the writer stores those
// that differ from their defaults.
BEGIN_PROPERTIES(TPanelLamp, TGraphicControl)
    .Bool("Lit", &TPanelLamp::Lit, &TPanelLamp::SetLit).Default(false)
    .Color("LampColor", &TPanelLamp::LampColor, &TPanelLamp::SetLampColor).Default(clRed)
END_PROPERTIES
