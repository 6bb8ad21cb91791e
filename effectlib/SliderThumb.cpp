// The bitmap slider's thumb window: its image, states, shape and painting.
#include "effectlib/Bmputils.h"
#include "effectlib/Bmslider.h"
#include "framework/graphics/Bitmap.h"
#include "framework/core/TypInfo.h"

TSliderThumb::TSliderThumb(TComponent* AOwner)
    : TCustomControl(AOwner)
    , FBitmap(std::make_unique<TBitmap>())
{
    FControlStyle = csCaptureMouse | csOpaque;
}

TSliderThumb::~TSliderThumb() = default;

void TSliderThumb::SetBitmap(TBitmap* Value)
{
    if (Value != FBitmap.get())
        FBitmap->Assign(Value);
    AdjustBounds();
}

void TSliderThumb::SetDown(bool Value)
{
    if (Value == FDown)
        return;
    FDown = Value;
    Invalidate();
}

void TSliderThumb::SetNumStates(int Value)
{
    if (Value < 1 || Value > 2 || Value == FNumStates)
        return;
    FNumStates = Value;
    AdjustBounds();
}

void TSliderThumb::SetTransparent(bool Value)
{
    FTransparent = Value;
    AdjustBounds();
}

// The shape is built from the first state only; with two states that is the left half.
void TSliderThumb::AdjustBounds()
{
    if (FBitmap->Empty())
        return;
    const int w = FBitmap->Width() / FNumStates, h = FBitmap->Height();
    SetBounds(Left(), Top(), w, h);
    if (!FTransparent || w == 0) {
        SetWindowRgn(nullptr, true);
        return;
    }
    TBitmap half;
    TBitmap* source = FBitmap.get();
    if (FNumStates > 1) {
        half.SetSize(w, h);
        half.Canvas()->CopyRect(Rect(0, 0, w, h), FBitmap->Canvas(), Rect(0, 0, w, h));
        source = &half;
    }
    std::vector<uint8_t> data;
    CreateRFromBmp(source, data);
    plat::Region shape = ExtCreateRegion(data);
    SetWindowRgn(&shape, true);
}

void TSliderThumb::Paint()
{
    if (FNumStates >= 2)
        PaintGlyph(Canvas(), 0, 0, FBitmap.get(), FDown ? 2 : 1, 2);
    else
        PaintGlyph(Canvas(), 0, 0, FBitmap.get(), 1, 1);
}

BEGIN_PROPERTIES(TSliderThumb, TCustomControl)
END_PROPERTIES
