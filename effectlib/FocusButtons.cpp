// The two focusable windowed buttons: the keyboard and focus rules they share, the focus
// button's framed face and the transparent button's frames and rounded window.
#include "effectlib/EPButtons.h"

#include "effectlib/Eputils.h"
#include "effectlib/Grutils.h"
#include "effectlib/Ptinform.h"
#include "framework/controls/Form.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

namespace {

const std::vector<std::string> LayoutNames { "blGlyphLeft", "blGlyphRight", "blGlyphTop",
    "blGlyphBottom" };
const std::vector<std::string> GradKindNames { "gdRight", "gdLeft", "gdTop", "gdBottom",
    "gdVCenter", "gdHCenter" };
constexpr uint16_t SpaceKey = 32;
constexpr WPARAM EnterKey = 13;

} // namespace

TFocusGlyphButton::TFocusGlyphButton(TComponent* AOwner)
    : TButtonCControl(AOwner)
{
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
    // Clicks come from the button's own release, key and accelerator rules only.
    FControlStyle &= ~csClickEvents;
}

// A press on a button without the focus first asks for it; when the focus cannot be
// taken (another control keeps it) the press is dropped.
void TFocusGlyphButton::WndProc(TMessage& Message)
{
    if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !Focused()
        && !(ComponentState() & csDesigning)) {
        auto alive = AliveToken();
        FFocusing = true;
        SetFocus();
        if (!*alive)
            return;
        FFocusing = false;
        if (!Focused()) {
            FPressDropped = true;
            return;
        }
    }
    // The release of a dropped press is dropped too: it completes no click.
    if (Message.Msg == WM_LBUTTONUP && FPressDropped) {
        FPressDropped = false;
        return;
    }
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
        FPressDropped = false;
    TButtonCControl::WndProc(Message);
}

bool TFocusGlyphButton::CursorInside() const
{
    const TPoint p = GetCursorPos();
    const TPoint o = ClientToScreen(Point(0, 0));
    return p.X >= o.X && p.X <= o.X + Width() && p.Y >= o.Y && p.Y <= o.Y + Height();
}

void TFocusGlyphButton::KeyDown(uint16_t& Key, TShiftState Shift)
{
    if (Key == SpaceKey && !FPressed) {
        FHot = true;
        FPressed = true;
        FSpaceHeld = true;
        Repaint();
    }
    TButtonCControl::KeyDown(Key, Shift);
}

void TFocusGlyphButton::KeyUp(uint16_t& Key, TShiftState Shift)
{
    if (Key == SpaceKey && FSpaceHeld) {
        FHot = CursorInside();
        FPressed = false;
        FSpaceHeld = false;
        Repaint();
        auto alive = AliveToken();
        Click();
        if (!*alive)
            return;
    }
    TButtonCControl::KeyUp(Key, Shift);
}

// Leaving the focus while Space is held releases the button without a click.
void TFocusGlyphButton::CMFocusChanged(TMessage& Message)
{
    TButtonCControl::CMFocusChanged(Message);
    const bool before = FFocusedFlag;
    FFocusedFlag = reinterpret_cast<TWinControl*>(Message.LParam) == this;
    bool released = false;
    if (!FFocusedFlag && (FPressed || FSpaceHeld)) {
        FPressed = false;
        FSpaceHeld = false;
        FHot = CursorInside();
        released = true;
    }
    if (released || before != (FFocusedFlag && FShowFocus))
        Repaint();
}

void TFocusGlyphButton::CMDialogKey(TMessage& Message)
{
    const TShiftState shift = TShiftState(Message.LParam);
    if (Message.WParam == EnterKey && FFocusedFlag && !(shift & (ssShift | ssCtrl | ssAlt))
        && CanFocus()) {
        Message.Result = 1;
        Click();
        return;
    }
    TButtonCControl::CMDialogKey(Message);
}

void TFocusGlyphButton::CMDialogChar(TMessage& Message)
{
    if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
        Message.Result = 1;
        Click();
        return;
    }
    TButtonCControl::CMDialogChar(Message);
}

