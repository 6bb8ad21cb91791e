// The library's bevel, image and image panel.
#include "effectlib/EPCtrls.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Grutils.h"
#include "effectlib/Medialib.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

namespace {

void Line(TCanvas* c, TColor color, int x1, int y1, int x2, int y2)
{
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

// Tiles the graphic from (0, 0): columns 0 .. W / width, rows 0 .. H / height.
void TileFromOrigin(TCanvas* c, TGraphic* g, int W, int H)
{
    const int gw = g->Width(), gh = g->Height();
    if (gw <= 0 || gh <= 0)
        return;
    for (int x = 0; x <= W / gw; ++x)
        for (int y = 0; y <= H / gh; ++y)
            c->Draw(x * gw, y * gh, g);
}

} // namespace

// ---- TepBevel -------------------------------------------------------------------------

TepBevel::TepBevel(TComponent* AOwner)
    : TGraphicControl(AOwner)
{
    FControlStyle |= csReplicatable;
    SetBounds(Left(), Top(), 50, 50);
}

void TepBevel::SetInnerColor(TColor Value)
{
    FInnerColor = Value;
    Invalidate();
}

void TepBevel::SetOuterColor(TColor Value)
{
    FOuterColor = Value;
    Invalidate();
}

void TepBevel::SetShape(TepBevelShape Value)
{
    if (Value == FShape)
        return;
    FShape = Value;
    Invalidate();
}

void TepBevel::SetStyle(TepBevelStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Invalidate();
}

void TepBevel::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    TColor c1 = FStyle == epctrls::bsLowered ? FOuterColor : FInnerColor;
    TColor c2 = FStyle == epctrls::bsLowered ? FInnerColor : FOuterColor;
    auto bevelRect = [&](const TRect& r) {
        c->Pen()->SetColor(c1);
        const TPoint upper[] = { { r.Left, r.Bottom }, { r.Left, r.Top }, { r.Right, r.Top } };
        c->Polyline(upper);
        c->Pen()->SetColor(c2);
        const TPoint lower[] = { { r.Right, r.Top }, { r.Right, r.Bottom }, { r.Left, r.Bottom } };
        c->Polyline(lower);
    };
    const int W = Width(), H = Height();
    switch (FShape) {
    case epctrls::bsBox:
        bevelRect(Rect(0, 0, W - 1, H - 1));
        break;
    case epctrls::bsFrame: {
        const TColor dark = c1;
        c1 = c2;
        bevelRect(Rect(1, 1, W - 1, H - 1));
        c1 = c2 = dark;
        bevelRect(Rect(0, 0, W - 2, H - 2));
        break;
    }
    case epctrls::bsTopLine:
        Line(c, c1, 0, 0, W, 0);
        Line(c, c2, 0, 1, W, 1);
        break;
    case epctrls::bsBottomLine:
        Line(c, c1, 0, H - 2, W, H - 2);
        Line(c, c2, 0, H - 1, W, H - 1);
        break;
    case epctrls::bsLeftLine:
        Line(c, c1, 0, 0, 0, H);
        Line(c, c2, 1, 0, 1, H);
        break;
    case epctrls::bsRightLine:
        Line(c, c1, W - 2, 0, W - 2, H);
        Line(c, c2, W - 1, 0, W - 1, H);
        break;
    }
}

// ---- TepImage -------------------------------------------------------------------------

TepImage::TepImage(TComponent* AOwner)
    : TGraphicControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 50, 50);
}

TepImage::~TepImage() = default;

void TepImage::SetGlyphTransparent(bool Value)
{
    FGlyphTransparent = Value;
    Invalidate();
}

void TepImage::SetWallStyle(bool Value)
{
    FWallStyle = Value;
    Invalidate();
}

void TepImage::SetStretch(bool Value)
{
    FStretch = Value;
    Invalidate();
}

void TepImage::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    Invalidate();
}

