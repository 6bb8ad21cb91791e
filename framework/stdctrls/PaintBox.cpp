#include "framework/stdctrls/PaintBox.h"

TPaintBox::TPaintBox(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csReplicatable;
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    Canvas()->SetFont(Font());
    if (OnPaint)
        OnPaint(this);
}