void TFocusGlyphButton::CMMouseEnter(TMessage& Message)
{
    if (!FSpaceHeld)
        TButtonCControl::CMMouseEnter(Message);
}

void TFocusGlyphButton::CMMouseLeave(TMessage& Message)
{
    if (FSpaceHeld)
        return;
    TEffectCControl::CMMouseLeave(Message);
    if (FHot && (!LeaveNeedsEnabled() || Enabled())) {
        FHot = false;
        Repaint();
    }
}

void TFocusGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FSpaceHeld)
        TButtonCControl::MouseDown(Button, Shift, X, Y);
}

void TFocusGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!FSpaceHeld)
        TButtonCControl::MouseUp(Button, Shift, X, Y);
}

void TFocusGlyphButton::CMTextChanged(TMessage&) { Repaint(); }

// A click asked for while a press is taking the focus (by a handler of the focus change)
// is dropped: the press itself decides whether the button clicks.
void TFocusGlyphButton::Click()
{
    if (FFocusing)
        return;
    if (OnClick)
        OnClick(this);
}

// The caption's width leaves out the ampersand that marks the accelerator.
void TFocusGlyphButton::SetCoord(TCanvas* C)
{
    const std::string& caption = Caption();
    FTextH = caption.empty() ? 0 : C->TextHeight(caption);
    FTextW = caption.empty() ? 0 : C->TextWidth(caption);
    if (caption.find('&') != std::string::npos)
        FTextW -= C->TextWidth("&");
    const int gw = Glyph()->Width() / std::max(NumGlyphs(), 1), gh = Glyph()->Height();
    CalcLCoord(Layout(), Rect(0, 0, Width(), Height()), gw, gh, FTextW, FTextH, Spacing(),
        Margin(), FTextX, FTextY, FGlyphX, FGlyphY);
    if (FPressed && FHot && ShiftsWhenDown()) {
        ++FTextX;
        ++FTextY;
        ++FGlyphX;
        ++FGlyphY;
    }
}

void TFocusGlyphButton::PaintCaptionAndGlyph(TCanvas* C)
{
    if (FHot)
        C->Font()->SetColor(ActiveTextColor());
    C->Brush()->SetStyle(bsClear);
    TRect r = Rect(FTextX, FTextY, FTextX + FTextW, FTextY + FTextH);
    if (!Caption().empty())
        DrawText(C, Caption(), r, DT_CENTER);
    C->Brush()->SetStyle(bsSolid);
    DrawButtonGlyph();
}

TepFocusButton::TepFocusButton(TComponent* AOwner)
    : TFocusGlyphButton(AOwner)
{
}

void TepFocusButton::PaintEffects()
{
    TEffectBmp* ef = EfBmp();
    if (!ef)
        return;
    if (FGradEffect)
        ef->AddGradColor(FHot ? FActiveGradColor : FGradColor, FGradKind);
    else if (Transparent() && MiddleTransparent())
        ef->AddMiddleColor(Color());
}

void TepFocusButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const int w = Width(), h = Height();
    if (Transparent() && MiddleTransparent() && FGradEffect)
        BlendGradientFace(face, w, h, Color(), FHot ? FActiveGradColor : FGradColor, FGradKind);
    else
        PaintEf();

    TRect r = Rect(0, 0, w, h);
    if (FPressed && FHot)
        Frm3D(c, r, FOuterColor, FInnerColor, FFrameWidth);
    else
        Frm3D(c, r, FInnerColor, FOuterColor, FFrameWidth);
    InflateRect(r, -(FFrameWidth + 2), -(FFrameWidth + 2));
    if (HasFocusFlag() && ShowFocus()) {
        if (Transparent() || FGradEffect) {
            c->Pen()->SetMode(pmNot);
            c->Brush()->SetStyle(bsClear);
            c->Rectangle(r);
            c->Pen()->SetMode(pmCopy);
            c->Brush()->SetStyle(bsSolid);
        } else {
            c->DrawFocusRect(r);
        }
    }
    SetCoord(c);
    PaintCaptionAndGlyph(c);
}

TepTransparentBtn::TepTransparentBtn(TComponent* AOwner)
    : TFocusGlyphButton(AOwner)
{
}

