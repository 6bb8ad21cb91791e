// The flat gauge and the soft gauge.
#include "effectlib/EPGauges.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const std::vector<std::string> GaugeKindNames { "gkHorizontalBar", "gkVerticalBar" };

int Clamp(int v, int lo, int hi) { return std::max(std::min(v, hi), lo); }

// Centred in the control, as both gauges place it.
TPoint TextAt(TCanvas* c, const std::string& text, int w, int h)
{
    return { w / 2 - c->TextWidth(text) / 2, h / 2 - c->TextHeight(text) / 2 };
}

} // namespace

int GaugePercent(int Progress, int MinValue, int MaxValue)
{
    if (MaxValue == MinValue)
        return 0;
    return int(std::trunc((double(Progress) - double(MinValue))
        / (double(MaxValue) - double(MinValue)) * 100.0));
}

TepGauge::TepGauge(TComponent* AOwner)
    : TEffectGControl(AOwner)
    , FProgressGlyph(std::make_unique<TBitmap>())
    , FScratch(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 100, 50);
}

TepGauge::~TepGauge() = default;

void TepGauge::SetFrameInnerColor(TColor Value) { FFrameInnerColor = Value; XPaint(); }
void TepGauge::SetFrameOuterColor(TColor Value) { FFrameOuterColor = Value; XPaint(); }
void TepGauge::SetBarInnerColor(TColor Value) { FBarInnerColor = Value; XPaint(); }
void TepGauge::SetBarOuterColor(TColor Value) { FBarOuterColor = Value; XPaint(); }
void TepGauge::SetUseGlyph(bool Value) { FUseGlyph = Value; XPaint(); }
void TepGauge::SetShowText(bool Value) { FShowText = Value; XPaint(); }
void TepGauge::SetBarColor(TColor Value) { FBarColor = Value; XPaint(); }

void TepGauge::SetProgressGlyph(TBitmap* Value)
{
    FProgressGlyph->Assign(Value);
    XPaint();
}

void TepGauge::SetKind(TGaugeKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    XPaint();
}

void TepGauge::SetMinValue(int M)
{
    if (M == FMinValue)
        return;
    FMinValue = M;
    if (FProgress < M)
        FProgress = M;
    XPaint();
}

void TepGauge::SetMaxValue(int M)
{
    if (M == FMaxValue)
        return;
    FMaxValue = M;
    if (FProgress > M)
        FProgress = M;
    XPaint();
}

void TepGauge::SetProgress(int P)
{
    P = Clamp(P, FMinValue, FMaxValue);
    if (P == FProgress)
        return;
    FProgress = P;
    GetPercent();
    XPaint();
}

void TepGauge::GetPercent()
{
    FPercent = GaugePercent(FProgress, FMinValue, FMaxValue);
    FBarWidth = (Width() - 2) * FPercent / 100;
    FBarHeight = (Height() - 2) * FPercent / 100;
}

TRect TepGauge::BarRect() const
{
    if (FKind == gkHorizontalBar)
        return FBarWidth >= 4 ? Rect(2, 2, FBarWidth, Height() - 2) : Rect(0, 0, 0, 0);
    return FBarHeight >= 4 ? Rect(2, Height() - FBarHeight, Width() - 2, Height() - 2)
                           : Rect(0, 0, 0, 0);
}

void TepGauge::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    GetPercent();
    PaintFrame(face->Canvas());
    PaintProgressFrame(face->Canvas());
    if (FShowText)
        PaintText(face->Canvas());
}

void TepGauge::PaintFrame(TCanvas* C)
{
    Frm3D(C, Rect(0, 0, Width(), Height()), FFrameInnerColor, FFrameOuterColor, 1);
    Frm3D(C, Rect(1, 1, Width() - 1, Height() - 1), FFrameOuterColor, FFrameInnerColor, 1);
}

void TepGauge::PaintProgressFrame(TCanvas* C)
{
    const TRect r = BarRect();
    if (r.Right <= r.Left && r.Bottom <= r.Top)
        return;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FBarColor);
    if (FUseGlyph)
        DrawGlyphInRect(C, r);
    else
        C->FillRect(r);
    Frm3D(C, r, FBarInnerColor, FBarOuterColor, 1);
}

// Copies of the glyph cover the rectangle from its top-left corner; the last row and
// column are cut off by the scratch bitmap.
void TepGauge::DrawGlyphInRect(TCanvas* C, const TRect& R)
{
    const int w = R.Right - R.Left, h = R.Bottom - R.Top;
    const int gw = FProgressGlyph->Width(), gh = FProgressGlyph->Height();
    if (w <= 0 || h <= 0)
        return;
    FScratch->SetSize(w, h);
    if (gw <= 0 || gh <= 0)
        return;
    for (int i = 0; i <= w / gw; ++i)
        for (int j = 0; j <= h / gh; ++j)
            FScratch->Canvas()->Draw(i * gw, j * gh, FProgressGlyph.get());
    C->Draw(R.Left, R.Top, FScratch.get());
}

void TepGauge::PaintText(TCanvas* C)
{
    const std::string text = std::to_string(FPercent) + "%";
    const TPoint at = TextAt(C, text, Width(), Height());
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(Font()->Color());
    C->TextOut(at.X, at.Y, text);
}

TepEffectGauge::TepEffectGauge(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csOpaque;
    SetBounds(Left(), Top(), 100, 50);
}

void TepEffectGauge::SetMinValue(int M)
{
    if (M == FMinValue)
        return;
    FMinValue = M;
    if (FProgress < M)
        FProgress = M;
    Repaint();
}