// A stretched keyed glyph takes only the part that fits the control, so a glyph larger
// than the control is cropped rather than shrunk.
void TepImage::Paint()
{
    if (FGlyph->Empty())
        return;
    TCanvas* c = Canvas();
    const int W = Width(), H = Height();
    if (FWallStyle)
        TileFromOrigin(c, FGlyph.get(), W, H);
    else if (FStretch && FGlyphTransparent)
        StretchBitmapRectTransparent(c, 0, 0, W, H, Rect(0, 0, W, H), FGlyph.get(),
            GetTransparentColor(FGlyph.get()));
    else if (FStretch)
        c->StretchDraw(Rect(0, 0, W, H), FGlyph.get());
    else if (FGlyphTransparent)
        DrawBitmapTransparent(c, 0, 0, FGlyph.get(), GetTransparentColor(FGlyph.get()));
    else
        c->Draw(0, 0, FGlyph.get());
}

// ---- TepImagePanel --------------------------------------------------------------------

void DrawPanelCaption(TCanvas* Canvas, TRect R, const std::string& Caption, TFont* Font,
    TAlignment Alignment)
{
    if (Caption.empty())
        return;
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->SetFont(Font);
    const int h = Canvas->TextHeight("W");
    R.Top = (R.Top + R.Bottom - h) / 2;
    R.Bottom = R.Top + h;
    const uint32_t align = Alignment == taCenter ? DT_CENTER
        : Alignment == taRightJustify            ? DT_RIGHT
                                                 : DT_LEFT;
    DrawText(Canvas, Caption, R, align | DT_VCENTER | DT_EXPANDTABS);
    Canvas->Brush()->SetStyle(bsSolid);
}

TepImagePanel::TepImagePanel(TComponent* AOwner)
    : TCustomPanel(AOwner)
{
    SetBounds(Left(), Top(), 100, 100);
}

void TepImagePanel::SetBevelInnerColor(TColor Value)
{
    FBevelInnerColor = Value;
    Invalidate();
}

void TepImagePanel::SetBevelOuterColor(TColor Value)
{
    FBevelOuterColor = Value;
    Invalidate();
}

void TepImagePanel::SetWallpaper(TepBitmap* Value)
{
    SetReference(FWallpaper, Value);
    Invalidate();
}

void TepImagePanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
}

void TepImagePanel::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// A wallpaper picture of zero size paints nothing, not even the fill.
void TepImagePanel::Paint()
{
    TCanvas* c = Canvas();
    if (FWallpaper && FWallpaper->Graphic()) {
        TileFromOrigin(c, FWallpaper->Graphic(), Width(), Height());
    } else {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(ClientRect());
    }
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvLowered)
            Frm3D(c, r, FBevelOuterColor, FBevelInnerColor, BevelWidth());
        else if (cut == bvRaised)
            Frm3D(c, r, FBevelInnerColor, FBevelOuterColor, BevelWidth());
    };
    bevel(BevelOuter());
    if (BevelOuter() != bvNone)
        InsetRect(r, BorderWidth() + BevelWidth());
    bevel(BevelInner());
    DrawPanelCaption(c, r, Caption(), Font(), Alignment());
}

// ---- Published properties -------------------------------------------------------------

BEGIN_PROPERTIES(TepBevel, TGraphicControl)
    .Color("InnerColor", &TepBevel::InnerColor, &TepBevel::SetInnerColor)
    .Color("OuterColor", &TepBevel::OuterColor, &TepBevel::SetOuterColor)
    .Enum("Shape", &TepBevel::Shape, &TepBevel::SetShape,
        { "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine" })
        .Default(epctrls::bsBox)
    .Enum("Style", &TepBevel::Style, &TepBevel::SetStyle, { "bsLowered", "bsRaised" })
        .Default(epctrls::bsLowered)
END_PROPERTIES

BEGIN_PROPERTIES(TepImage, TGraphicControl)
    .Bool("GlyphTransparent", &TepImage::GlyphTransparent, &TepImage::SetGlyphTransparent)
    .Bool("WallStyle", &TepImage::WallStyle, &TepImage::SetWallStyle)
    .Bool("Stretch", &TepImage::Stretch, &TepImage::SetStretch)
    .Object("Glyph", &TepImage::Glyph)
END_PROPERTIES

BEGIN_PROPERTIES(TepImagePanel, TCustomPanel)
    .Color("BevelInnerColor", &TepImagePanel::BevelInnerColor, &TepImagePanel::SetBevelInnerColor)
    .Color("BevelOuterColor", &TepImagePanel::BevelOuterColor, &TepImagePanel::SetBevelOuterColor)
    .Reference("Wallpaper", &TepImagePanel::Wallpaper, &TepImagePanel::SetWallpaper)
END_PROPERTIES
