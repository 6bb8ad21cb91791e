#include "framework/graphics/Pen.h"
#include "framework/core/TypInfo.h"

#include <algorithm>

void TPen::Assign(TPersistent* Source)
{
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        FColor = p->FColor;
        FWidth = p->FWidth;
        FStyle = p->FStyle;
        FMode = p->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    value = std::max(value, 1);
    if (value == FWidth)
        return;
    FWidth = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == FMode)
        return;
    FMode = value;
    Changed();
}

BEGIN_PROPERTIES(TPen, TPersistent)
    .Color("Color", &TPen::Color, &TPen::SetColor).Default(clBlack)
    .Enum("Mode", &TPen::Mode, &TPen::SetMode, { "pmBlack", "pmWhite", "pmNot", "pmCopy",
        "pmXor", "pmNotXor" }).Default(pmCopy)
    .Enum("Style", &TPen::Style, &TPen::SetStyle, { "psSolid", "psDash", "psDot", "psDashDot",
        "psDashDotDot", "psClear", "psInsideFrame" }).Default(psSolid)
    .Int("Width", &TPen::Width, &TPen::SetWidth).Default(1)
END_PROPERTIES
