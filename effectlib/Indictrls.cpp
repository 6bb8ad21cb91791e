// The indicator button, the number panel and the LED bar.
#include "effectlib/Indictrls.h"

#include "effectlib/Wavctrl.h"
#include "framework/controls/Timer.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <cmath>

namespace {

const int BlinkMs = 115;

} // namespace

TepIndiButton::TepIndiButton(TComponent* AOwner)
    : TEffectGControl(AOwner)
    , FTimer(std::make_unique<TTimer>(nullptr))
{
    FTimer->SetEnabled(false);
    FTimer->SetInterval(BlinkMs);
    SetBounds(Left(), Top(), 100, 40);
    SetColor(TColor(0));
    Font()->SetColor(TColor(255));
}

TepIndiButton::~TepIndiButton() = default;

void TepIndiButton::SetFrameColor(TColor Value) { FFrameColor = Value; XPaint(); }
void TepIndiButton::SetUnActiveColor(TColor Value) { FUnActiveColor = Value; XPaint(); }
void TepIndiButton::CMTextChanged(TMessage&) { XPaint(); }

void TepIndiButton::SetClickSound(TepWavePlayer* Value)
{
    SetReference(FClickSound, Value);
}

void TepIndiButton::SetActiveSound(TepWavePlayer* Value)
{
    SetReference(FActiveSound, Value);
}

void TepIndiButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TEffectGControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FClickSound)
        FClickSound = nullptr;
    if (AComponent == FActiveSound)
        FActiveSound = nullptr;
}

bool TepIndiButton::Blinking() const { return FTimer->Enabled(); }

void TepIndiButton::Play(TepWavePlayer* Player)
{
    if (Player && Player->Wave() && !Player->Wave()->GetEmpty())
        Player->Play();
}

void TepIndiButton::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TCanvas* c = face->Canvas();
    c->Pen()->SetColor(FFrameLit && Enabled() ? FFrameColor : FUnActiveColor);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
    const std::string& text = Caption();
    if (text.empty())
        return;
    const TSize e = c->TextExtent(text);
    c->Font()->SetColor(FTextLit && Enabled() ? Font()->Color() : FUnActiveColor);
    c->TextOut(Width() / 2 - e.cx / 2, Height() / 2 - e.cy / 2, text);
}

void TepIndiButton::StartBlink(void (TepIndiButton::*handler)(TObject*))
{
    FCounter = 0;
    FTimer->SetOnTimer(TNotifyEvent(this, handler));
    FTimer->SetEnabled(true);
}

// Only the left button blinks; other presses are not passed on at all.
void TepIndiButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != mbLeft)
        return;
    StartBlink(&TepIndiButton::TimerExpired1);
    Play(FClickSound);
    TEffectGControl::MouseDown(Button, Shift, X, Y);
}

void TepIndiButton::CMMouseEnter(TMessage& Message)
{
    TEffectGControl::CMMouseEnter(Message);
    FInside = true;
    StartBlink(&TepIndiButton::TimerExpired2);
    Play(FActiveSound);
}

void TepIndiButton::CMMouseLeave(TMessage& Message)
{
    TEffectGControl::CMMouseLeave(Message);
    FInside = false;
}

// The text goes off, on, off and on, one step per tick.
void TepIndiButton::TimerExpired1(TObject*)
{
    FFrameLit = true;
    FTextLit = !FTextLit;
    if (FCounter++ == 3) {
        FTimer->SetEnabled(false);
        FTextLit = true;
    }
    XPaint();
}

// The frame is off for one tick.
void TepIndiButton::TimerExpired2(TObject*)
{
    FTextLit = true;
    FFrameLit = !FFrameLit;
    if (FCounter++ == 1) {
        FTimer->SetEnabled(false);
        FFrameLit = true;
    }
    XPaint();
}

TepNumPanel::TepNumPanel(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 100, 50);
    SetColor(TColor(0));
}

void TepNumPanel::SetCountNums(indictrls::TSmType Value)
{
    if (Value < 0 || Value > 11)
        return;
    FCountNums = Value;
    XPaint();
}

void TepNumPanel::SetValue(int Value) { FValue = Value; XPaint(); }

void TepNumPanel::SetIndiWidth(indictrls::TSmType1 Value)
{
    if (Value < 0 || Value > 30)
        return;
    FIndiWidth = Value;
    XPaint();
}

void TepNumPanel::SetIndiColor(TColor Value) { FIndiColor = Value; XPaint(); }
void TepNumPanel::SetUnActiveColor(TColor Value) { FUnActiveColor = Value; XPaint(); }

