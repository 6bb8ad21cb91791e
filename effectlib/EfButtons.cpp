// The label button (glyph and caption pinned by Layout, lit or glowing caption) and the
// effect button (well, plate bevel, black rim, one-pixel blur, sharp edges).
#include "effectlib/EPButtons.h"

#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

namespace {

const std::vector<std::string> LayoutNames { "blGlyphLeft", "blGlyphRight", "blGlyphTop",
    "blGlyphBottom" };

// Caption width and height in the canvas's font; an empty caption measures 0 x 0.
TSize CaptionSize(TCanvas* C, const std::string& Caption)
{
    if (Caption.empty())
        return { 0, 0 };
    return C->TextExtent(Caption);
}

} // namespace

TepLabelButton::TepLabelButton(TComponent* AOwner)
    : TButtonGControl(AOwner)
{
    SetBounds(Left(), Top(), 100, 30);
}

void TepLabelButton::CMTextChanged(TMessage&) { XPaint(); }

void TepLabelButton::SetCoord(TCanvas* C)
{
    const int w = Width(), h = Height();
    const int gw = Glyph()->Width() / std::max(NumGlyphs(), 1), gh = Glyph()->Height();
    const TSize t = CaptionSize(C, Caption());
    const int tw = t.cx, th = t.cy;
    switch (Layout()) {
    case blGlyphLeft:
        FGlyphX = 2;
        FGlyphY = h / 2 - gh / 2;
        FTextX = w - tw - 2;
        FTextY = h / 2 - th / 2;
        break;
    case blGlyphRight:
        FGlyphX = w - gw - 2;
        FGlyphY = h / 2 - gh / 2;
        FTextX = 2;
        FTextY = h / 2 - th / 2;
        break;
    case blGlyphTop:
        FGlyphX = w / 2 - gw / 2;
        FGlyphY = 2;
        FTextX = w / 2 - tw / 2;
        FTextY = h - th - 2;
        break;
    case blGlyphBottom:
        FGlyphX = w / 2 - gw / 2;
        FGlyphY = h - gh - 2;
        FTextX = w / 2 - tw / 2;
        FTextY = 2;
        break;
    }
    if (FPressed && FHot) {
        ++FTextX;
        ++FTextY;
    }
}

void TepLabelButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    SetCoord(c);
    c->Brush()->SetStyle(bsClear);
    if (FEfCaption && FHot) {
        c->Font()->SetColor(ActiveTextColor());
        c->TextOut(FTextX - 1, FTextY - 1, Caption());
        c->TextOut(FTextX + 1, FTextY + 1, Caption());
        c->Font()->SetColor(Font()->Color());
    } else if (FHot) {
        c->Font()->SetColor(ActiveTextColor());
    }
    c->TextOut(FTextX, FTextY, Caption());
    DrawButtonGlyph();
}

TepEfButton::TepEfButton(TComponent* AOwner)
    : TButtonGControl(AOwner)
{
    SetBounds(Left(), Top(), 65, 25);
    SetActiveTextColor(TColor(0xFF0000));
}

void TepEfButton::SetBtnFrameWidth(uint8_t Value) { FBtnFrameWidth = Value; XPaint(); }
void TepEfButton::SetBtnColor(TColor Value) { FBtnColor = Value; XPaint(); }
void TepEfButton::SetFrameWidth(uint8_t Value) { FFrameWidth = Value; XPaint(); }
void TepEfButton::CMTextChanged(TMessage&) { XPaint(); }

void TepEfButton::PaintEffects()
{
    if (TEffectBmp* ef = EfBmp())
        ef->SplitBlur(1);
}

void TepEfButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const int w = Width(), h = Height();
    const int fw = FFrameWidth, bw = FBtnFrameWidth;
    const bool p = FPressed && FHot;
    const TColor color = ColorToRGB(Color()), btn = ColorToRGB(FBtnColor);
    const TColor cd = RGBChange(color, -65, -65, -65), cl = RGBChange(color, 65, 65, 65);
    const TColor bd = RGBChange(btn, -65, -65, -65), bl = RGBChange(btn, 65, 65, 65);

    // Positions.
    const int gw = Glyph()->Width() / std::max(NumGlyphs(), 1), gh = Glyph()->Height();
    const TSize t = CaptionSize(c, Caption());
    CalcLCoord(Layout(), Rect(0, 0, w, h), gw, gh, t.cx, t.cy, Spacing(), Margin(), FTextX,
        FTextY, FGlyphX, FGlyphY);
    if (p) {
        ++FTextX;
        ++FTextY;
        ++FGlyphX;
        ++FGlyphY;
    }

    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(btn);
    c->Pen()->SetColor(btn);
    if (!Transparent())
        c->FillRect(Rect(0, 0, w, h));
    Frm3D(c, Rect(0, 0, w, h), cd, cl, fw);
    if (p)
        Frm3D(c, Rect(fw + 3, fw + 3, w - fw, h - fw - 1), bl, bd, bw - 1);
    else
        Frm3D(c, Rect(fw + 2, fw + 2, w - fw - 1, h - fw - 1), bl, bd, bw);
    Frm3D(c, Rect(fw, fw, w - fw, h - fw), clBlack, clBlack, p ? 3 : 2);
    if (p) {
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(fw + 1, fw + 1, w - fw - 1, h - fw - 1);
    }
    if (FEfCaption && FHot) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(ActiveTextColor());
        c->TextOut(FTextX, FTextY, Caption());
    }
    PaintEf();

    c->Brush()->SetStyle(bsClear);
    if (FEfCaption)
        c->Font()->SetColor(Font()->Color());
    else if (FHot)
        c->Font()->SetColor(ActiveTextColor());
    c->TextOut(FTextX, FTextY, Caption());
    if (fw != 0)
        Frm3D(c, Rect(0, 0, w, h), cd, cl, 1);
    Frm3D(c, Rect(fw, fw, w - fw, h - fw), clBlack, clBlack, 1);
    DrawButtonGlyph();
}

BEGIN_PROPERTIES(TepLabelButton, TButtonGControl)
    .Enum("Layout", &TepLabelButton::Layout, &TepLabelButton::SetLayout, LayoutNames)
        .Default(blGlyphLeft)
    .Bool("EfCaption", &TepLabelButton::EfCaption, &TepLabelButton::SetEfCaption)
END_PROPERTIES

// Spacing's declared default is the value the constructor leaves, so 4 is written too.
BEGIN_PROPERTIES(TepEfButton, TButtonGControl)
    .Enum("Layout", &TepEfButton::Layout, &TepEfButton::SetLayout, LayoutNames)
        .Default(blGlyphLeft)
    .Int("Margin", &TepEfButton::Margin, &TepEfButton::SetMargin).Default(-1)
    .Int("Spacing", &TepEfButton::Spacing, &TepEfButton::SetSpacing).Default(0)
    .Bool("EfCaption", &TepEfButton::EfCaption, &TepEfButton::SetEfCaption)
    .Int("BtnFrameWidth", &TepEfButton::BtnFrameWidth, &TepEfButton::SetBtnFrameWidth)
    .Color("BtnColor", &TepEfButton::BtnColor, &TepEfButton::SetBtnColor)
    .Int("FrameWidth", &TepEfButton::FrameWidth, &TepEfButton::SetFrameWidth)
END_PROPERTIES
