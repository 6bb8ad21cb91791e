#include "framework/graphics/Brush.h"
#include "framework/core/TypInfo.h"

void TBrush::Assign(TPersistent* Source)
{
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        FColor = b->FColor;
        FStyle = b->FStyle;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor value)
{
    if (value == FColor && FStyle == bsSolid)
        return;
    FColor = value;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

BEGIN_PROPERTIES(TBrush, TPersistent)
    .Color("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite)
    .Enum("Style", &TBrush::Style, &TBrush::SetStyle, { "bsSolid", "bsClear" }).Default(bsSolid)
END_PROPERTIES
