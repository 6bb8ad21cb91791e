// The shadow button: plate, halved shadow, press offset and shape-following hover.
#include "effectlib/EPButtons.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Ptinform.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

TepShadowBtn::TepShadowBtn(TComponent* AOwner)
    : TButtonGTControl(AOwner)
{
    SetBounds(Left(), Top(), 85, 35);
}

void TepShadowBtn::SetRadius(int Value) { FRadius = Value; XPaint(); }
void TepShadowBtn::SetBtnKind(TBtnKind Value) { FBtnKind = Value; XPaint(); }
void TepShadowBtn::SetShadowOffset(uint8_t Value) { FShadowOffset = Value; XPaint(); }
void TepShadowBtn::SetBtnColor(TColor Value) { FBtnColor = Value; XPaint(); }
void TepShadowBtn::SetBlurShadow(bool Value) { FBlurShadow = Value; XPaint(); }
void TepShadowBtn::CMTextChanged(TMessage&) { XPaint(); }

TRect TepShadowBtn::PlateRect() const
{
    const int d = Down() ? 3 : 2;
    return Rect(d, d, FFaceWidth + d, FFaceHeight + d);
}

TRect TepShadowBtn::ShadowRect() const
{
    const int so = FShadowOffset, w = Width(), h = Height();
    if (FBtnKind == epbuttons::bkRect) {
        TRect r = Rect(so + 2, so + 2, w - 2, h - 1);
        if (Down()) {
            if (r.Left > 5)
                --r.Left;
            if (r.Top > 5)
                --r.Top;
            --r.Right;
            --r.Bottom;
        }
        return r;
    }
    if (!Down())
        return Rect(so, so, w - 2, h - 1);
    const int a = so > 5 ? so - 1 : so;
    return Rect(a, a, w - 3, h - 2);
}

bool TepShadowBtn::IsMouseIn(int X, int Y) const
{
    if (FFaceWidth <= 0 || FFaceHeight <= 0)
        return false;
    const TRect p = PlateRect();
    switch (FBtnKind) {
    case epbuttons::bkRect:
        return X >= p.Left && X < p.Right && Y >= p.Top && Y < p.Bottom;
    case epbuttons::bkEllipse:
        return PointinEllipse(X, Y, Rect(p.Left, p.Top - 1, p.Right, p.Bottom + 1));
    case epbuttons::bkRndRect:
        return PointinRndRect(X, Y, FRadius, p);
    }
    return false;
}

// A glyph strip counts as at least one image, so an unset count never divides by zero.
void TepShadowBtn::SetLayoutCoord(TCanvas* C)
{
    TBitmap* glyph = Glyph();
    FGlyphWidth = glyph->Width() / std::max(NumGlyphs(), 1);
    FGlyphHeight = glyph->Height();
    const TSize extent = C->TextExtent(Caption());
    FTextWidth = Caption().empty() ? 0 : extent.cx;
    FTextHeight = extent.cy;
    CalcLCoord(Layout(), Rect(0, 0, Width() - 1, Height() - 1), FGlyphWidth, FGlyphHeight,
        FTextWidth, FTextHeight, Spacing(), Margin(), FTextX, FTextY, FGlyphX, FGlyphY);
    const int shift = (Down() ? 1 : 0) - (FShadowOffset / 2 - 1);
    FTextX += shift;
    FTextY += shift;
    FGlyphX += shift;
    FGlyphY += shift;
}

// The shadow has no colour of its own: what lies under its shape is halved (and
// optionally blurred), so it takes the hue of the background.
void TepShadowBtn::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const int w = Width(), h = Height();

    TBitmap mask;
    mask.SetSize(face->Width(), face->Height());
    TCanvas* mc = mask.Canvas();
    mc->Brush()->SetStyle(bsSolid);
    mc->Brush()->SetColor(clWhite);
    mc->FillRect(Rect(0, 0, mask.Width(), mask.Height()));
    mc->Brush()->SetColor(TColor(0));
    mc->Pen()->SetColor(TColor(0));
    FFaceHeight = h - FShadowOffset - 4;
    FFaceWidth = w - FShadowOffset - 4;
    const TRect s = ShadowRect();
    switch (FBtnKind) {
    case epbuttons::bkRect: mc->FillRect(s); break;
    case epbuttons::bkEllipse: mc->Ellipse(s); break;
    case epbuttons::bkRndRect: mc->RoundRect(s.Left, s.Top, s.Right, s.Bottom, 2 * FRadius, 2 * FRadius); break;
    }

    TEffectBmp shade(face);
    const TEffectBmp shape(&mask);
    shade.HalveOutside(shape);
    if (FBlurShadow)
        shade.MaskSplitBlur(&shape, 1);
    shade.Draw(c, 0, 0);

    const TRect p = PlateRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FBtnColor);
    c->Pen()->SetColor(FBtnColor);
    switch (FBtnKind) {
    case epbuttons::bkRect: c->FillRect(p); break;
    case epbuttons::bkEllipse: c->Ellipse(p); break;
    case epbuttons::bkRndRect: c->RoundRect(p.Left, p.Top, p.Right, p.Bottom, 2 * FRadius, 2 * FRadius); break;
    }

    c->Font()->SetColor(FHot ? ActiveTextColor() : Font()->Color());
    c->Brush()->SetStyle(bsClear);
    SetLayoutCoord(c);
    if (!Caption().empty())
        c->TextOut(FTextX, FTextY, Caption());
    DrawButtonGlyph();
}

BEGIN_PROPERTIES(TepShadowBtn, TButtonGTControl)
    .Int("Radius", &TepShadowBtn::Radius, &TepShadowBtn::SetRadius)
    .Enum("BtnKind", &TepShadowBtn::BtnKind, &TepShadowBtn::SetBtnKind,
        { "bkRect", "bkEllipse", "bkRndRect" })
    .Color("BtnColor", &TepShadowBtn::BtnColor, &TepShadowBtn::SetBtnColor)
    .Int("ShadowOffset", &TepShadowBtn::ShadowOffset, &TepShadowBtn::SetShadowOffset)
    .Bool("BlurShadow", &TepShadowBtn::BlurShadow, &TepShadowBtn::SetBlurShadow)
END_PROPERTIES