unsigned TepNumPanel::Segments(char Ch)
{
    auto set = [](std::initializer_list<int> s) {
        unsigned bits = 0;
        for (int i : s)
            bits |= 1u << i;
        return bits;
    };
    switch (Ch) {
    case '-': return set({ 6 });
    case '0': return set({ 1, 2, 3, 4, 5, 7 });
    case '1': return set({ 3, 4 });
    case '2': return set({ 5, 3, 6, 2, 7 });
    case '3': return set({ 5, 3, 6, 4, 7 });
    case '4': return set({ 1, 6, 3, 4 });
    case '5': return set({ 5, 1, 6, 4, 7 });
    case '6': return set({ 5, 1, 6, 4, 7, 2 });
    case '7': return set({ 5, 3, 4 });
    case '8': return set({ 1, 2, 3, 4, 5, 6, 7 });
    case '9': return set({ 1, 3, 4, 5, 6, 7 });
    default: return 0;
    }
}

namespace {

// A centre line and IndiWidth pairs of parallel lines, each one pixel shorter at both
// ends than the one inside it, so the segment ends in points. Pairs that would have no
// length left are not drawn.
void VSegment(TCanvas* c, int x, int ya, int yb, int w)
{
    c->MoveTo(x, ya);
    c->LineTo(x, yb);
    for (int e = 1; e <= w && ya + e < yb - e; ++e) {
        c->MoveTo(x - e, ya + e);
        c->LineTo(x - e, yb - e);
        c->MoveTo(x + e, ya + e);
        c->LineTo(x + e, yb - e);
    }
}

void HSegment(TCanvas* c, int xa, int xb, int y, int w)
{
    c->MoveTo(xa, y);
    c->LineTo(xb, y);
    for (int e = 1; e <= w && xa + e < xb - e; ++e) {
        c->MoveTo(xa + e, y - e);
        c->LineTo(xb - e, y - e);
        c->MoveTo(xa + e, y + e);
        c->LineTo(xb - e, y + e);
    }
}

} // namespace

void TepNumPanel::DrawNum(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, char Ch, int IndiWidth)
{
    const unsigned s = Segments(Ch);
    if (!s)
        return;
    X1 += IndiWidth + 1;
    Y1 += IndiWidth + 1;
    X2 -= IndiWidth + 1;
    Y2 -= IndiWidth + 1;
    const int mid = Y1 + (Y2 - Y1) / 2;
    const int w = IndiWidth;
    if (s & (1u << 1))
        VSegment(Canvas, X1, Y1 + 1, mid, w);
    if (s & (1u << 2))
        VSegment(Canvas, X1, mid + 1, Y2 - 1, w);
    if (s & (1u << 3))
        VSegment(Canvas, X2, Y1 + 1, mid, w);
    if (s & (1u << 4))
        VSegment(Canvas, X2, mid + 1, Y2 - 1, w);
    if (s & (1u << 5))
        HSegment(Canvas, X1 + 2, X2 - 1, Y1, w);
    if (s & (1u << 6))
        HSegment(Canvas, X1 + 2, X2 - 1, mid, w);
    if (s & (1u << 7))
        HSegment(Canvas, X1 + 1, X2, Y2, w);
}

// Dim eights in every position, then the value right-aligned over them; a number longer
// than the positions runs off the left edge.
void TepNumPanel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face || FCountNums <= 0)
        return;
    TCanvas* c = face->Canvas();
    const int w = (Width() - 2) / FCountNums, H = Height();
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FUnActiveColor);
    for (int i = 0; i < FCountNums; ++i)
        DrawNum(c, i * w + 1, 1, i * w + w, H - 2, '8', FIndiWidth);
    if (!Enabled())
        return;
    const std::string text = std::to_string(FValue);
    c->Pen()->SetColor(FIndiColor);
    const int n = int(text.size());
    for (int k = 0; k < n; ++k) {
        const int i = FCountNums - n + k;
        if (i < 0)
            continue;
        DrawNum(c, i * w + 1, 1, i * w + w, H - 2, text[size_t(k)], FIndiWidth);
    }
}

TepIndiGauge::TepIndiGauge(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 100, 20);
    SetColor(TColor(0));
}

void TepIndiGauge::SetIndiNums(uint8_t Value) { FIndiNums = Value; XPaint(); }
void TepIndiGauge::SetKind(TGaugeKind Value) { FKind = Value; XPaint(); }
void TepIndiGauge::SetOffsetIndi(uint8_t Value) { FIndiOffset = Value; XPaint(); }
void TepIndiGauge::SetIndiColor(TColor Value) { FIndiColor = Value; XPaint(); }
void TepIndiGauge::SetUnNormalIndiColor(TColor Value) { FUnNormalIndiColor = Value; XPaint(); }
void TepIndiGauge::SetNormalValue(int Value) { FNormalValue = Value; XPaint(); }
void TepIndiGauge::SetUnActiveColor(TColor Value) { FUnActiveColor = Value; XPaint(); }

void TepIndiGauge::SetMinValue(int Value)
{
    if (Value == FMinValue)
        return;
    FMinValue = Value;
    if (FProgress < Value)
        FProgress = Value;
    XPaint();
}

