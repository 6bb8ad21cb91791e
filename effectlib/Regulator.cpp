// The round fader and the toggle switch: the rounded-bar shape, the shaded face, the drag.
#include "effectlib/EPCtrls.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "effectlib/Ptinform.h"
#include "framework/controls/Application.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const uintptr_t DragTimer = 1;
// A period of 0 would make the timer fire on every pass of the message loop.
const uint32_t ZeroPeriodMs = 10;

TColor Light(TColor c) { return RGBChange(ColorToRGB(c), 65, 65, 65); }
TColor Dark(TColor c) { return RGBChange(ColorToRGB(c), -65, -65, -65); }

// The region a filled RoundRect(0, 0, w, h, d, d) covers, one run per row.
plat::Region RoundBarRegion(int w, int h, int d)
{
    if (w <= 0 || h <= 0)
        return plat::Region();
    TBitmap shape;
    shape.SetSize(w, h);
    shape.Handle()->Fill(clBlack);
    TCanvas* c = shape.Canvas();
    c->Brush()->SetColor(clWhite);
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetColor(clWhite);
    c->RoundRect(0, 0, w, h, d, d);
    std::vector<plat::Rect> runs;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && shape.Handle()->GetColor(x, y) == clBlack)
                ++x;
            const int x0 = x;
            while (x < w && shape.Handle()->GetColor(x, y) != clBlack)
                ++x;
            if (x > x0)
                runs.push_back({ x0, y, x, y + 1 });
        }
    }
    return plat::Region::FromRects(runs);
}

} // namespace

TepRoundBar::TepRoundBar(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle |= csOpaque;
}

TepRoundBar::~TepRoundBar() = default;

void TepRoundBar::SetFrameWidth(TSmType Value)
{
    if (Value < 1 || Value > 50)
        return;
    FFrameWidth = Value;
    Invalidate();
}

TRect TepRoundBar::KnobRect(int Y) const
{
    const int C = Width() / 2, R = FRadius, F2 = FFrameWidth / 2;
    return Rect(C + F2 - R + 4, Y + F2 - R + 4, C + R - F2 - 4, Y + R - F2 - 4);
}

// The new shape is in place before the old one goes: the window keeps a copy of it.
void TepRoundBar::CreateR()
{
    if (Width() % 2 != 0) {
        FInCreateR = true;
        SetBounds(Left(), Top(), Width() - 1, Height());
        FInCreateR = false;
    }
    FRadius = Width() / 2;
}

void TepRoundBar::WMSize(TMessage& Message)
{
    if (!FInCreateR) {
        CreateR();
        const plat::Region shape = RoundBarRegion(Width(), Height(), 2 * FRadius);
        SetWindowRgn(&shape, true);
    }
    TCustomControl::WMSize(Message);
}

void TepRoundBar::WMEraseBkgnd(TMessage&) { }

// A raised plate with a sunken slot and a round knob, blurred once with the four-sample
// blur and given a sharp rim afterwards. The bitmap is larger than the face so the blur
// samples past its edges; only the part inside the window's shape shows.
void TepRoundBar::DrawFace(TCanvas* Target, int Y, TColor KnobColor, const TRect& SlotRect)
{
    const int W = Width(), H = Height(), R = FRadius;
    TBitmap bmp;
    bmp.SetSize(W + 10, H + 10);
    TCanvas* c = bmp.Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->Pen()->SetColor(Color());
    c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    c->RoundRect(0, 0, W, H, R, R);
    RndRectFrm3D(c, Rect(0, 1, W - 1, H - 1), Light(Color()), Dark(Color()), (R - 4) * 2,
        FFrameWidth + 1);
    Frm3D(c, SlotRect, Dark(Color()), Light(Color()), 2);
    c->Brush()->SetColor(KnobColor);
    TRect k = KnobRect(Y);
    c->Ellipse(k);
    RndFrm3D(c, Light(KnobColor), Dark(KnobColor), k, 2);
    TEffectBmp soft(&bmp);
    soft.SplitBlur(1);
    soft.Draw(c, 0, 0);
    k.Top -= 1;
    RndFrm3D(c, Light(KnobColor), Dark(KnobColor), k, 1);
    Target->Draw(0, 0, &bmp);
}

