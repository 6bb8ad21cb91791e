// The library's round panels and the shadow panel.
#include "effectlib/EPCtrls.h"

#include "effectlib/Effbmp.h"
#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

#include <algorithm>
#include <vector>

namespace {

// Tiles the picture from (0, 0): columns 0 .. W / width, rows 0 .. H / height.
void TileFromOrigin(TCanvas* c, TGraphic* g, int W, int H)
{
    const int gw = g->Width(), gh = g->Height();
    if (gw <= 0 || gh <= 0)
        return;
    for (int x = 0; x <= W / gw; ++x)
        for (int y = 0; y <= H / gh; ++y)
            c->Draw(x * gw, y * gh, g);
}

// The colours of a bevel cut: lowered puts the outer colour upper left.
bool BevelColours(TPanelBevel cut, TColor inner, TColor outer, TColor& top, TColor& bottom)
{
    if (cut == bvLowered) {
        top = outer;
        bottom = inner;
        return true;
    }
    if (cut == bvRaised) {
        top = inner;
        bottom = outer;
        return true;
    }
    return false;
}

} // namespace

// ---- TepCustomRndPanel ----------------------------------------------------------------

TepCustomRndPanel::TepCustomRndPanel(TComponent* AOwner)
    : TCustomPanel(AOwner)
{
    SetBounds(Left(), Top(), 100, 100);
}

void TepCustomRndPanel::SetRadius(int Value)
{
    FRadius = Value;
    CreateR();
    Invalidate();
}

void TepCustomRndPanel::SetPanelKind(TPanelKind Value)
{
    FPanelKind = Value;
    CreateR();
    Invalidate();
}

void TepCustomRndPanel::SetBevelInnerColor(TColor Value)
{
    FBevelInnerColor = Value;
    Invalidate();
}

void TepCustomRndPanel::SetBevelOuterColor(TColor Value)
{
    FBevelOuterColor = Value;
    Invalidate();
}

plat::Region TepCustomRndPanel::ShapeRegion() const
{
    const int W = Width(), H = Height();
    if (FPanelKind == pkEllipse)
        return FigureRegion(W, H, [&](TCanvas* c) { c->Ellipse(0, 0, W + 1, H + 1); });
    const int d = 2 * FRadius;
    return FigureRegion(W, H, [&](TCanvas* c) { c->RoundRect(1, 1, W - 1, H - 1, d, d); });
}

void TepCustomRndPanel::CreateR()
{
    const plat::Region shape = ShapeRegion();
    SetWindowRgn(&shape, true);
}

void TepCustomRndPanel::WMSize(TMessage& Message)
{
    CreateR();
    TCustomPanel::WMSize(Message);
}

void TepCustomRndPanel::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TepCustomRndPanel::PaintBevels()
{
    TCanvas* c = Canvas();
    const int W = Width(), H = Height();
    TRect r = FPanelKind == pkEllipse ? Rect(0, 0, W, H) : Rect(1, 1, W - 2, H - 2);
    auto bevel = [&](TPanelBevel cut, int diameter) {
        TColor top, bottom;
        if (!BevelColours(cut, FBevelInnerColor, FBevelOuterColor, top, bottom))
            return;
        if (FPanelKind == pkEllipse)
            RndFrm3D(c, top, bottom, r, BevelWidth());
        else
            RndRectFrm3D(c, r, top, bottom, diameter, BevelWidth());
    };
    bevel(BevelOuter(), 2 * (FRadius - BorderWidth()));
    if (BevelOuter() != bvNone)
        InsetRect(r, BorderWidth() + BevelWidth());
    bevel(BevelInner(), 2 * FRadius);
    c->Pen()->SetWidth(1);
    DrawPanelCaption(c, r, Caption(), Font(), Alignment());
}

// ---- TepRndPanel ----------------------------------------------------------------------

TepRndPanel::TepRndPanel(TComponent* AOwner)
    : TepCustomRndPanel(AOwner)
{
}

void TepRndPanel::SetWallpaper(TepBitmap* Value)
{
    SetReference(FWallpaper, Value);
    Invalidate();
}

void TepRndPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TepCustomRndPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
}

void TepRndPanel::Paint()
{
    TCanvas* c = Canvas();
    if (FWallpaper && FWallpaper->Graphic()) {
        TileFromOrigin(c, FWallpaper->Graphic(), Width(), Height());
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(Rect(0, 0, Width(), Height()));
    }
    PaintBevels();
}

