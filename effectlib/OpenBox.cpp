#include "effectlib/BoxCtrls.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Grutils.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

#include <algorithm>

TepOpenBox::TepOpenBox(TComponent* AOwner)
    : TEffectCControl(AOwner)
    , FGlyph(std::make_unique<TBitmap>())
{
    FControlStyle = (FControlStyle | csAcceptsControls | csOpaque) & ~TControlStyle(csSetCaption);
    SetBounds(Left(), Top(), 100, 100);
}

TepOpenBox::~TepOpenBox() = default;

void TepOpenBox::SetBtnTransparent(bool Value) { FBtnTransparent = Value; Invalidate(); }
void TepOpenBox::SetBtnColor(TColor Value) { FBtnColor = Value; Invalidate(); }
void TepOpenBox::SetMargin(int Value) { FMargin = Value; Invalidate(); }
void TepOpenBox::SetSpacing(int Value) { FSpacing = Value; Invalidate(); }
void TepOpenBox::SetBtnInnerColor(TColor Value) { FBtnInnerColor = Value; Invalidate(); }
void TepOpenBox::SetBtnOuterColor(TColor Value) { FBtnOuterColor = Value; Invalidate(); }
void TepOpenBox::SetFrameColor(TColor Value) { FFrameColor = Value; Invalidate(); }
void TepOpenBox::SetNumGlyphs(uint8_t Value) { FNumGlyphs = Value; Invalidate(); }
void TepOpenBox::SetLayout(TLayout Value) { FLayout = Value; Invalidate(); }
void TepOpenBox::SetBtnWidth(int Value) { FBtnWidth = Value; Invalidate(); }
void TepOpenBox::SetBtnHeight(int Value) { FBtnHeight = Value; Invalidate(); }

void TepOpenBox::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    Invalidate();
}

TRect TepOpenBox::ButtonRect() const { return Rect(5, 1, FBtnWidth + 5, FBtnHeight + 1); }

int TepOpenBox::StateHeight() const
{
    return std::max(FCloseBox ? FBtnHeight + 5 : FOpenHeight, 0);
}

void TepOpenBox::SetCloseBox(bool Value)
{
    FCloseBox = Value;
    FPressedLook = !Value;
    SetHeight(StateHeight());
    Invalidate();
}

void TepOpenBox::SetOpenHeight(int Value)
{
    FOpenHeight = Value;
    if (!FCloseBox)
        SetHeight(StateHeight());
}

// The height is held to the state. One correction per size message: the size message it
// causes, and an alignment that forces another height, end here instead of recursing.
void TepOpenBox::WMSize(TMessage&)
{
    if (FHolding)
        return;
    int want = StateHeight();
    if (Height() == want)
        return;
    FHolding = true;
    auto alive = AliveToken();
    SetHeight(want);
    if (*alive)
        FHolding = false;
}

void TepOpenBox::Loaded()
{
    TEffectCControl::Loaded();
    SetHeight(StateHeight());
}

void TepOpenBox::CMTextChanged(TMessage& Message)
{
    TEffectCControl::CMTextChanged(Message);
    Invalidate();
}

void TepOpenBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TEffectCControl::MouseMove(Shift, X, Y);
    FHover = X >= 5 && X <= FBtnWidth + 5 && Y >= 1 && Y <= FBtnHeight + 1;
}

void TepOpenBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    auto alive = AliveToken();
    TEffectCControl::MouseDown(Button, Shift, X, Y);
    if (!*alive || Button != mbLeft || !FHover)
        return;
    FPressedLook = !FPressedLook;
    FCloseBox = !FCloseBox;
    SetHeight(StateHeight());
    Invalidate();
    if (!*alive)
        return;
    if (FCloseBox) {
        if (OnCloseBox)
            OnCloseBox(this);
    } else if (OnOpenBox) {
        OnOpenBox(this);
    }
}