TepRegulator::TepRegulator(TComponent* AOwner)
    : TepRoundBar(AOwner)
{
    SetBounds(Left(), Top(), 30, 150);
}

TepRegulator::~TepRegulator()
{
    if (FDragging)
        KillTimer(this, DragTimer);
}

bool TepRegulator::HasTravel() const
{
    return FMaxValue != FMinValue && Height() > 2 * FRadius;
}

void TepRegulator::Change()
{
    if (OnChange)
        OnChange(this);
}

void TepRegulator::SetValue(int V)
{
    V = std::max(std::min(V, FMaxValue), FMinValue);
    if (V == FValue)
        return;
    FValue = V;
    if (!HasTravel() || V == FMinValue)
        FBtnPos = Height() - FRadius;
    else if (V == FMaxValue)
        FBtnPos = FRadius;
    else
        CalcBtnPos();
    Invalidate();
    Change();
}

void TepRegulator::SetMinValue(int M)
{
    if (M == FMinValue)
        return;
    FMinValue = M;
    if (FValue < M)
        FValue = M;
    Invalidate();
    Change();
}

void TepRegulator::SetMaxValue(int M)
{
    if (M == FMaxValue)
        return;
    FMaxValue = M;
    if (FValue > M)
        FValue = M;
    Invalidate();
    Change();
}

void TepRegulator::SetBtnColor(TColor Value)
{
    FBtnColor = Value;
    Invalidate();
}

void TepRegulator::CalcBtnPos()
{
    if (!HasTravel()) {
        FBtnPos = Height() - FRadius;
        return;
    }
    const double part = double(FValue - FMinValue) / double(FMaxValue - FMinValue);
    const int offset = int(std::trunc(double(Height() - 2 * FRadius) * part));
    FBtnPos = Height() - FRadius - offset;
}

void TepRegulator::CalcValue()
{
    if (!HasTravel()) {
        FValue = FMinValue;
        return;
    }
    const double up = 1.0 - double(FBtnPos - FRadius) / double(Height() - 2 * FRadius);
    FValue = FMinValue + int(std::trunc((double(FMaxValue) - double(FMinValue)) * up));
}

bool TepRegulator::PointinBtn(int X, int Y) const
{
    const TRect k = KnobRect(FBtnPos);
    const int r = (k.Right - k.Left) / 2;
    const int dx = X - k.Left - r, dy = Y - k.Top - r;
    return r * r >= dx * dx + dy * dy;
}

void TepRegulator::CreateR()
{
    TepRoundBar::CreateR();
    CalcBtnPos();
}

void TepRegulator::Loaded()
{
    TepRoundBar::Loaded();
    CalcBtnPos();
}

void TepRegulator::Paint() { DrawFace(Canvas(), FBtnPos, FBtnColor, Rect(Width() / 2 - 2,
    FRadius, Width() / 2 + 3, Height() - FRadius)); }

void TepRegulator::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !PointinBtn(X, Y))
        return;
    FDragging = true;
    FLastY = FCurY = Y;
    FDrawnPos = FBtnPos;
    const uint32_t period = FTimeInt == 0 ? ZeroPeriodMs : std::min<uint32_t>(FTimeInt, INT32_MAX);
    SetTimer(this, DragTimer, int(period));
    TepRoundBar::MouseDown(Button, Shift, X, Y);
}

void TepRegulator::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FDragging)
        FCurY = Y;
    TepRoundBar::MouseMove(Shift, X, Y);
}

void TepRegulator::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDragging = false;
    KillTimer(this, DragTimer);
    TepRoundBar::MouseUp(Button, Shift, X, Y);
}