bool TepTransparentBtn::ShiftsWhenDown() const
{
    return FFrame3D && ColorToRGB(FFrameInnerColor) != ColorToRGB(FFrameOuterColor);
}

int TepTransparentBtn::FocusCorner() const { return std::max(0, 2 * int(FRadius) - 5); }

void TepTransparentBtn::SetRadius(uint8_t Value)
{
    FRadius = Value;
    CreateR();
    Repaint();
}

void TepTransparentBtn::SetFrameRnd(bool Value)
{
    FFrameRnd = Value;
    CreateR();
    Repaint();
}

// Turning the frame off also ends the rounded frame; the window keeps its shape until
// its size changes next.
void TepTransparentBtn::SetFrame(bool Value)
{
    FFrame = Value;
    if (!Value)
        FFrameRnd = false;
    Repaint();
}

void TepTransparentBtn::WMSize(TMessage& Message)
{
    CreateR();
    TFocusGlyphButton::WMSize(Message);
}

// The rounded window is the rounded rectangle as the canvas draws it.
void TepTransparentBtn::CreateR()
{
    const int w = Width(), h = Height();
    if (FFrameRnd && w > 0 && h > 0) {
        TBitmap mask;
        mask.SetSize(w, h);
        TCanvas* mc = mask.Canvas();
        mc->Brush()->SetStyle(bsSolid);
        mc->Brush()->SetColor(clWhite);
        mc->FillRect(Rect(0, 0, w, h));
        mc->Brush()->SetColor(clBlack);
        mc->Pen()->SetColor(clBlack);
        mc->RoundRect(0, 0, w, h, 2 * FRadius, 2 * FRadius);
        const plat::Region rgn = Eputils::CreateRgnFromBmp(&mask, clWhite);
        SetWindowRgn(&rgn, true);
        FHasRegion = true;
    } else if (FHasRegion) {
        SetWindowRgn(nullptr, true);
        FHasRegion = false;
    }
}

bool TepTransparentBtn::IsMouseIn(int X, int Y) const
{
    const int w = Width(), h = Height();
    if (FFrameRnd)
        return PointinRndRect(X, Y, h / 2 - 1, Rect(1, 1, w - 1, h - 1));
    return X >= 1 && X < w - 1 && Y >= 1 && Y < h - 1;
}

void TepTransparentBtn::PaintEffects()
{
    if (TEffectBmp* ef = EfBmp(); ef && Transparent() && MiddleTransparent())
        ef->AddMiddleColor(Color());
}

void TepTransparentBtn::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    const int w = Width(), h = Height();
    PaintEf();

    if (FFrame) {
        c->Brush()->SetStyle(bsClear);
        c->Pen()->SetWidth(1);
        const int d = 2 * FRadius;
        const TRect round = Rect(0, 0, w - 1, h - 1);
        auto active = [&](TColor topLeft, TColor bottomRight) {
            if (FFrame3D) {
                if (FFrameRnd)
                    RndRectFrm3D(c, round, topLeft, bottomRight, d, 1);
                else
                    Frm3D(c, Rect(0, 0, w, h), topLeft, bottomRight, 1);
            } else if (FFrameRnd) {
                RndRectFrm3D(c, round, FFrameColor, FFrameColor, d, 1);
            } else {
                c->Pen()->SetColor(FFrameColor);
                c->Brush()->SetStyle(bsClear);
                c->Rectangle(0, 0, w, h);
            }
        };
        if (FPressed && FHot) {
            active(FFrameOuterColor, FFrameInnerColor);
        } else if (FHot) {
            active(FFrameInnerColor, FFrameOuterColor);
        } else {
            const TColor pc = Enabled() ? FFrameColor : FFrameOuterColor;
            c->Pen()->SetColor(pc);
            c->Brush()->SetStyle(bsClear);
            if (FFrame3D) {
                if (FFrameRnd)
                    RndRectFrm3D(c, round, pc, pc, d, 1);
                else
                    c->Rectangle(0, 0, w, h);
            } else if (FFrameRnd) {
                RndRectFrm3D(c, Rect(1, 1, w - 2, h - 2), pc, pc, d, 1);
            } else {
                c->Rectangle(1, 1, w - 1, h - 1);
            }
        }
        c->Brush()->SetStyle(bsSolid);
    }

    SetCoord(c);
    if (HasFocusFlag() && ShowFocus()) {
        const TRect m = FFrame ? Rect(4, 4, w - 4, h - 4)
                               : Rect(FTextX - 2, FTextY - 2, FTextX + FTextW + 2, FTextY + FTextH + 2);
        c->Brush()->SetStyle(bsClear);
        if (FFrameRnd) {
            c->Pen()->SetMode(pmNot);
            c->RoundRect(m.Left + 1, m.Top + 1, m.Right - 2, m.Bottom - 2, FocusCorner(), FocusCorner());
        } else {
            if (!Transparent())
                c->DrawFocusRect(m);
            c->Pen()->SetMode(pmNot);
            c->Rectangle(m.Left + 1, m.Top + 1, m.Right - 1, m.Bottom - 1);
        }
        c->Pen()->SetMode(pmCopy);
        c->Brush()->SetStyle(bsSolid);
    }
    if (!Caption().empty())
        PaintCaptionAndGlyph(c);
    else
        DrawButtonGlyph();
}