// ---- TepEffectRndPanel ----------------------------------------------------------------

TepEffectRndPanel::TepEffectRndPanel(TComponent* AOwner)
    : TepCustomRndPanel(AOwner)
    , FParentImage(std::make_unique<TBitmap>())
{
}

TepEffectRndPanel::~TepEffectRndPanel() = default;

void TepEffectRndPanel::SetMiddleTransparent(bool Value)
{
    FMiddleTransparent = Value;
    Invalidate();
}

void TepEffectRndPanel::SetNoise(bool Value)
{
    FNoise = Value;
    Invalidate();
}

void TepEffectRndPanel::CreatePI()
{
    FParentImage->SetSize(Width(), Height());
    TCanvas* c = FParentImage->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
    c->FillRect(Rect(0, 0, Width(), Height()));
    CopyParentImage1(this, c);
    if (!FMiddleTransparent && !FNoise)
        return;
    TEffectBmp e(FParentImage.get());
    if (FMiddleTransparent)
        e.AddMiddleColor(Color());
    if (FNoise)
        e.AddColorNoise(30);
    e.Draw(c, 0, 0);
}

void TepEffectRndPanel::InvalidatePanel()
{
    CreatePI();
    Invalidate();
}

void TepEffectRndPanel::WMEraseBkgnd(TMessage& Message)
{
    CreatePI();
    Message.Result = 1;
}

void TepEffectRndPanel::CMVisibleChanged(TMessage& Message)
{
    FParentImage->SetSize(0, 0);
    TepCustomRndPanel::CMVisibleChanged(Message);
}

// A paint that finds no parent image of the panel's size (no erase came first) builds one.
void TepEffectRndPanel::Paint()
{
    if (FParentImage->Width() != Width() || FParentImage->Height() != Height())
        CreatePI();
    Canvas()->Draw(0, 0, FParentImage.get());
    PaintBevels();
}

// ---- TepShadowPanel -------------------------------------------------------------------

TepShadowPanel::TepShadowPanel(TComponent* AOwner)
    : TCustomPanel(AOwner)
{
}

void TepShadowPanel::SetShadowWidth(int Value)
{
    FShadowWidth = Value;
    Realign();
    Invalidate();
}

void TepShadowPanel::SetShadowKind(TShadowKind Value)
{
    FShadowKind = Value;
    Realign();
    Invalidate();
}

void TepShadowPanel::SetBevelInnerColor(TColor Value)
{
    FBevelInnerColor = Value;
    Invalidate();
}

void TepShadowPanel::SetBevelOuterColor(TColor Value)
{
    FBevelOuterColor = Value;
    Invalidate();
}

void TepShadowPanel::SetWallpaper(TepBitmap* Value)
{
    SetReference(FWallpaper, Value);
    Invalidate();
}

void TepShadowPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FWallpaper) {
        FWallpaper = nullptr;
        Invalidate();
    }
}

void TepShadowPanel::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

int TepShadowPanel::UsedShadow() const
{
    return std::clamp(FShadowWidth, 0, std::max(0, std::min(Width(), Height())));
}

TRect TepShadowPanel::FaceRect() const
{
    const int W = Width(), H = Height(), s = UsedShadow();
    switch (FShadowKind) {
    case skLeftTop: return Rect(s, s, W, H);
    case skRightTop: return Rect(0, s, W - s, H);
    case skLeftBottom: return Rect(s, 0, W, H - s);
    case skRightBottom: break;
    }
    return Rect(0, 0, W - s, H - s);
}

TRect TepShadowPanel::StripA() const
{
    const int W = Width(), H = Height(), s = UsedShadow();
    switch (FShadowKind) {
    case skLeftTop: return Rect(s, 0, W - s, s);
    case skRightTop: return Rect(s, 0, W - s - 1, s);
    case skLeftBottom: return Rect(0, s, s, H - s - 1);
    case skRightBottom: break;
    }
    return Rect(s, H - s, W - s - 1, H);
}

TRect TepShadowPanel::StripB() const
{
    const int W = Width(), H = Height(), s = UsedShadow();
    switch (FShadowKind) {
    case skLeftTop: return Rect(0, 0, s - 1, H - s);
    case skRightTop: return Rect(W - s, 0, W, H - s);
    case skLeftBottom: return Rect(0, H - s, W - s, H);
    case skRightBottom: break;
    }
    return Rect(W - s, s, W, H);
}

