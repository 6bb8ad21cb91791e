#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "effectlib/mediabtn.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"

#include <algorithm>
#include <cstdint>

TepBlurButton::TepBlurButton(TComponent* AOwner)
    : TepRealTimeButton(AOwner)
{
}

TColor TepBlurButton::LightColor() const { return RGBChange(ColorToRGB(FColor), 70, 70, 70); }

TColor TepBlurButton::DarkColor() const { return RGBChange(ColorToRGB(FColor), -70, -70, -70); }

// At run time the faces stay as they were built after loading; only the designer sees
// changes at once.
void TepBlurButton::PropertyChanged()
{
    if (HasState(csDesigning) && !HasState(csLoading) && !HasState(csReading))
        CreateBitmaps();
    Invalidate();
}

void TepBlurButton::SetActiveTextColor(TColor Value)
{
    if (Value == FActiveTextColor)
        return;
    FActiveTextColor = Value;
    PropertyChanged();
}

void TepBlurButton::SetBevelWidht(int Value)
{
    if (Value == FBevelWidht)
        return;
    FBevelWidht = Value;
    PropertyChanged();
}

void TepBlurButton::SetBlur(bool Value)
{
    if (Value == FBlur)
        return;
    FBlur = Value;
    PropertyChanged();
}

void TepBlurButton::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    PropertyChanged();
}

void TepBlurButton::SetKind(TepKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    PropertyChanged();
}

void TepBlurButton::SetTextColor(TColor Value)
{
    if (Value == FTextColor)
        return;
    FTextColor = Value;
    PropertyChanged();
}

void TepBlurButton::WMSize(TMessage& Message)
{
    TepRealTimeButton::WMSize(Message);
    if (RebuildsAtOnce())
        CreateBitmaps();
}

// The plate of one face. Lines leave out their end points, so each bevel ring closes one
// pixel short of where the other colour begins.
void TepBlurButton::DrawPlate(TBitmap* Bmp, TColor UpperLeft, TColor LowerRight) const
{
    TCanvas* c = Bmp->Canvas();
    const int W = Bmp->Width(), H = Bmp->Height();
    // Rings past the plate's larger side lie wholly outside it (the ellipse's lower-right
    // outlines turn into ellipses about the top-left corner that stay clear of the plate
    // a few rings later), so the rings stop there whatever BevelWidht says. The rounded
    // plate's lines also start or end at BevelWidht: taken a few times past the rings,
    // it puts them beyond the plate just as any larger value does.
    const int reach = int(std::min<int64_t>(int64_t(std::max(W, H)) + 16, 1 << 24));
    const int rings = std::min(FBevelWidht, reach);
    const int BW = std::clamp(FBevelWidht, -4 * reach, 4 * reach);
    auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    c->Pen()->SetColor(clBlack);
    c->Rectangle(-1, -1, W + 1, H + 1);
    switch (FKind) {
    case bkRect:
        c->Rectangle(0, 0, W, H);
        c->Rectangle(1, 1, W - 1, H);
        for (int a = 2; a <= rings + 1; ++a) {
            line(UpperLeft, a, H - a, a, a);
            c->LineTo(W - a - 1, a);
            line(LowerRight, W - a - 1, a + 1, W - a - 1, H - a);
            c->LineTo(a, H - a);
        }
        break;
    case bkRoundRect:
        c->Brush()->SetStyle(bsClear);
        for (int a = 2; a <= rings + 1; ++a) {
            line(UpperLeft, a, H + a - BW - 2, a, BW);
            line(UpperLeft, BW, a, W - BW, a);
            line(LowerRight, W - a, a, W - a, H - a);
            c->LineTo(a, H - a);
        }
        c->Pen()->SetColor(clBlack);
        c->RoundRect(1, 1, W - 1, H, 6, 6);
        break;
    case bkEllipse:
        c->Brush()->SetStyle(bsClear);
        for (int a = 2; a <= rings + 1; ++a) {
            c->Pen()->SetColor(UpperLeft);
            c->RoundRect(a, a, W, H, H - 2 * a, H - 2 * a);
            c->RoundRect(a, a, W, H, H - a, H - a);
            c->Pen()->SetColor(LowerRight);
            c->RoundRect(1, 1, W - a + 1, H - a + 1, H - 2 * a, H - 2 * a);
            c->RoundRect(1, 1, W - a + 1, H - a + 1, H - a, H - a);
        }
        c->Pen()->SetColor(FColor);
        c->RoundRect(0, 0, W + 1, H + 1, H + 1, H + 1);
        c->Pen()->SetColor(clBlack);
        c->RoundRect(1, 1, W, H, H - 1, H - 1);
        break;
    }
}

// The plate is blurred before the caption is written, so the plate is soft and the text
// sharp.
std::unique_ptr<TBitmap> TepBlurButton::CreateOneBitmap(TBtnState State, bool Active)
{
    const int W = Width(), H = Height();
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(W, H);
    Canvas()->SetFont(Font());
    bmp->Canvas()->SetFont(Font());

    bool sunken = State == abPush;
    TColor light = LightColor(), dark = DarkColor();
    DrawPlate(bmp.get(), sunken ? dark : light, sunken ? light : dark);

    if (FBlur && W > 0 && H > 0) {
        TEffectBmp effect(bmp.get());
        effect.SplitBlur(1);
        effect.Draw(bmp->Canvas(), 0, 0);
    }

    TCanvas* c = bmp->Canvas();
    c->Font()->SetColor(Active ? FActiveTextColor : FTextColor);
    c->Brush()->SetStyle(bsClear);
    // An inset past the plate's larger side leaves no room either way.
    const int reach = int(std::min<int64_t>(int64_t(std::max(W, H)) + 1, 1 << 24));
    const int inset = std::clamp(FBevelWidht, -reach, reach);
    TRect r = Rect(0, 0, W, H);
    InflateRect(r, -inset, -inset);
    if (State == abPush)
        OffsetRect(r, 1, 1);
    DrawText(c, Caption(), r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return bmp;
}

BEGIN_PROPERTIES(TepBlurButton, TepRealTimeButton)
    .Color("ActiveTextColor", &TepBlurButton::ActiveTextColor, &TepBlurButton::SetActiveTextColor)
    .Int("BevelWidht", &TepBlurButton::BevelWidht, &TepBlurButton::SetBevelWidht)
    .Bool("Blur", &TepBlurButton::Blur, &TepBlurButton::SetBlur)
    .Color("Color", &TepBlurButton::Color, &TepBlurButton::SetColor)
    .Enum("Kind", &TepBlurButton::Kind, &TepBlurButton::SetKind,
        { "bkRect", "bkRoundRect", "bkEllipse" })
    .Color("TextColor", &TepBlurButton::TextColor, &TepBlurButton::SetTextColor)
END_PROPERTIES