void TepEffectGauge::SetMaxValue(int M)
{
    if (M == FMaxValue)
        return;
    FMaxValue = M;
    if (FProgress > M)
        FProgress = M;
    Repaint();
}

void TepEffectGauge::SetProgress(int P)
{
    P = Clamp(P, FMinValue, FMaxValue);
    if (P == FProgress)
        return;
    FProgress = P;
    GetPercent();
    Repaint();
}

void TepEffectGauge::SetShowText(bool Value) { FShowText = Value; Repaint(); }
void TepEffectGauge::SetBarColor(TColor Value) { FBarColor = Value; Repaint(); }
void TepEffectGauge::SetBorderWidth(uint8_t Value) { FBorderWidth = Value; Repaint(); }
void TepEffectGauge::SetShadowOffset(uint8_t Value) { FShadowOffset = Value; Repaint(); }

void TepEffectGauge::SetKind(TGaugeKind Value)
{
    if (Value == FKind)
        return;
    FKind = Value;
    Repaint();
}

void TepEffectGauge::GetPercent()
{
    FPercent = GaugePercent(FProgress, FMinValue, FMaxValue);
    FBarWidth = FPercent * Width() / 100;
    FBarHeight = Height() * FPercent / 100 - 1;
}

TRect TepEffectGauge::BarRect() const
{
    if (FKind == gkHorizontalBar)
        return FBarWidth >= 2 * FBorderWidth ? Rect(0, 1, FBarWidth, Height()) : Rect(0, 0, 0, 0);
    return FBarHeight >= 2 * FBorderWidth ? Rect(0, Height() - FBarHeight, Width(), Height())
                                          : Rect(0, 0, 0, 0);
}

// The bar and a black copy of the text are blurred together; the sharp outline and the
// text in the font's colour go over them. An empty bar (0 %) draws nothing: a frame
// needs at least one pixel.
void TepEffectGauge::Paint()
{
    TBitmap bmp;
    bmp.SetSize(Width() + 10, Height());
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    GetPercent();
    const TColor light = RGBChange(ColorToRGB(FBarColor), 70, 70, 70);
    const TColor dark = RGBChange(ColorToRGB(FBarColor), -70, -70, -70);
    c->Brush()->SetColor(FBarColor);
    c->SetFont(Font());
    const std::string text = std::to_string(FPercent) + "%";
    const TPoint at = TextAt(c, text, Width(), Height());

    const TRect bar = BarRect();
    const bool hasBar = bar.Right > bar.Left && bar.Bottom > bar.Top;
    if (hasBar) {
        c->FillRect(bar);
        Frm3D(c, bar, light, dark, FBorderWidth);
    }
    if (FShowText) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(TColor(0));
        c->TextOut(at.X + FShadowOffset, at.Y + FShadowOffset, text);
    }
    TEffectBmp soft(&bmp);
    soft.SplitBlur(1);
    soft.Draw(c, 0, 0);
    if (hasBar) {
        const TRect outline = FKind == gkHorizontalBar ? Rect(0, 0, FBarWidth, Height())
                                                       : bar;
        Frm3D(c, outline, light, dark, 1);
    }
    if (FShowText) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(Font()->Color());
        c->TextOut(at.X, at.Y, text);
    }
    Canvas()->Draw(0, 0, &bmp);
}

BEGIN_PROPERTIES(TepGauge, TEffectGControl)
    .Color("FrameInnerColor", &TepGauge::FrameInnerColor, &TepGauge::SetFrameInnerColor)
    .Color("FrameOuterColor", &TepGauge::FrameOuterColor, &TepGauge::SetFrameOuterColor)
    .Color("BarInnerColor", &TepGauge::BarInnerColor, &TepGauge::SetBarInnerColor)
    .Color("BarOuterColor", &TepGauge::BarOuterColor, &TepGauge::SetBarOuterColor)
    .Bool("UseGlyph", &TepGauge::UseGlyph, &TepGauge::SetUseGlyph)
    .Object("ProgressGlyph", &TepGauge::ProgressGlyph)
    .Enum("Kind", &TepGauge::Kind, &TepGauge::SetKind, GaugeKindNames).Default(gkHorizontalBar)
    .Bool("ShowText", &TepGauge::ShowText, &TepGauge::SetShowText).Default(true)
    .Color("BarColor", &TepGauge::BarColor, &TepGauge::SetBarColor)
    .Int("MinValue", &TepGauge::MinValue, &TepGauge::SetMinValue).Default(0)
    .Int("MaxValue", &TepGauge::MaxValue, &TepGauge::SetMaxValue).Default(100)
    .Int("Progress", &TepGauge::Progress, &TepGauge::SetProgress)
END_PROPERTIES

BEGIN_PROPERTIES(TepEffectGauge, TGraphicControl)
    .Int("ShadowOffset", &TepEffectGauge::ShadowOffset, &TepEffectGauge::SetShadowOffset)
    .Int("BorderWidth", &TepEffectGauge::BorderWidth, &TepEffectGauge::SetBorderWidth)
    .Enum("Kind", &TepEffectGauge::Kind, &TepEffectGauge::SetKind, GaugeKindNames)
    .Bool("ShowText", &TepEffectGauge::ShowText, &TepEffectGauge::SetShowText)
    .Color("BarColor", &TepEffectGauge::BarColor, &TepEffectGauge::SetBarColor)
    .Int("MinValue", &TepEffectGauge::MinValue, &TepEffectGauge::SetMinValue)
    .Int("MaxValue", &TepEffectGauge::MaxValue, &TepEffectGauge::SetMaxValue)
    .Int("Progress", &TepEffectGauge::Progress, &TepEffectGauge::SetProgress)
END_PROPERTIES
