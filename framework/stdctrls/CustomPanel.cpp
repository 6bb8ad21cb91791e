#include "framework/stdctrls/CustomPanel.h"

#include "framework/core/TypInfo.h"

TCustomPanel::TCustomPanel(TComponent* AOwner)
    : TCustomControl(AOwner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption
        | csOpaque | csDoubleClicks | csReplicatable;
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::Changed(bool realign)
{
    if (realign)
        Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Changed(false);
}

void TCustomPanel::SetBevelInner(TPanelBevel value)
{
    if (value == FBevelInner)
        return;
    FBevelInner = value;
    Changed(true);
}

void TCustomPanel::SetBevelOuter(TPanelBevel value)
{
    if (value == FBevelOuter)
        return;
    FBevelOuter = value;
    Changed(true);
}

void TCustomPanel::SetBevelWidth(int value)
{
    value = std::max(value, 1);
    if (value == FBevelWidth)
        return;
    FBevelWidth = value;
    Changed(true);
}

void TCustomPanel::SetBorderWidth(int value)
{
    value = std::max(value, 0);
    if (value == FBorderWidth)
        return;
    FBorderWidth = value;
    Changed(true);
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    Changed(true);
}

// Children are laid out inside the single border line, the bevels and the border.
void TCustomPanel::AdjustClientRect(TRect& r) const
{
    int64_t inset = FBorderWidth;
    if (FBorderStyle == bsSingle)
        ++inset;
    if (FBevelOuter != bvNone)
        inset += FBevelWidth;
    if (FBevelInner != bvNone)
        inset += FBevelWidth;
    InsetRect(r, inset);
}

void TCustomPanel::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomPanel::WMSize(TMessage& Message)
{
    TCustomControl::WMSize(Message);
    if (FFullRepaint)
        Invalidate();
}

// From the outside in: a single line (bsSingle), the outer bevel, the border in Color,
// the inner bevel, then the face and the caption, centred vertically.
void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (FBorderStyle == bsSingle)
        Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvNone)
            return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace)
            top = bottom = Color();
        Frame3D(c, r, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    bevel(FBevelInner);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (Caption().empty())
        return;
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    int h = c->TextHeight("W");
    r.Top = (r.Bottom + r.Top - h) / 2;
    r.Bottom = r.Top + h;
    uint32_t align = FAlignment == taCenter ? DT_CENTER
        : FAlignment == taRightJustify      ? DT_RIGHT
                                            : DT_LEFT;
    DrawText(c, Caption(), r, DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | align);
    c->Brush()->SetStyle(bsSolid);
}

namespace {
const std::vector<std::string> AlignmentNames = { "taLeftJustify", "taRightJustify", "taCenter" };
const std::vector<std::string> BevelCutNames = { "bvNone", "bvLowered", "bvRaised", "bvSpace" };
} // namespace

// A panel is constructed with its own colour, so ParentColor starts False and is stored
// when True.
BEGIN_PROPERTIES(TCustomPanel, TCustomControl)
    .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
    .Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, AlignmentNames)
        .Default(taCenter)
    .Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, BevelCutNames)
        .Default(bvNone)
    .Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, BevelCutNames)
        .Default(bvRaised)
    .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1)
    .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0)
    .Enum("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle,
        BorderStyleNames()).Default(bsNone)
    .Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true)
    .Bool("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked).Default(false)
END_PROPERTIES
BEGIN_PROPERTIES(TPanel, TCustomPanel)
END_PROPERTIES
