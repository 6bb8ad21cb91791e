// The bitmap slider's looks: the ruler built from its image, the layout, the face and ticks.
#include "effectlib/Bmputils.h"
#include "effectlib/Bmslider.h"
#include "effectlib/Grutils.h"
#include "framework/graphics/Bitmap.h"

#include <algorithm>

// ---- The ruler and the layout -------------------------------------------------------------

// The ruler is the leading edge of its image, the image's middle repeated, and the
// trailing edge ending exactly at the far end; a ruler shorter than its image is the
// image's start, cut off. A middle of no length cannot repeat: the image is then copied
// once from its start.
void TepBMPSlider::BuildRuler()
{
    const bool h = Horizontal();
    TBitmap* S = GetImage(h ? siHRuler : siVRuler);
    auto R = std::make_unique<TBitmap>();
    R->SetPixelFormat(pf24bit);
    if (h)
        R->SetSize(std::max(Width() - 2 * Margin, 0), S->Height());
    else
        R->SetSize(S->Width(), std::max(Height() - 2 * Margin, 0));
    const int64_t E = FEdgeSize;
    const int64_t SL = h ? S->Width() : S->Height();
    const int64_t L = (h ? R->Width() : R->Height()) - 2 * E;
    const int64_t M = SL - 2 * E;
    auto copy = [&](int64_t dest, int64_t length, int64_t source) {
        if (length <= 0)
            return;
        TRect d = h ? Rect(int(dest), 0, int(dest + length), R->Height())
                    : Rect(0, int(dest), R->Width(), int(dest + length));
        TRect s = h ? Rect(int(source), 0, int(source + length), S->Height())
                    : Rect(0, int(source), S->Width(), int(source + length));
        R->Canvas()->CopyRect(d, S->Canvas(), s);
    };
    if (!S->Empty() && !R->Empty()) {
        if (M <= 0) {
            copy(0, SL, 0);
        } else {
            const int64_t n = L / M + 1, rem = L % M;
            for (int64_t i = 0; i < n; ++i) {
                if (i == 0)
                    copy(0, SL - E, 0);
                else if (i < n - 1)
                    copy(E + i * M, M, E);
                else
                    copy(E + i * M, E + rem, E + M - rem);
            }
        }
    }
    FRuler = std::move(R);
}

void TepBMPSlider::AdjustElements()
{
    if (!FThumb)
        return;
    const int saved = FValue;
    BuildRuler();
    const int tw = FThumb->Width(), th = FThumb->Height();
    const int rw = FRuler->Width(), rh = FRuler->Height();
    if (Horizontal()) {
        if (rh < th) {
            FThumb->SetBounds(Margin, Margin, tw, th);
            FRulerPos = { Margin, (th - rh) / 2 + Margin };
            FPointsRect = Rect(FRulerPos.X, th + 7, FRulerPos.X + rw, Height() - 1);
        } else {
            FThumb->SetBounds(Margin, (rh - th) / 2 + Margin, tw, th);
            FRulerPos = { Margin, Margin };
            FPointsRect = Rect(FRulerPos.X, rh + 7, FRulerPos.X + rw, Height() - 1);
        }
    } else {
        if (rw < tw) {
            FThumb->SetBounds(Margin, Margin, tw, th);
            FRulerPos = { (tw - rw) / 2 + Margin, Margin };
            FPointsRect = Rect(tw + 7, FRulerPos.Y, Width() - 1, FRulerPos.Y + rh);
        } else {
            FThumb->SetBounds((rw - tw) / 2 + Margin, Margin, tw, th);
            FRulerPos = { Margin, Margin };
            FPointsRect = Rect(rw + 7, FRulerPos.Y, Width() - 1, FRulerPos.Y + rh);
        }
    }
    SetValue64(saved);
}

void TepBMPSlider::ImageChanged()
{
    if (!FThumb)
        return;
    AdjustElements();
    Invalidate();
}

void TepBMPSlider::WMSize(TMessage& Message)
{
    TEffectCControl::WMSize(Message);
    if (!HasState(csReading))
        ImageChanged();
}

void TepBMPSlider::WMEraseBkgnd(TMessage& Message)
{
    if (!Transparent())
        TCustomControl::WMEraseBkgnd(Message);
    else
        Message.Result = 1;
}

// ---- Painting ---------------------------------------------------------------------------

TCanvas* TepBMPSlider::PaintCanvas() const { return Bmp() ? Bmp()->Canvas() : nullptr; }

void TepBMPSlider::PaintFace()
{
    TCanvas* c = Bmp()->Canvas();
    if (!FRuler->Empty())
        DrawBitmapTransparent(c, FRulerPos.X, FRulerPos.Y, FRuler.get(),
            GetTransparentColor(FRuler.get()));
    if (HasOption(soShowFocus) && FHasFocus && !HasState(csDesigning)) {
        if (FUseFocusFrame)
            Frm3D(c, ClientRect(), FFocusInnerColor, FFocusOuterColor, 1);
        else
            c->DrawFocusRect(ClientRect());
    }
    if (HasOption(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DefaultDrawPoints(FIncrement, 3, 4);
    }
}

// The first multiple k of Step whose marks lie at least 3 pixels apart, or that leaves a
// single mark. Fewer marks never bring them closer, so the first one is found by halving.
int64_t TepBMPSlider::TickMultiple(int64_t Step, int RL) const
{
    const int64_t range = int64_t(FMaxValue) - FMinValue;
    auto fits = [&](int64_t k) {
        int64_t n = (range > 0 ? range : 0) / (k * Step) + 1;
        if (n <= 1)
            return true;
        return (RL - n) / (n - 1) >= 3;
    };
    int64_t lo = 1, hi = std::max<int64_t>(1, (range > 0 ? range : 0) / Step + 1);
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        if (fits(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Each mark is a line of s pixels across the axis, centred on the thumb's centre for its
// value; MaxValue has a mark only when it falls on the spacing. A mark stands where the
// thumb would, inside its travel: a thumb longer than the ruler has no travel, and every
// mark then stands at the ruler's start rather than before it.
void TepBMPSlider::DefaultDrawPoints(int Step, int Size, int EndSize)
{
    TCanvas* c = PaintCanvas();
    if (!c || Step <= 0)
        return;
    const int RL = GetRulerLength();
    const int64_t spacing = TickMultiple(Step, RL) * Step;
    c->Pen()->SetColor(FPointsColor);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    const TRect& pr = FPointsRect;
    const int64_t travelEnd = std::max<int64_t>(Margin, int64_t(RL) + Margin);
    for (int64_t v = FMinValue; v <= FMaxValue; v += spacing) {
        const int s = (v == FMinValue || v == FMaxValue) ? EndSize : Size;
        const int o = int(std::clamp<int64_t>(GetOffsetByValue(int(v)), Margin, travelEnd));
        if (Horizontal()) {
            int x = o + FThumb->Width() / 2;
            int y = pr.Top + pr.Height() / 2 - s / 2;
            c->Rectangle(x, y, x + 1, y + s);
        } else {
            int x = pr.Left + pr.Width() / 2 - s / 2;
            int y = o + FThumb->Height() / 2;
            c->Rectangle(x, y, x + s, y + 1);
        }
    }
}
