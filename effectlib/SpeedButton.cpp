// The speed button: states, groups through the button-pressed notification, flat mode
// with hover tracking, gradient and half-transparent faces, the checkered down pattern.
#include "effectlib/EPButtons.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Grutils.h"
#include "effectlib/Wavctrl.h"
#include "framework/controls/Form.h"
#include "framework/controls/WinControl.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

namespace {

void PlayIfLoaded(TepWavePlayer* Player)
{
    if (Player && Player->Wave() && !Player->Wave()->GetEmpty())
        Player->Play();
}

} // namespace

void BlendGradientFace(TBitmap* Face, int W, int H, TColor FillColor, TColor GradColor,
    TGradKind Kind)
{
    if (!Face || W <= 0 || H <= 0)
        return;
    TBitmap work;
    work.SetSize(W, H);
    work.Canvas()->Brush()->SetStyle(bsSolid);
    work.Canvas()->Brush()->SetColor(FillColor);
    work.Canvas()->FillRect(Rect(0, 0, W, H));
    TEffectBmp grad(&work);
    grad.AddGradColor(GradColor, Kind);
    grad.Draw(work.Canvas(), 0, 0);
    TBitmap sized;
    sized.SetSize(Face->Width(), Face->Height());
    sized.Canvas()->StretchDraw(Rect(0, 0, Face->Width(), Face->Height()), &work);
    const TEffectBmp over(&sized);
    TEffectBmp base(Face);
    base.MiddleBMP(&over);
    base.Draw(Face->Canvas(), 0, 0);
}

TepSpeedButton::TepSpeedButton(TComponent* AOwner)
    : TEffectGControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
    , FPattern(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 25, 25);
    FControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
    SetParentFont(true);
    FPattern->SetSize(8, 8);
    FPattern->Canvas()->Brush()->SetStyle(bsSolid);
}

TepSpeedButton::~TepSpeedButton() = default;

void TepSpeedButton::SetActiveGradColor(TColor Value) { FActiveGradColor = Value; XPaint(); }
void TepSpeedButton::SetGradColor(TColor Value) { FGradColor = Value; XPaint(); }
void TepSpeedButton::SetGradEffect(bool Value) { FGradEffect = Value; XPaint(); }
void TepSpeedButton::SetGradKind(TGradKind Value) { FGradKind = Value; XPaint(); }
void TepSpeedButton::SetMiddleTransparent(bool Value) { FMiddleTransparent = Value; XPaint(); }
void TepSpeedButton::SetFrameWidth(uint8_t Value) { FFrameWidth = Value; XPaint(); }
void TepSpeedButton::SetNumGlyphs(uint8_t Value) { FNumGlyphs = Value; XPaint(); }
void TepSpeedButton::SetLayout(TLayout Value) { FLayout = Value; XPaint(); }
void TepSpeedButton::SetInnerColor(TColor Value) { FInnerColor = Value; XPaint(); }
void TepSpeedButton::SetOuterColor(TColor Value) { FOuterColor = Value; XPaint(); }
void TepSpeedButton::SetPatternColor(TColor Value) { FPatternColor = Value; XPaint(); }

void TepSpeedButton::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    XPaint();
}

void TepSpeedButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepSpeedButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TEffectGControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
}

void TepSpeedButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    XPaint();
}

void TepSpeedButton::SetSpacing(int Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    XPaint();
}

void TepSpeedButton::SetMargin(int Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    XPaint();
}

void TepSpeedButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TepSpeedButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

// A held button cannot be released by setting Down unless its group allows all up.
void TepSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    FState = Value ? 3 : 0;
    XPaint();
    if (Value)
        UpdateExclusive();
}

void TepSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m { CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this)), 0 };
    Parent()->Broadcast(m);
}

void TepSpeedButton::CMButtonPressed(TMessage& Message)
{
    auto* sender = dynamic_cast<TepSpeedButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (Message.WParam != WPARAM(FGroupIndex) || !sender || sender == this)
        return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = 0;
        XPaint();
    }
    FAllowAllUp = sender->AllowAllUp();
}

void TepSpeedButton::CMMouseEnter(TMessage& Message)
{
    TEffectGControl::CMMouseEnter(Message);
    if (FHot || !Enabled())
        return;
    FHot = true;
    XPaint();
    PlayIfLoaded(FActiveSound);
}

void TepSpeedButton::CMMouseLeave(TMessage& Message)
{
    TEffectGControl::CMMouseLeave(Message);
    if (!FHot || !Enabled() || FDragging)
        return;
    FHot = false;
    XPaint();
}

