// The colour button: swatch placement on four sides, its outline rule, the frame under the
// pointer, and the colour dialog run from a left press.
#include "effectlib/EPButtons.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Grutils.h"
#include "effectlib/Wavctrl.h"
#include "framework/core/TypInfo.h"
#include "framework/stdctrls/ColorDialog.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

namespace {

void PlayIfLoaded(TepWavePlayer* Player)
{
    if (Player && Player->Wave() && !Player->Wave()->GetEmpty())
        Player->Play();
}

const std::vector<std::string> LayoutNames { "blGlyphLeft", "blGlyphRight", "blGlyphTop",
    "blGlyphBottom" };

} // namespace

TepColorButton::TepColorButton(TComponent* AOwner)
    : TEffectGControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 86, 30);
}

TepColorButton::~TepColorButton() = default;

void TepColorButton::SetMarkOffset(uint8_t Value) { FMarkOffset = Value; XPaint(); }
void TepColorButton::SetMarkAlign(TMarkAlign Value) { FMarkAlign = Value; XPaint(); }
void TepColorButton::SetLayout(TLayout Value) { FLayout = Value; XPaint(); }
void TepColorButton::SetMarkWidth(int Value) { FMarkWidth = Value; XPaint(); }
void TepColorButton::SetMarkHeight(int Value) { FMarkHeight = Value; XPaint(); }
void TepColorButton::SetInnerColor(TColor Value) { FInnerColor = Value; XPaint(); }
void TepColorButton::SetOuterColor(TColor Value) { FOuterColor = Value; XPaint(); }
void TepColorButton::SetColorValue(TColor Value) { FColorValue = Value; XPaint(); }
void TepColorButton::CMTextChanged(TMessage&) { XPaint(); }

// A strip of 0 images would divide by zero when measured: values outside 1..4 are ignored.
void TepColorButton::SetNumGlyphs(TNumGlyphs Value)
{
    if (Value < 1 || Value > 4)
        return;
    FNumGlyphs = Value;
    XPaint();
}

void TepColorButton::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    XPaint();
}

void TepColorButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    XPaint();
}

void TepColorButton::SetSpacing(int Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    XPaint();
}

void TepColorButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepColorButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepColorButton::SetColorDialog(TColorDialog* Value)
{
    SetReference(FColorDialog, Value);
}

void TepColorButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TEffectGControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
    if (AComponent == FColorDialog)
        FColorDialog = nullptr;
}

void TepColorButton::CMMouseEnter(TMessage& Message)
{
    TEffectGControl::CMMouseEnter(Message);
    if (FHot || !Enabled())
        return;
    FHot = true;
    XPaint();
    PlayIfLoaded(FActiveSound);
}

void TepColorButton::CMMouseLeave(TMessage& Message)
{
    TEffectGControl::CMMouseLeave(Message);
    if (!FHot || !Enabled())
        return;
    FHot = false;
    XPaint();
}

// The dialog runs inside the press and lets the application run meanwhile: the button,
// the dialog or the whole form may be gone when it returns, and a press arriving while
// it is open is not a second request.
void TepColorButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectGControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !FColorDialog || FPressed || FColorDialog->Executing())
        return;
    if (X < 0 || X > Width() || Y < 0 || Y > Height())
        return;
    FPressed = true;
    FHot = true;
    XPaint();
    PlayIfLoaded(FClickSound);
    TColorDialog* dialog = FColorDialog;
    if (!*alive || !dialog)
        return;
    const TColor current = ColorToRGB(FColorValue);
    dialog->SetColor(current);
    const bool accepted = dialog->Execute();
    if (!*alive)
        return;
    // A dialog removed while it ran has cleared FColorDialog; its answer is not read.
    if (accepted && FColorDialog == dialog && dialog->Color() != current) {
        SetColorValue(dialog->Color());
        if (OnChange)
            OnChange(this);
        if (!*alive)
            return;
    }
    FPressed = false;
    XPaint();
}

void TepColorButton::SetCoord(TCanvas* C)
{
    const int w = Width(), h = Height();
    const int gw = FGlyph->Width() / std::max(FNumGlyphs, 1), gh = FGlyph->Height();
    const TSize t = Caption().empty() ? TSize { 0, 0 } : C->TextExtent(Caption());
    const int tw = t.cx, th = t.cy;
    const int mo = FMarkOffset / 2, mw = FMarkWidth, mh = FMarkHeight;
    CalcLCoord(FLayout, ClientRect(), gw, gh, tw, th, FSpacing, FMargin, FTextX, FTextY,
        FGlyphX, FGlyphY);
    int dx = 0, dy = 0;
    switch (FMarkAlign) {
    case mkLeft: dx = mw / 2 + mo; break;
    case mkTop: dy = mh / 2 + mo; break;
    case mkRight: dx = -(mw / 2) - mo; break;
    case mkBottom: dy = -(mh / 2) - mo; break;
    }
    FTextX += dx;
    FGlyphX += dx;
    FTextY += dy;
    FGlyphY += dy;
    switch (FMarkAlign) {
    case mkLeft:
        FMarkX = std::min(FTextX, FGlyphX) - mw - FMarkOffset;
        FMarkY = h / 2 - mh / 2;
        break;
    case mkTop:
        FMarkX = w / 2 - mw / 2;
        FMarkY = std::min(FGlyphY, FTextY) - mh - FMarkOffset;
        break;
    case mkRight:
        FMarkX = std::max(FTextX + tw, FGlyphX + gw) + FMarkOffset;
        FMarkY = h / 2 - mh / 2;
        break;
    case mkBottom:
        FMarkX = w / 2 - mw / 2;
        FMarkY = std::max(FGlyphY + gh, FTextY + th) + FMarkOffset;
        break;
    }
    if (FHot && FPressed) {
        ++FTextX;
        ++FTextY;
        ++FGlyphX;
        ++FGlyphY;
        ++FMarkX;
        ++FMarkY;
    }
}

void TepColorButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const bool down = FHot && FPressed;
    if (FUseFrame) {
        if (down)
            Frm3D(c, ClientRect(), FOuterColor, FInnerColor, 1);
        else if (FHot)
            Frm3D(c, ClientRect(), FInnerColor, FOuterColor, 1);
    }

    // The outline shows only where the swatch would vanish into the background.
    const TColor value = ColorToRGB(FColorValue), back = ColorToRGB(Color());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(value);
    TColor pen = back;
    if (value == back && back != 0)
        pen = clBlack;
    else if (value == 0 && back == 0 && !Transparent())
        pen = clWhite;
    c->Pen()->SetColor(pen);
    c->Pen()->SetWidth(1);

    SetCoord(c);
    const int o = down ? 1 : 0;
    const TRect mark = Rect(FMarkX + o, FMarkY + o, FMarkX + FMarkWidth + o, FMarkY + FMarkHeight + o);
    if (Transparent())
        c->FillRect(mark);
    else
        c->Rectangle(mark);

    c->Brush()->SetStyle(bsClear);
    if (FEfCaption && FHot) {
        c->Font()->SetColor(FActiveTextColor);
        c->TextOut(FTextX - 1, FTextY - 1, Caption());
        c->TextOut(FTextX + 1, FTextY + 1, Caption());
        c->Font()->SetColor(Font()->Color());
    } else if (FHot) {
        c->Font()->SetColor(FActiveTextColor);
    }
    c->TextOut(FTextX, FTextY, Caption());
    c->Brush()->SetStyle(bsSolid);

    if (!FGlyph->Empty()) {
        int index;
        if (down && FNumGlyphs > 3)
            index = 3;
        else if (FHot && FNumGlyphs > 2)
            index = 2;
        else if (Enabled())
            index = 1;
        else
            index = FNumGlyphs;
        PaintGlyph(c, FGlyphX, FGlyphY, FGlyph.get(), uint8_t(index), uint8_t(FNumGlyphs));
    }
}

// Spacing's declared default is the value it starts with (0), so a Spacing of 4 is
// written and read back.
BEGIN_PROPERTIES(TepColorButton, TEffectGControl)
    .Int("MarkOffset", &TepColorButton::MarkOffset, &TepColorButton::SetMarkOffset)
    .Enum("MarkAlign", &TepColorButton::MarkAlign, &TepColorButton::SetMarkAlign,
        { "mkLeft", "mkTop", "mkRight", "mkBottom" })
    .Reference("ClickSound", &TepColorButton::ClickSound, &TepColorButton::SetClickSound)
    .Reference("ActiveSound", &TepColorButton::ActiveSound, &TepColorButton::SetActiveSound)
    .Bool("UseFrame", &TepColorButton::UseFrame, &TepColorButton::SetUseFrame)
    .Enum("Layout", &TepColorButton::Layout, &TepColorButton::SetLayout, LayoutNames)
        .Default(blGlyphLeft)
    .Int("NumGlyphs", &TepColorButton::NumGlyphs, &TepColorButton::SetNumGlyphs).Default(1)
    .Int("Margin", &TepColorButton::Margin, &TepColorButton::SetMargin).Default(-1)
    .Int("Spacing", &TepColorButton::Spacing, &TepColorButton::SetSpacing).Default(0)
    .Int("MarkWidth", &TepColorButton::MarkWidth, &TepColorButton::SetMarkWidth)
    .Int("MarkHeight", &TepColorButton::MarkHeight, &TepColorButton::SetMarkHeight)
    .Color("InnerColor", &TepColorButton::InnerColor, &TepColorButton::SetInnerColor)
    .Color("OuterColor", &TepColorButton::OuterColor, &TepColorButton::SetOuterColor)
    .Color("ColorValue", &TepColorButton::ColorValue, &TepColorButton::SetColorValue)
    .Reference("ColorDialog", &TepColorButton::ColorDialog, &TepColorButton::SetColorDialog)
    .Bool("EfCaption", &TepColorButton::EfCaption, &TepColorButton::SetEfCaption)
    .Object("Glyph", &TepColorButton::Glyph)
    .Color("ActiveTextColor", &TepColorButton::ActiveTextColor, &TepColorButton::SetActiveTextColor)
    .Event("OnChange", &TepColorButton::OnChange)
END_PROPERTIES
