// The sphere button: three shaded ball faces and a circular window.
#include "effectlib/mediabtn.h"

#include "effectlib/Eputils.h"
#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

TepSphereButton::TepSphereButton(TComponent* AOwner)
    : TepRealTimeButton(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 40, 40);
}

TepSphereButton::~TepSphereButton() = default;

void TepSphereButton::PropertyChanged()
{
    if (RebuildsAtOnce())
        CreateBitmaps();
    Invalidate();
}

void TepSphereButton::SetColor(TColor Value)
{
    FColor = Value;
    PropertyChanged();
}

void TepSphereButton::SetActiveColor(TColor Value)
{
    if (Value == FActiveColor)
        return;
    FActiveColor = Value;
    PropertyChanged();
}

void TepSphereButton::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    PropertyChanged();
}

// The boxes shrink faster at the right and bottom than at the top and left, so the
// lighter core sits towards the upper left.
TRect TepSphereButton::EllipseBox(int C, int D)
{
    if (D > 35)
        return Rect(C, C, D - C * (D / 18), D - C * (D / 18));
    if (D > 25)
        return Rect(C / 2, C / 2, D - (6 * C) / 4, D - (6 * C) / 4);
    return Rect(C / 2, C / 2, D - C, D - C);
}

TPoint TepSphereButton::GlyphPos(bool Pressed) const
{
    const int d = std::min(Width(), Height()), sink = Pressed ? 2 : 0;
    return Point((d - FGlyph->Width()) / 2 - d / 12 + sink, (d - FGlyph->Height()) / 2 - d / 12 + sink);
}

std::unique_ptr<TBitmap> TepSphereButton::CreateOneBitmap(TBtnState State, bool Active)
{
    const int W = Width(), H = Height(), d = std::min(W, H);
    auto face = std::make_unique<TBitmap>();
    face->SetSize(W, H);
    TCanvas* c = face->Canvas();
    c->Pen()->SetColor(BackColor());
    c->Brush()->SetColor(BackColor());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect(0, 0, W, H));
    c->Pen()->SetStyle(psClear);
    TColor brush = RGBChange(ColorToRGB(Active ? FActiveColor : FColor), -36, -36, -36);
    for (int i = 0; i <= 12; ++i) {
        c->Brush()->SetColor(brush);
        c->Ellipse(EllipseBox(i, d));
        const int8_t step = State == abPush && i >= 3 ? -6 : 6;
        brush = RGBChange(brush, step, step, step);
    }
    if (!FGlyph->Empty()) {
        const TPoint at = GlyphPos(State == abPush);
        Eputils::DrawBitmapTransparent(c, at.X, at.Y, FGlyph.get(),
            FGlyph->Image().GetColor(0, 0));
    }
    return face;
}

void TepSphereButton::WMSize(TMessage& Message)
{
    TepRealTimeButton::WMSize(Message);
    if (FInSize)
        return;
    FInSize = true;
    if (Width() != Height())
        SetBounds(Left(), Top(), Height(), Height());
    FInSize = false;
    if (RebuildsAtOnce())
        CreateBitmaps();
    SetRegion();
}

void TepSphereButton::SetRegion()
{
    const int W = Width(), H = Height();
    const plat::Region shape = FigureRegion(W, H, [&](TCanvas* c) { c->Ellipse(0, 0, W, H); });
    SetWindowRgn(&shape, true);
}

BEGIN_PROPERTIES(TepSphereButton, TepRealTimeButton)
    .Color("ActiveColor", &TepSphereButton::ActiveColor, &TepSphereButton::SetActiveColor)
    .Color("Color", &TepSphereButton::Color, &TepSphereButton::SetColor)
    .Object("Glyph", &TepSphereButton::Glyph)
END_PROPERTIES
