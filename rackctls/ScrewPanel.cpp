#include "rackctls/RackCtls.h"

#include "framework/core/TypInfo.h"

TScrewPanel::TScrewPanel(TComponent* AOwner)
    : TCustomPanel(AOwner)
{
    ContrastShades(FColor, 4, 5, FLightShade, FDarkShade);
    SetHeight(45);
    SetWidth(45);
}

void TScrewPanel::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    ContrastShades(FColor, 4, 5, FLightShade, FDarkShade);
    Invalidate();
}

void TScrewPanel::SetMargin(int value)
{
    if (value == FMargin || value >= Width() - FScrewSize || value >= Height() - FScrewSize)
        return;
    FMargin = value;
    Invalidate();
}

void TScrewPanel::SetScrewSize(int value)
{
    if (value < 1 || value > 8 || value == FScrewSize || value >= Width() || value >= Height())
        return;
    FScrewSize = TScrewSize(value);
    Invalidate();
}

void TScrewPanel::SetShowScrews(bool value)
{
    if (value == FShowScrews)
        return;
    FShowScrews = value;
    Invalidate();
}

TRect TScrewPanel::InnerRect() const
{
    TRect r = ClientRect();
    int64_t inset = BorderWidth();
    if (BevelOuter() != bvNone)
        inset += BevelWidth();
    InsetRect(r, inset);
    if (BevelInner() != bvNone)
        InsetRect(r, BevelWidth());
    return r;
}

// In 64 bits: a margin of any size puts the screws far off the panel, never wraps them
// back onto it.
std::array<TPoint, 4> TScrewPanel::ScrewOrigins() const
{
    TRect r = InnerRect();
    const int64_t m = FMargin, d = 4 * FScrewSize;
    auto at = [](int64_t x, int64_t y) {
        auto c = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN / 4, INT32_MAX / 4)); };
        return Point(c(x), c(y));
    };
    return { at(r.Left + m, r.Top + m), at(r.Right - m - d, r.Top + m),
        at(r.Left + m, r.Bottom - m - d), at(r.Right - m - d, r.Bottom - m - d) };
}

void TScrewPanel::Paint()
{
    TCanvas* c = Canvas();
    // The bevels set the pen width that the screws are drawn with; without a bevel the
    // screws take width 1, not whatever an earlier paint left behind.
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FColor);
    TRect R = ClientRect();
    c->FillRect(R);
    int64_t inset = BorderWidth();
    if (BevelOuter() != bvNone) {
        DrawBevel(c, R, BevelOuter() == bvRaised);
        inset += BevelWidth();
    }
    InsetRect(R, inset);
    if (BevelInner() != bvNone) {
        DrawBevel(c, R, BevelInner() == bvRaised);
        InsetRect(R, BevelWidth());
    }
    if (FShowScrews)
        for (const TPoint& p : ScrewOrigins())
            DrawScrew(c, p.X, p.Y);
    if (Caption().empty())
        return;
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    uint32_t align = Alignment() == taLeftJustify ? DT_LEFT
        : Alignment() == taRightJustify           ? DT_RIGHT
                                                  : DT_CENTER;
    DrawText(c, Caption(), R, DT_SINGLELINE | DT_VCENTER | align);
}

// Lowered and space bevels draw alike. The corner where both colours meet at the top
// right takes the second colour; with a one-pixel pen the bottom-left corner pixel is left
// to the face.
void TScrewPanel::DrawBevel(TCanvas* c, const TRect& R, bool raised)
{
    c->Pen()->SetWidth(BevelWidth());
    c->Pen()->SetColor(raised ? FLightShade : FDarkShade);
    c->MoveTo(R.Right - 1, R.Top);
    c->LineTo(R.Left, R.Top);
    c->LineTo(R.Left, R.Bottom - 1);
    c->Pen()->SetColor(raised ? FDarkShade : FLightShade);
    c->MoveTo(R.Right - 1, R.Top);
    c->LineTo(R.Right - 1, R.Bottom - 1);
    c->LineTo(R.Left, R.Bottom - 1);
}

// A silver head sunk into the plate: a dark rim on the upper left, a light one on the
// lower right, and a slot from lower left to upper right with its shadow and highlight.
void TScrewPanel::DrawScrew(TCanvas* c, int x, int y)
{
    const int s = FScrewSize, d = 4 * s;
    c->Pen()->SetColor(FDarkShade);
    c->Brush()->SetColor(clSilver);
    c->Ellipse(x, y, x + d, y + d);
    c->Arc(x, y, x + d, y + d, x + 3 * s, y + s, x + s, y + 3 * s);
    c->Pen()->SetColor(clGray);
    c->MoveTo(x + s - 1, y + 3 * s - 1);
    c->LineTo(x + 3 * s, y + s - 2);
    c->Pen()->SetColor(FLightShade);
    c->Arc(x, y, x + d, y + d, x + s, y + 3 * s, x + 3 * s, y + s);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(x + s, y + 3 * s);
    c->LineTo(x + 3 * s + 1, y + s - 1);
}

BEGIN_PROPERTIES(TScrewPanel, TCustomPanel)
    .Color("Color", &TScrewPanel::Color, &TScrewPanel::SetColor).Default(clBtnFace)
    .Int("Margin", &TScrewPanel::Margin, &TScrewPanel::SetMargin).Default(2)
    .Int("ScrewSize", &TScrewPanel::ScrewSize, &TScrewPanel::SetScrewSize).Default(2)
    .Bool("ShowScrews", &TScrewPanel::ShowScrews, &TScrewPanel::SetShowScrews).Default(true)
END_PROPERTIES