void TepOpenBox::PaintFace()
{
    TCanvas* c = Bmp()->Canvas();
    const int W = Width(), H = Height();

    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(Enabled() ? FFrameColor : FBtnOuterColor);
    c->Pen()->SetWidth(1);
    int h = FBtnHeight / 2;
    const TPoint frame[] = { { 5, h }, { 1, h }, { 1, H - 1 }, { W - 1, H - 1 }, { W - 1, h },
        { FBtnWidth + 5, h } };
    c->Polyline(frame);

    std::string caption = Caption();
    int tw = c->TextWidth(caption), th = c->TextHeight(caption);
    int gw = FNumGlyphs > 0 ? FGlyph->Width() / FNumGlyphs : 0;
    int gh = FGlyph->Height();
    TRect b = ButtonRect();
    int tx = 0, ty = 0, gx = 0, gy = 0;
    CalcLCoord(FLayout, b, gw, gh, tw, th, FSpacing, FMargin, tx, ty, gx, gy);
    if (FHover && FPressedLook) {
        ++tx;
        ++ty;
        ++gx;
        ++gy;
    }

    if (!(Transparent() && FBtnTransparent)) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FBtnColor);
        c->FillRect(b);
    }
    if (FPressedLook)
        Frm3D(c, b, FBtnOuterColor, FBtnInnerColor, 1);
    else
        Frm3D(c, b, FBtnInnerColor, FBtnOuterColor, 1);

    c->Brush()->SetStyle(bsClear);
    if (Enabled()) {
        c->Font()->SetColor(Font()->Color());
        c->TextOut(tx, ty, caption);
    } else {
        c->Font()->SetColor(FBtnInnerColor);
        c->TextOut(tx + 1, ty + 1, caption);
        c->Font()->SetColor(FBtnOuterColor);
        c->TextOut(tx, ty, caption);
    }

    if (FNumGlyphs > 0 && !FGlyph->Empty()) {
        int index = FPressedLook && FNumGlyphs > 2 ? 2 : Enabled() ? 1 : FNumGlyphs;
        PaintGlyph(c, gx, gy, FGlyph.get(), uint8_t(index), FNumGlyphs);
    }
}

namespace {
const std::vector<std::string> OpenBoxLayoutNames = { "blGlyphLeft", "blGlyphRight",
    "blGlyphTop", "blGlyphBottom" };
}

BEGIN_PROPERTIES(TepOpenBox, TEffectCControl)
    .Bool("BtnTransparent", &TepOpenBox::BtnTransparent, &TepOpenBox::SetBtnTransparent)
    .Color("BtnColor", &TepOpenBox::BtnColor, &TepOpenBox::SetBtnColor)
    .Int("Margin", &TepOpenBox::Margin, &TepOpenBox::SetMargin)
    .Int("Spacing", &TepOpenBox::Spacing, &TepOpenBox::SetSpacing)
    .Color("BtnInnerColor", &TepOpenBox::BtnInnerColor, &TepOpenBox::SetBtnInnerColor)
    .Color("BtnOuterColor", &TepOpenBox::BtnOuterColor, &TepOpenBox::SetBtnOuterColor)
    .Color("FrameColor", &TepOpenBox::FrameColor, &TepOpenBox::SetFrameColor)
    .Int("NumGlyphs", &TepOpenBox::NumGlyphs, &TepOpenBox::SetNumGlyphs).Default(1)
    .Enum("Layout", &TepOpenBox::Layout, &TepOpenBox::SetLayout, OpenBoxLayoutNames)
        .Default(blGlyphLeft)
    .Object("Glyph", &TepOpenBox::Glyph)
    .Bool("CloseBox", &TepOpenBox::CloseBox, &TepOpenBox::SetCloseBox)
    .Int("OpenHeight", &TepOpenBox::OpenHeight, &TepOpenBox::SetOpenHeight)
    .Int("BtnWidth", &TepOpenBox::BtnWidth, &TepOpenBox::SetBtnWidth)
    .Int("BtnHeight", &TepOpenBox::BtnHeight, &TepOpenBox::SetBtnHeight)
    .Event("OnOpenBox", &TepOpenBox::OnOpenBox)
    .Event("OnCloseBox", &TepOpenBox::OnCloseBox)
END_PROPERTIES