void TepShadowPanel::AlignControls(TControl* AControl, TRect& r)
{
    r = FaceRect();
    TCustomPanel::AlignControls(AControl, r);
}

void TepShadowPanel::Paint()
{
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0)
        return;
    TBitmap work;
    work.SetSize(W + 1, H + 1);
    TCanvas* c = work.Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
    c->FillRect(Rect(0, 0, W, H));
    CopyParentImage1(this, c);
    if (UsedShadow() > 0) {
        TEffectBmp e(&work);
        e.AddMiddleColorInRect(clBlack, StripA());
        e.AddMiddleColorInRect(clBlack, StripB());
        e.Draw(c, 0, 0);
    }
    TRect f = FaceRect();
    if (FWallpaper && FWallpaper->HasPicture()) {
        TBitmap face;
        face.SetSize(f.Width(), f.Height());
        TileFromOrigin(face.Canvas(), FWallpaper->Graphic(), W, H);
        c->Draw(f.Left, f.Top, &face);
    } else {
        c->Brush()->SetColor(Color());
        c->FillRect(f);
    }
    auto bevel = [&](TPanelBevel cut) {
        TColor top, bottom;
        if (BevelColours(cut, FBevelInnerColor, FBevelOuterColor, top, bottom))
            Frm3D(c, f, top, bottom, BevelWidth());
    };
    bevel(BevelOuter());
    if (BevelOuter() != bvNone)
        InsetRect(f, BorderWidth() + BevelWidth());
    bevel(BevelInner());
    DrawPanelCaption(c, f, Caption(), Font(), Alignment());
    Canvas()->Draw(0, 0, &work);
}

// ---- Published properties -------------------------------------------------------------

namespace {
const std::vector<std::string> PanelKindNames = { "pkEllipse", "pkRndRect" };
const std::vector<std::string> ShadowKindNames = { "skLeftTop", "skRightTop", "skLeftBottom",
    "skRightBottom" };
} // namespace

BEGIN_PROPERTIES(TepCustomRndPanel, TCustomPanel)
END_PROPERTIES

BEGIN_PROPERTIES(TepRndPanel, TepCustomRndPanel)
    .Int("Radius", &TepRndPanel::Radius, &TepRndPanel::SetRadius)
    .Enum("PanelKind", &TepRndPanel::PanelKind, &TepRndPanel::SetPanelKind, PanelKindNames)
    .Color("BevelInnerColor", &TepRndPanel::BevelInnerColor, &TepRndPanel::SetBevelInnerColor)
    .Color("BevelOuterColor", &TepRndPanel::BevelOuterColor, &TepRndPanel::SetBevelOuterColor)
    .Reference("Wallpaper", &TepRndPanel::Wallpaper, &TepRndPanel::SetWallpaper)
END_PROPERTIES

BEGIN_PROPERTIES(TepEffectRndPanel, TepCustomRndPanel)
    .Bool("MiddleTransparent", &TepEffectRndPanel::MiddleTransparent,
        &TepEffectRndPanel::SetMiddleTransparent)
    .Bool("Noise", &TepEffectRndPanel::Noise, &TepEffectRndPanel::SetNoise)
    .Int("Radius", &TepEffectRndPanel::Radius, &TepEffectRndPanel::SetRadius)
    .Enum("PanelKind", &TepEffectRndPanel::PanelKind, &TepEffectRndPanel::SetPanelKind,
        PanelKindNames)
    .Color("BevelInnerColor", &TepEffectRndPanel::BevelInnerColor,
        &TepEffectRndPanel::SetBevelInnerColor)
    .Color("BevelOuterColor", &TepEffectRndPanel::BevelOuterColor,
        &TepEffectRndPanel::SetBevelOuterColor)
END_PROPERTIES

BEGIN_PROPERTIES(TepShadowPanel, TCustomPanel)
    .Int("ShadowWidth", &TepShadowPanel::ShadowWidth, &TepShadowPanel::SetShadowWidth)
    .Enum("ShadowKind", &TepShadowPanel::ShadowKind, &TepShadowPanel::SetShadowKind,
        ShadowKindNames)
    .Color("BevelInnerColor", &TepShadowPanel::BevelInnerColor, &TepShadowPanel::SetBevelInnerColor)
    .Color("BevelOuterColor", &TepShadowPanel::BevelOuterColor, &TepShadowPanel::SetBevelOuterColor)
    .Reference("Wallpaper", &TepShadowPanel::Wallpaper, &TepShadowPanel::SetWallpaper)
END_PROPERTIES