// A flat, enabled button asks which control lies under the pointer now.
void TepSpeedButton::UpdateTracking()
{
    if (!FFlat || !Enabled())
        return;
    TCustomForm* form = GetParentForm();
    if (!form)
        return;
    const TPoint p = form->ScreenToClient(GetCursorPos());
    TMessage m {};
    if (form->ControlAtPoint(p.X, p.Y) == this) {
        m.Msg = CM_MOUSEENTER;
        CMMouseEnter(m);
    } else {
        m.Msg = CM_MOUSELEAVE;
        CMMouseLeave(m);
    }
}

void TepSpeedButton::CMEnabledChanged(TMessage& Message)
{
    TEffectGControl::CMEnabledChanged(Message);
    UpdateTracking();
    XPaint();
}

void TepSpeedButton::CMFontChanged(TMessage&) { XPaint(); }
void TepSpeedButton::CMTextChanged(TMessage&) { XPaint(); }

void TepSpeedButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(Message.WParam, Caption()) && Enabled()) {
        Message.Result = 1;
        Click();
        return;
    }
    TEffectGControl::CMDialogChar(Message);
}

void TepSpeedButton::Click()
{
    auto alive = AliveToken();
    PlayIfLoaded(FClickSound);
    if (*alive)
        TEffectGControl::Click();
}

void TepSpeedButton::DblClick()
{
    if (FDown)
        TEffectGControl::DblClick();
}

// The second press is handled as a press first; OnDblClick then fires only while down.
void TepSpeedButton::WMLButtonDblClk(TMessage& Message)
{
    auto alive = AliveToken();
    TEffectGControl::WMLButtonDblClk(Message);
    if (*alive)
        DblClick();
}

bool TepSpeedButton::Inside(int X, int Y) const
{
    return X >= 0 && X <= ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TepSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectGControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = 2;
        FHot = true;
        XPaint();
    }
    FDragging = true;
}

void TepSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectGControl::MouseMove(Shift, X, Y);
    if (!*alive || !FDragging)
        return;
    int state;
    if (Inside(X, Y)) {
        FHot = true;
        state = FDown ? 3 : 2;
    } else {
        FHot = false;
        state = FDown ? 3 : 0;
    }
    if (state != FState) {
        FState = state;
        XPaint();
    }
}

void TepSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectGControl::MouseUp(Button, Shift, X, Y);
    if (!*alive || !FDragging)
        return;
    FDragging = false;
    const bool inside = Inside(X, Y);
    if (FGroupIndex == 0) {
        FState = 0;
        if (inside)
            XPaint();
    } else if (inside) {
        SetDown(!FDown);
    } else {
        if (FDown)
            FState = 3;
        XPaint();
    }
    if (inside)
        Click();
    if (*alive)
        UpdateTracking();
}

void TepSpeedButton::PaintEffects()
{
    TEffectBmp* ef = EfBmp();
    if (!ef)
        return;
    if (FGradEffect)
        ef->AddGradColor(FHot ? FActiveGradColor : FGradColor, FGradKind);
    else if (Transparent() && FMiddleTransparent)
        ef->AddMiddleColor(Color());
}

void TepSpeedButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const int w = Width(), h = Height();

    // 1. The face.
    if (Transparent() && FMiddleTransparent && FGradEffect)
        BlendGradientFace(face, w, h, Color(), FHot ? FActiveGradColor : FGradColor, FGradKind);
    else
        PaintEf();

    // 2. The state follows the enabled state.
    if (!Enabled()) {
        FState = 1;
        FDragging = false;
    } else if (FState == 1) {
        FState = FDown && FGroupIndex != 0 ? 3 : 0;
    }
    const bool down = FState == 2 || FState == 3;

    // 3. The frame.
    TRect r = Rect(0, 0, w, h);
    if (FFlat) {
        if (down) {
            Frm3D(c, r, FOuterColor, FInnerColor, 1);
            InflateRect(r, -1, -1);
        } else if ((FHot && FState != 1) || (ComponentState() & csDesigning)) {
            Frm3D(c, r, FInnerColor, FOuterColor, 1);
        }
    } else if (down) {
        Frm3D(c, r, FOuterColor, FInnerColor, FFrameWidth);
        InflateRect(r, -FFrameWidth, -FFrameWidth);
    } else {
        Frm3D(c, r, FInnerColor, FOuterColor, FFrameWidth);
    }

    // 4. The checkerboard of a button held down in its group, where the pointer is not.
    if (!Transparent() && !FGradEffect && FState == 3 && !FHot) {
        TCanvas* pc = FPattern->Canvas();
        pc->Brush()->SetColor(Color());
        pc->FillRect(Rect(0, 0, 8, 8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if ((x % 2) == (y % 2))
                    pc->SetPixel(x, y, ColorToRGB(FPatternColor));
        // The pattern tiles R from the bitmap's origin, as a pattern brush would.
        for (int ty = (std::max(r.Top, 0) / 8) * 8; ty < r.Bottom; ty += 8)
            for (int tx = (std::max(r.Left, 0) / 8) * 8; tx < r.Right; tx += 8) {
                const TRect d = Rect(std::max(tx, r.Left), std::max(ty, r.Top),
                    std::min(tx + 8, r.Right), std::min(ty + 8, r.Bottom));
                c->CopyRect(d, pc, Rect(d.Left - tx, d.Top - ty, d.Right - tx, d.Bottom - ty));
            }
    }

    // 5. Positions; a strip counted as 0 images is taken as one.
    const int gw = FGlyph->Width() / std::max<int>(FNumGlyphs, 1), gh = FGlyph->Height();
    const TSize ext = c->TextExtent(Caption());
    const int tw = Caption().empty() ? 0 : ext.cx, th = Caption().empty() ? 0 : ext.cy;
    CalcLCoord(FLayout, Rect(0, 0, w, h), gw, gh, tw, th, FSpacing, FMargin, FTextX, FTextY,
        FGlyphX, FGlyphY);
    if (down && (FFrameWidth != 0 || FFlat)) {
        ++FTextX;
        ++FTextY;
        ++FGlyphX;
        ++FGlyphY;
    }

    // 6. The glyph.
    if (!FGlyph->Empty() && FNumGlyphs > 0) {
        int index;
        if (down && FNumGlyphs >= 4)
            index = 3;
        else if (FHot && FNumGlyphs > 2)
            index = 2;
        else if (Enabled())
            index = 1;
        else
            index = FNumGlyphs;
        PaintGlyph(c, FGlyphX, FGlyphY, FGlyph.get(), uint8_t(index), FNumGlyphs);
    }

    // 7. The caption.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(FHot ? FActiveTextColor : Font()->Color());
    if (!Caption().empty())
        c->TextOut(FTextX, FTextY, Caption());
    c->Brush()->SetStyle(bsSolid);
}

namespace {
const std::vector<std::string> LayoutNames { "blGlyphLeft", "blGlyphRight", "blGlyphTop",
    "blGlyphBottom" };
const std::vector<std::string> GradKindNames { "gdRight", "gdLeft", "gdTop", "gdBottom",
    "gdVCenter", "gdHCenter" };
} // namespace

BEGIN_PROPERTIES(TepSpeedButton, TEffectGControl)
    .Color("ActiveGradColor", &TepSpeedButton::ActiveGradColor, &TepSpeedButton::SetActiveGradColor)
    .Color("GradColor", &TepSpeedButton::GradColor, &TepSpeedButton::SetGradColor)
    .Bool("GradEffect", &TepSpeedButton::GradEffect, &TepSpeedButton::SetGradEffect)
    .Enum("GradKind", &TepSpeedButton::GradKind, &TepSpeedButton::SetGradKind, GradKindNames)
    .Bool("MiddleTransparent", &TepSpeedButton::MiddleTransparent, &TepSpeedButton::SetMiddleTransparent)
    .Reference("ClickSound", &TepSpeedButton::ClickSound, &TepSpeedButton::SetClickSound)
    .Reference("ActiveSound", &TepSpeedButton::ActiveSound, &TepSpeedButton::SetActiveSound)
    .Color("ActiveTextColor", &TepSpeedButton::ActiveTextColor, &TepSpeedButton::SetActiveTextColor)
    .Enum("Layout", &TepSpeedButton::Layout, &TepSpeedButton::SetLayout, LayoutNames)
        .Default(blGlyphLeft)
    .Int("NumGlyphs", &TepSpeedButton::NumGlyphs, &TepSpeedButton::SetNumGlyphs).Default(1)
    .Object("Glyph", &TepSpeedButton::Glyph)
    .Int("FrameWidth", &TepSpeedButton::FrameWidth, &TepSpeedButton::SetFrameWidth)
    .Color("InnerColor", &TepSpeedButton::InnerColor, &TepSpeedButton::SetInnerColor)
    .Color("OuterColor", &TepSpeedButton::OuterColor, &TepSpeedButton::SetOuterColor)
    .Color("PatternColor", &TepSpeedButton::PatternColor, &TepSpeedButton::SetPatternColor)
    .Bool("AllowAllUp", &TepSpeedButton::AllowAllUp, &TepSpeedButton::SetAllowAllUp).Default(false)
    .Int("GroupIndex", &TepSpeedButton::GroupIndex, &TepSpeedButton::SetGroupIndex).Default(0)
    .Bool("Down", &TepSpeedButton::Down, &TepSpeedButton::SetDown).Default(false)
    .Bool("Flat", &TepSpeedButton::Flat, &TepSpeedButton::SetFlat).Default(false)
    .Int("Margin", &TepSpeedButton::Margin, &TepSpeedButton::SetMargin).Default(-1)
    .Int("Spacing", &TepSpeedButton::Spacing, &TepSpeedButton::SetSpacing).Default(4)
END_PROPERTIES