#define FOCUS_BUTTON_PROPERTIES(C)                                                        \
    .Enum("Layout", &C::Layout, &C::SetLayout, LayoutNames).Default(blGlyphLeft)          \
        .Int("Spacing", &C::Spacing, &C::SetSpacing).Default(0)                           \
        .Int("Margin", &C::Margin, &C::SetMargin).Default(-1)                             \
        .Bool("ShowFocus", &C::ShowFocus, &C::SetShowFocus).Default(true)                 \
        .Bool("MiddleTransparent", &C::MiddleTransparent, &C::SetMiddleTransparent)      \
        .Bool("TabStop", &C::TabStop, &C::SetTabStop).Default(true)

// Spacing's declared default is the value the base starts with (0), so 4 is written too;
// both stop on Tab unless told otherwise, so TabStop is declared true.
BEGIN_PROPERTIES(TepFocusButton, TButtonCControl)
    FOCUS_BUTTON_PROPERTIES(TepFocusButton)
    .Color("ActiveGradColor", &TepFocusButton::ActiveGradColor, &TepFocusButton::SetActiveGradColor)
    .Color("GradColor", &TepFocusButton::GradColor, &TepFocusButton::SetGradColor)
    .Bool("GradEffect", &TepFocusButton::GradEffect, &TepFocusButton::SetGradEffect)
    .Enum("GradKind", &TepFocusButton::GradKind, &TepFocusButton::SetGradKind, GradKindNames)
    .Int("FrameWidth", &TepFocusButton::FrameWidth, &TepFocusButton::SetFrameWidth)
    .Color("OuterColor", &TepFocusButton::OuterColor, &TepFocusButton::SetOuterColor)
    .Color("InnerColor", &TepFocusButton::InnerColor, &TepFocusButton::SetInnerColor)
END_PROPERTIES

BEGIN_PROPERTIES(TepTransparentBtn, TButtonCControl)
    FOCUS_BUTTON_PROPERTIES(TepTransparentBtn)
    .Int("Radius", &TepTransparentBtn::Radius, &TepTransparentBtn::SetRadius)
    .Color("FrameInnerColor", &TepTransparentBtn::FrameInnerColor, &TepTransparentBtn::SetFrameInnerColor)
    .Color("FrameOuterColor", &TepTransparentBtn::FrameOuterColor, &TepTransparentBtn::SetFrameOuterColor)
    .Bool("Frame", &TepTransparentBtn::Frame, &TepTransparentBtn::SetFrame).Default(true)
    .Color("FrameColor", &TepTransparentBtn::FrameColor, &TepTransparentBtn::SetFrameColor)
    .Bool("Frame3D", &TepTransparentBtn::Frame3D, &TepTransparentBtn::SetFrame3D)
    .Bool("FrameRnd", &TepTransparentBtn::FrameRnd, &TepTransparentBtn::SetFrameRnd)
END_PROPERTIES
