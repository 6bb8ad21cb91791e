// The effect control bases: the off-screen paint, the transparent background and the
// effect buffer, and the placement of a glyph and a caption.
#include "effectlib/VCLBase.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"

namespace {

// Sets a pointer for the length of a scope and clears it on every way out.
template <class T>
class TScopedPointer {
public:
    TScopedPointer(T*& slot, T* value)
        : FSlot(slot)
    {
        FSlot = value;
    }
    ~TScopedPointer() { FSlot = nullptr; }
    TScopedPointer(const TScopedPointer&) = delete;
    TScopedPointer& operator=(const TScopedPointer&) = delete;

private:
    T*& FSlot;
};

// The face starts as a fill in the control's colour, or as what lies beneath it; the
// descendant draws on it, and the finished picture reaches the screen in one copy. The
// extra column and row lie outside the control: only effects that sample past the face
// see them.
template <class C, class PaintFace>
void PaintOffScreen(C* control, TBitmap*& slot, TCanvas* target, bool transparent,
    PaintFace paintFace, void (C::*paintTransparent)())
{
    TBitmap bmp;
    bmp.SetSize(control->Width() + 1, control->Height() + 1);
    bmp.Canvas()->SetFont(control->Font());
    TScopedPointer<TBitmap> scope(slot, &bmp);
    if (transparent) {
        (control->*paintTransparent)();
    } else {
        bmp.Canvas()->Brush()->SetColor(control->Color());
        bmp.Canvas()->Brush()->SetStyle(bsSolid);
        bmp.Canvas()->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    }
    paintFace();
    target->Draw(0, 0, &bmp);
}

template <class C>
void FillWithParent(C* control, TBitmap* bmp)
{
    if (!bmp)
        return;
    TCanvas* canvas = bmp->Canvas();
    if (control->Parent()) {
        canvas->Brush()->SetColor(control->Parent()->Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(Rect(0, 0, control->Width(), control->Height()));
    }
    CopyParentImage(control, canvas);
}

template <class C>
void RunEffects(TBitmap* bmp, TEffectBmp*& slot, C* control, void (C::*paintEffects)())
{
    if (!bmp)
        return;
    TEffectBmp buffer(bmp);
    {
        TScopedPointer<TEffectBmp> scope(slot, &buffer);
        (control->*paintEffects)();
    }
    buffer.Draw(bmp->Canvas(), 0, 0);
}

} // namespace

TEffectGControl::TEffectGControl(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csOpaque;
}

TEffectGControl::~TEffectGControl() = default;

void TEffectGControl::SetTransparent(bool Value)
{
    FTransparent = Value;
    if (Value)
        FControlStyle &= ~csOpaque;
    else
        FControlStyle |= csOpaque;
    Repaint();
}

// csOpaque makes the framework paint this control directly, without invalidating and
// erasing the parent's area; a transparent control wears it for one repaint only.
void TEffectGControl::XPaint()
{
    if (FControlStyle & csOpaque) {
        Repaint();
        return;
    }
    FControlStyle |= csOpaque;
    try {
        Repaint();
    } catch (...) {
        FControlStyle &= ~csOpaque;
        throw;
    }
    FControlStyle &= ~csOpaque;
}

void TEffectGControl::Paint()
{
    PaintOffScreen(this, FBmp, Canvas(), FTransparent, [this] { PaintFace(); },
        &TEffectGControl::PaintTransparent);
}

void TEffectGControl::PaintTransparent() { FillWithParent(this, FBmp); }

void TEffectGControl::PaintEf() { RunEffects(FBmp, FEfBmp, this, &TEffectGControl::PaintEffects); }

// What lies beneath has changed.
void TEffectGControl::WMMove(TMessage& Message)
{
    TGraphicControl::WMMove(Message);
    if (FTransparent)
        Repaint();
}

TEffectCControl::TEffectCControl(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle |= csOpaque;
}

TEffectCControl::~TEffectCControl() = default;

void TEffectCControl::SetTransparent(bool Value)
{
    FTransparent = Value;
    Repaint();
}

void TEffectCControl::Paint()
{
    PaintOffScreen(this, FBmp, Canvas(), FTransparent, [this] { PaintFace(); },
        &TEffectCControl::PaintTransparent);
}

void TEffectCControl::PaintTransparent() { FillWithParent(this, FBmp); }

void TEffectCControl::PaintEf() { RunEffects(FBmp, FEfBmp, this, &TEffectCControl::PaintEffects); }

void TEffectCControl::WMMove(TMessage& Message)
{
    TCustomControl::WMMove(Message);
    if (FTransparent)
        Repaint();
}

void TEffectCControl::WMEraseBkgnd(TMessage&) { }

void CalcLCoord(TLayout Layout, const TRect& Rect, int GlyphW, int GlyphH, int TextW,
    int TextH, int Spacing, int Margin, int& TextX, int& TextY, int& GlyphX, int& GlyphY)
{
    const int CX = Rect.Left + (Rect.Right - Rect.Left) / 2;
    const int CY = Rect.Top + (Rect.Bottom - Rect.Top) / 2;
    if (Margin == -1) {
        const int HW = (TextW + GlyphW + Spacing) / 2;
        const int HH = (TextH + GlyphH + Spacing) / 2;
        switch (Layout) {
        case blGlyphLeft:
            GlyphX = CX - HW;
            GlyphY = CY - GlyphH / 2;
            TextX = CX + HW - TextW;
            TextY = CY - TextH / 2;
            break;
        case blGlyphRight:
            GlyphX = CX + HW - GlyphW;
            GlyphY = CY - GlyphH / 2;
            TextX = CX - HW;
            TextY = CY - TextH / 2;
            break;
        case blGlyphTop:
            GlyphX = CX - GlyphW / 2;
            GlyphY = CY - HH;
            TextX = CX - TextW / 2;
            TextY = CY + HH - TextH;
            break;
        case blGlyphBottom:
            GlyphX = CX - GlyphW / 2;
            GlyphY = CY + HH - GlyphH;
            TextX = CX - TextW / 2;
            TextY = CY - HH;
            break;
        }
        return;
    }
    switch (Layout) {
    case blGlyphLeft:
        GlyphX = Rect.Left + Margin;
        GlyphY = CY - GlyphH / 2;
        TextX = GlyphX + GlyphW + Spacing;
        TextY = CY - TextH / 2;
        break;
    case blGlyphRight:
        GlyphX = Rect.Right - GlyphW - Margin;
        GlyphY = CY - GlyphH / 2;
        TextX = GlyphX - Spacing - TextW;
        TextY = CY - TextH / 2;
        break;
    case blGlyphTop:
        GlyphX = CX - GlyphW / 2;
        GlyphY = Rect.Top + Margin;
        TextX = CX - TextW / 2;
        TextY = GlyphY + GlyphH + Spacing;
        break;
    case blGlyphBottom:
        GlyphX = CX - GlyphW / 2;
        GlyphY = Rect.Bottom - GlyphH - Margin;
        TextX = CX - TextW / 2;
        TextY = GlyphY - Spacing - TextH;
        break;
    }
}

BEGIN_PROPERTIES(TEffectGControl, TGraphicControl)
    .Bool("Transparent", &TEffectGControl::Transparent, &TEffectGControl::SetTransparent)
END_PROPERTIES

BEGIN_PROPERTIES(TEffectCControl, TCustomControl)
    .Bool("Transparent", &TEffectCControl::Transparent, &TEffectCControl::SetTransparent)
END_PROPERTIES