// The knob moves by the pointer's travel since the last step. Where the clamp held it at
// an end, the pointer's travel past that end is kept, so the knob moves again only once
// the pointer comes back past the point where the knob stopped.
void TepRegulator::WMTimer(TMessage& Message)
{
    if (uintptr_t(Message.WParam) != DragTimer) {
        TepRoundBar::WMTimer(Message);
        return;
    }
    if (!FDragging || !HasTravel())
        return;
    FBtnPos += FCurY - FLastY;
    FBtnPos = std::max(std::min(FBtnPos, Height() - FRadius), FRadius);
    if (FBtnPos == FDrawnPos)
        return;
    Repaint();
    const int old = FValue;
    CalcValue();
    FLastY = FCurY;
    FDrawnPos = FBtnPos;
    if (FValue != old)
        Change();
}

TepSwitch::TepSwitch(TComponent* AOwner)
    : TepRoundBar(AOwner)
{
    SetBounds(Left(), Top(), 35, 70);
}

void TepSwitch::SetOnBtnColor(TColor Value)
{
    FOnBtnColor = Value;
    Invalidate();
}

void TepSwitch::SetOffBtnColor(TColor Value)
{
    FOffBtnColor = Value;
    Invalidate();
}

void TepSwitch::SetState(TState S)
{
    FState = S;
    Repaint();
    if (S == sOn) {
        if (OnOn)
            OnOn(this);
    } else if (OnOff) {
        OnOff(this);
    }
}

int TepSwitch::KnobY() const { return FState == sOn ? FRadius + 2 : Height() - FRadius - 1; }

void TepSwitch::CreateR()
{
    TepRoundBar::CreateR();
    const int h = int(std::nearbyint(Width() * 1.5));
    if (h != Height())
        SetBounds(Left(), Top(), Width(), h);
}

void TepSwitch::Paint()
{
    const int C = Width() / 2;
    DrawFace(Canvas(), KnobY(), FState == sOn ? FOnBtnColor : FOffBtnColor,
        Rect(C - 3, FRadius, C + 4, Height() - FRadius + 2));
}

void TepSwitch::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft || !PointinRndRect(X, Y, Width() / 2, Rect(0, 0, Width(), Height())))
        return;
    SetState(FState == sOn ? sOff : sOn);
    TepRoundBar::MouseDown(Button, Shift, X, Y);
}

BEGIN_PROPERTIES(TepRoundBar, TCustomControl)
END_PROPERTIES

BEGIN_PROPERTIES(TepRegulator, TepRoundBar)
    .Int("TimeInt", &TepRegulator::TimeInt, &TepRegulator::SetTimeInt)
    PUBLISHED_EVENT(OnChange)
    .Int("Value", &TepRegulator::Value, &TepRegulator::SetValue)
    .Int("MinValue", &TepRegulator::MinValue, &TepRegulator::SetMinValue).Default(0)
    .Int("MaxValue", &TepRegulator::MaxValue, &TepRegulator::SetMaxValue).Default(100)
    .Color("BtnColor", &TepRegulator::BtnColor, &TepRegulator::SetBtnColor)
    .Int("FrameWidth", &TepRegulator::FrameWidth, &TepRegulator::SetFrameWidth)
END_PROPERTIES

BEGIN_PROPERTIES(TepSwitch, TepRoundBar)
    .Color("OnBtnColor", &TepSwitch::OnBtnColor, &TepSwitch::SetOnBtnColor)
    PUBLISHED_EVENT(OnOn)
    PUBLISHED_EVENT(OnOff)
    .Color("OffBtnColor", &TepSwitch::OffBtnColor, &TepSwitch::SetOffBtnColor)
    .Enum("State", &TepSwitch::State, &TepSwitch::SetState, { "sOff", "sOn" })
    .Int("FrameWidth", &TepSwitch::FrameWidth, &TepSwitch::SetFrameWidth)
END_PROPERTIES
