#include "framework/stdctrls/PaintBox.h"
#include "framework/core/TypInfo.h"

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

BEGIN_PROPERTIES(TPaintBox, TGraphicControl)
    .Event("OnPaint", &TPaintBox::OnPaint)
END_PROPERTIES