void TepIndiGauge::SetMaxValue(int Value)
{
    if (Value == FMaxValue)
        return;
    FMaxValue = Value;
    if (FProgress > Value)
        FProgress = Value;
    XPaint();
}

void TepIndiGauge::SetProgress(int Value)
{
    Value = std::max(std::min(Value, FMaxValue), FMinValue);
    if (Value == FProgress)
        return;
    const int before = LitCells();
    FProgress = Value;
    if (LitCells() != before)
        XPaint();
}

int TepIndiGauge::GetPercent() const { return GaugePercent(FProgress, FMinValue, FMaxValue); }

int TepIndiGauge::LitCells() const
{
    const int lit = int(FIndiNums) * (GetPercent() % 256) / 100;
    return std::clamp(lit, 0, int(FIndiNums));
}

// The mark is clamped into the bar before it is used: a normal value below the range
// makes every lit cell "beyond normal", one above it none.
int TepIndiGauge::NormalCells() const
{
    if (FMaxValue == FMinValue)
        return FIndiNums;
    const double part = (double(FNormalValue) - double(FMinValue))
        / (double(FMaxValue) - double(FMinValue)) * double(FIndiNums);
    return int(std::clamp(std::trunc(part), 0.0, double(FIndiNums)));
}

TColor TepIndiGauge::CellColor(int I) const
{
    const int lit = LitCells(), normal = NormalCells();
    if (I <= std::min(lit, normal))
        return FIndiColor;
    if (I > normal && I <= lit)
        return FUnNormalIndiColor;
    return FUnActiveColor;
}

void TepIndiGauge::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face || FIndiNums == 0)
        return;
    TCanvas* c = face->Canvas();
    c->Brush()->SetStyle(bsSolid);
    const int N = FIndiNums, off = FIndiOffset, W = Width(), H = Height();
    if (FKind == gkHorizontalBar) {
        const int cw = W / N;
        for (int i = 1, x = off; i <= N; ++i, x += cw) {
            c->Brush()->SetColor(CellColor(i));
            c->FillRect(Rect(x, off, x + cw - off, H - off));
        }
    } else {
        const int ch = H / N;
        for (int i = 1, y = H - off; i <= N; ++i, y -= ch) {
            c->Brush()->SetColor(CellColor(i));
            c->FillRect(Rect(off, y - ch + off, W - off, y));
        }
    }
}

BEGIN_PROPERTIES(TepIndiButton, TEffectGControl)
    .Reference("ClickSound", &TepIndiButton::ClickSound, &TepIndiButton::SetClickSound)
    .Reference("ActiveSound", &TepIndiButton::ActiveSound, &TepIndiButton::SetActiveSound)
    .Color("UnActiveColor", &TepIndiButton::UnActiveColor, &TepIndiButton::SetUnActiveColor)
    .Color("FrameColor", &TepIndiButton::FrameColor, &TepIndiButton::SetFrameColor)
END_PROPERTIES

BEGIN_PROPERTIES(TepNumPanel, TEffectGControl)
    .Int("CountNums", &TepNumPanel::CountNums, &TepNumPanel::SetCountNums)
    .Int("Value", &TepNumPanel::Value, &TepNumPanel::SetValue)
    .Int("IndiWidth", &TepNumPanel::IndiWidth, &TepNumPanel::SetIndiWidth)
    .Color("IndiColor", &TepNumPanel::IndiColor, &TepNumPanel::SetIndiColor)
    .Color("UnActiveColor", &TepNumPanel::UnActiveColor, &TepNumPanel::SetUnActiveColor)
END_PROPERTIES

BEGIN_PROPERTIES(TepIndiGauge, TEffectGControl)
    .Color("UnActiveColor", &TepIndiGauge::UnActiveColor, &TepIndiGauge::SetUnActiveColor)
    .Color("UnNormalIndiColor", &TepIndiGauge::UnNormalIndiColor, &TepIndiGauge::SetUnNormalIndiColor)
    .Int("NormalValue", &TepIndiGauge::NormalValue, &TepIndiGauge::SetNormalValue)
    .Color("IndiColor", &TepIndiGauge::IndiColor, &TepIndiGauge::SetIndiColor)
    .Int("IndiOffset", &TepIndiGauge::IndiOffset, &TepIndiGauge::SetOffsetIndi)
    .Int("IndiNums", &TepIndiGauge::IndiNums, &TepIndiGauge::SetIndiNums)
    .Enum("Kind", &TepIndiGauge::Kind, &TepIndiGauge::SetKind,
        { "gkHorizontalBar", "gkVerticalBar" }).Default(gkHorizontalBar)
    .Int("MinValue", &TepIndiGauge::MinValue, &TepIndiGauge::SetMinValue).Default(0)
    .Int("MaxValue", &TepIndiGauge::MaxValue, &TepIndiGauge::SetMaxValue).Default(100)
    .Int("Progress", &TepIndiGauge::Progress, &TepIndiGauge::SetProgress)
END_PROPERTIES
