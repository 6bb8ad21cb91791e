// The engraved label, the wave label and the wallpaper label.
#include "effectlib/EPLabels.h"

#include "effectlib/Bmputils.h"
#include "effectlib/Effbmp.h"
#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

namespace {

const std::vector<std::string> AlignmentNames { "taLeftJustify", "taRightJustify", "taCenter" };
const std::vector<std::string> GradKindNames { "gdRight", "gdLeft", "gdTop", "gdBottom",
    "gdVCenter", "gdHCenter" };

void Engrave(TCanvas* c, int x, int y, const std::string& text, bool useInner, TColor inner,
    bool useOuter, TColor outer, TColor face)
{
    c->Brush()->SetStyle(bsClear);
    if (useInner) {
        c->Font()->SetColor(inner);
        c->TextOut(x - 1, y - 1, text);
    }
    if (useOuter) {
        c->Font()->SetColor(outer);
        c->TextOut(x + 1, y + 1, text);
    }
    c->Font()->SetColor(face);
    c->TextOut(x, y, text);
}

} // namespace

TepCustomLabel::TepCustomLabel(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 65, 17);
}

void TepCustomLabel::SetMiddleTransparent(bool Value) { FMiddleTransparent = Value; XPaint(); }
void TepCustomLabel::SetUseInnerColor(bool Value) { FUseInnerColor = Value; XPaint(); }
void TepCustomLabel::SetUseOuterColor(bool Value) { FUseOuterColor = Value; XPaint(); }
void TepCustomLabel::SetAlignment(TAlignment Value) { FAlignment = Value; XPaint(); }
void TepCustomLabel::SetInnerColor(TColor Value) { FInnerColor = Value; XPaint(); }
void TepCustomLabel::SetOuterColor(TColor Value) { FOuterColor = Value; XPaint(); }
void TepCustomLabel::SetText3D(bool Value) { FText3D = Value; XPaint(); }
void TepCustomLabel::SetGradEffect(bool Value) { FGradEffect = Value; XPaint(); }
void TepCustomLabel::SetGradKind(TGradKind Value) { FGradKind = Value; XPaint(); }
void TepCustomLabel::SetGradColor(TColor Value) { FGradColor = Value; XPaint(); }
void TepCustomLabel::CMTextChanged(TMessage&) { XPaint(); }

TPoint TepCustomLabel::TextOrigin()
{
    TBitmap scratch;
    scratch.Canvas()->SetFont(Font());
    const TSize e = scratch.Canvas()->TextExtent(Caption());
    int x = 2;
    if (FAlignment == taRightJustify)
        x = Width() - e.cx - 2;
    else if (FAlignment == taCenter)
        x = Width() / 2 - e.cx / 2;
    return { x, Height() / 2 - e.cy / 2 };
}

// Over a transparent background the gradient shows at half strength: it is made on a
// fill of the label's colour and averaged with the parent's image.
void TepCustomLabel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    if (Transparent() && FMiddleTransparent && FGradEffect) {
        TBitmap fill;
        fill.SetSize(Width(), Height());
        fill.Handle()->Fill(ColorToRGB(Color()));
        TEffectBmp grad(&fill);
        grad.AddGradColor(FGradColor, FGradKind);
        TEffectBmp sized(face->Width(), face->Height());
        grad.Resize(&sized);
        TEffectBmp back(face);
        back.MiddleBMP(&sized);
        back.Draw(face->Canvas(), 0, 0);
    } else {
        PaintEf();
    }
    if (Caption().empty())
        return;
    const TPoint at = TextOrigin();
    TCanvas* c = face->Canvas();
    if (FText3D)
        Engrave(c, at.X, at.Y, Caption(), FUseInnerColor, FInnerColor, FUseOuterColor,
            FOuterColor, Font()->Color());
    else
        Engrave(c, at.X, at.Y, Caption(), false, 0, false, 0, Font()->Color());
}

void TepCustomLabel::PaintEffects()
{
    TEffectBmp* e = EfBmp();
    if (!e)
        return;
    if (FGradEffect)
        e->AddGradColor(FGradColor, FGradKind);
    else if (Transparent() && FMiddleTransparent)
        e->AddMiddleColor(Color());
}

TepTextLabel::TepTextLabel(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 50, 25);
}

void TepTextLabel::SetLines(const std::vector<std::string>& Value) { FLines = Value; XPaint(); }
void TepTextLabel::SetAlignment(TAlignment Value) { FAlignment = Value; XPaint(); }
void TepTextLabel::SetTextInnerColor(TColor Value) { FTextInnerColor = Value; XPaint(); }
void TepTextLabel::SetTextOuterColor(TColor Value) { FTextOuterColor = Value; XPaint(); }
void TepTextLabel::SetText3D(bool Value) { FText3D = Value; XPaint(); }
void TepTextLabel::SetMiddleTransparent(bool Value) { FMiddleTransparent = Value; XPaint(); }

std::string TepTextLabel::LinesText() const
{
    std::string text;
    for (size_t i = 0; i < FLines.size(); ++i) {
        if (i)
            text += "\r\n";
        text += FLines[i];
    }
    return text;
}

void TepTextLabel::SetLinesText(const std::string& Value)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < Value.size(); ++i) {
        const char ch = Value[i];
        if (ch != '\r' && ch != '\n') {
            line += ch;
            continue;
        }
        if (ch == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n')
            ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    SetLines(lines);
}

void TepTextLabel::PaintEffects()
{
    if (TEffectBmp* e = EfBmp())
        e->AddMiddleColor(Color());
}

void TepTextLabel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    if (Transparent() && FMiddleTransparent)
        PaintEf();
    TCanvas* c = face->Canvas();
    c->Brush()->SetStyle(bsClear);
    const std::string text = LinesText();
    const uint32_t align = FAlignment == taRightJustify ? DT_RIGHT
        : FAlignment == taCenter                        ? DT_CENTER
                                                        : DT_LEFT;
    const int w = Width(), h = Height();
    if (!FText3D) {
        TRect r = Rect(0, 0, w, h);
        c->Font()->SetColor(Font()->Color());
        DrawText(c, text, r, align | DT_WORDBREAK | DT_EXPANDTABS);
        return;
    }
    TRect inner = Rect(0, 0, w - 2, h - 2), outer = Rect(2, 2, w, h), mid = Rect(1, 1, w - 1, h - 1);
    c->Font()->SetColor(FTextInnerColor);
    DrawText(c, text, inner, align | DT_WORDBREAK);
    c->Font()->SetColor(FTextOuterColor);
    DrawText(c, text, outer, align | DT_WORDBREAK);
    c->Font()->SetColor(Font()->Color());
    DrawText(c, text, mid, align | DT_WORDBREAK);
}

TepWaveLabel::TepWaveLabel(TComponent* AOwner)
    : TEffectGControl(AOwner)
{
    SetBounds(Left(), Top(), 65, 17);
    SetCaption("");
}

void TepWaveLabel::SetXDiv(int Value) { FXDiv = Value; XPaint(); }
void TepWaveLabel::SetYDiv(int Value) { FYDiv = Value; XPaint(); }
void TepWaveLabel::SetRatioVal(int Value) { FRatioVal = Value; XPaint(); }
void TepWaveLabel::SetTextX(int Value) { FTextX = Value; XPaint(); }
void TepWaveLabel::SetTextY(int Value) { FTextY = Value; XPaint(); }
void TepWaveLabel::SetInnerColor(TColor Value) { FInnerColor = Value; XPaint(); }
void TepWaveLabel::SetOuterColor(TColor Value) { FOuterColor = Value; XPaint(); }
void TepWaveLabel::SetUseInnerColor(bool Value) { FUseInnerColor = Value; XPaint(); }
void TepWaveLabel::SetUseOuterColor(bool Value) { FUseOuterColor = Value; XPaint(); }
void TepWaveLabel::CMTextChanged(TMessage&) { XPaint(); }

// The text is written on a fill of the label's colour a quarter wider than the label (so
// the wave has room to shift), bent, and drawn keyed by that fill.
void TepWaveLabel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face)
        return;
    TBitmap bmp;
    bmp.SetSize(Width() + Width() / 4, Height());
    TCanvas* c = bmp.Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
    Engrave(c, FTextX, FTextY, Caption(), FUseInnerColor, FInnerColor, FUseOuterColor,
        FOuterColor, Font()->Color());
    TEffectBmp bent(&bmp);
    bent.Wave(FXDiv, FYDiv, FRatioVal);
    bent.Draw(c, 0, 0);
    DrawBitmapTransparent(face->Canvas(), 0, 0, &bmp, GetTransparentColor(&bmp));
}

TepBitLabel::TepBitLabel(TComponent* AOwner)
    : TEffectGControl(AOwner)
    , FWallpaper(std::make_unique<TBitmap>())
    , FTextImage(std::make_unique<TBitmap>())
{
    SetBounds(Left(), Top(), 60, 20);
    SetCaption("");
}

TepBitLabel::~TepBitLabel() = default;

void TepBitLabel::SetAlignment(TAlignment Value) { FAlignment = Value; XPaint(); }
void TepBitLabel::SetText3D(bool Value) { FText3D = Value; XPaint(); }
void TepBitLabel::SetInnerColor(TColor Value) { FInnerColor = Value; XPaint(); }
void TepBitLabel::SetOuterColor(TColor Value) { FOuterColor = Value; XPaint(); }
void TepBitLabel::SetUseInnerColor(bool Value) { FUseInnerColor = Value; XPaint(); }
void TepBitLabel::SetUseOuterColor(bool Value) { FUseOuterColor = Value; XPaint(); }

void TepBitLabel::SetWallpaper(TBitmap* Value)
{
    FWallpaper->Assign(Value);
    FRebuild = true;
    XPaint();
}

void TepBitLabel::SetTransparentColor(TColor Value)
{
    FTransparentColor = Value;
    FRebuild = true;
    XPaint();
}

void TepBitLabel::CMTextChanged(TMessage&)
{
    FRebuild = true;
    XPaint();
}

void TepBitLabel::CMFontChanged(TMessage& Message)
{
    TEffectGControl::CMFontChanged(Message);
    FRebuild = true;
}

// The letters (where a black-on-white copy of the caption is pure black) take the tiled
// wallpaper; everything else is the key colour.
void TepBitLabel::Rebuild(TCanvas* C)
{
    const TSize e = C->TextExtent(Caption());
    const int w = e.cx + 10, h = e.cy + 10;
    TBitmap tiles;
    tiles.SetSize(w, h);
    const int ww = FWallpaper->Width(), wh = FWallpaper->Height();
    for (int i = 0; i <= w / ww; ++i)
        for (int j = 0; j <= h / wh; ++j)
            tiles.Canvas()->Draw(i * ww, j * wh, FWallpaper.get());
    TBitmap mask;
    mask.SetSize(w, h);
    mask.Handle()->Fill(clWhite);
    mask.Canvas()->SetFont(Font());
    mask.Canvas()->Font()->SetColor(TColor(0));
    mask.Canvas()->Brush()->SetStyle(bsClear);
    mask.Canvas()->TextOut(0, 0, Caption());
    FTextImage->SetSize(w, h);
    FTextImage->Handle()->Fill(ColorToRGB(FTransparentColor));
    TEffectBmp out(FTextImage.get());
    const TEffectBmp in(&tiles), shape(&mask);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (shape.GetPixel(x, y) == 0)
                out.SetPixel(x, y, in.GetPixel(x, y));
    out.Draw(FTextImage->Canvas(), 0, 0);
    FRebuild = false;
    ++FRebuilds;
}

void TepBitLabel::PaintFace()
{
    TBitmap* face = Bmp();
    if (!face || FWallpaper->Empty() || Caption().empty())
        return;
    TCanvas* c = face->Canvas();
    if (FRebuild)
        Rebuild(c);
    if (FTextImage->Empty())
        return;
    const int iw = FTextImage->Width();
    int x = 1;
    if (FAlignment == taRightJustify)
        x = Width() - iw;
    else if (FAlignment == taCenter)
        x = Width() / 2 - iw / 2;
    const int y0 = Height() / 2 - FTextImage->Height() / 2;
    c->Brush()->SetStyle(bsClear);
    if (FText3D) {
        if (FUseInnerColor) {
            c->Font()->SetColor(FInnerColor);
            c->TextOut(x - 1, y0 + 4, Caption());
        }
        if (FUseOuterColor) {
            c->Font()->SetColor(FOuterColor);
            c->TextOut(x + 1, y0 + 6, Caption());
        }
    }
    DrawBitmapTransparent(c, x, y0 + 5, FTextImage.get(), FTransparentColor);
}

BEGIN_PROPERTIES(TepCustomLabel, TEffectGControl)
    .Bool("MiddleTransparent", &TepCustomLabel::MiddleTransparent, &TepCustomLabel::SetMiddleTransparent)
    .Color("GradColor", &TepCustomLabel::GradColor, &TepCustomLabel::SetGradColor)
    .Bool("GradEffect", &TepCustomLabel::GradEffect, &TepCustomLabel::SetGradEffect)
    .Enum("GradKind", &TepCustomLabel::GradKind, &TepCustomLabel::SetGradKind, GradKindNames)
    .Color("InnerColor", &TepCustomLabel::InnerColor, &TepCustomLabel::SetInnerColor)
    .Color("OuterColor", &TepCustomLabel::OuterColor, &TepCustomLabel::SetOuterColor)
    .Bool("UseInnerColor", &TepCustomLabel::UseInnerColor, &TepCustomLabel::SetUseInnerColor)
    .Bool("UseOuterColor", &TepCustomLabel::UseOuterColor, &TepCustomLabel::SetUseOuterColor)
    .Bool("Text3D", &TepCustomLabel::Text3D, &TepCustomLabel::SetText3D)
    .Enum("Alignment", &TepCustomLabel::Alignment, &TepCustomLabel::SetAlignment, AlignmentNames)
        .Default(taLeftJustify)
END_PROPERTIES

BEGIN_PROPERTIES(TepLabel, TepCustomLabel)
END_PROPERTIES

BEGIN_PROPERTIES(TepTextLabel, TEffectGControl)
    .Bool("MiddleTransparent", &TepTextLabel::MiddleTransparent, &TepTextLabel::SetMiddleTransparent)
    .Enum("Alignment", &TepTextLabel::Alignment, &TepTextLabel::SetAlignment, AlignmentNames)
        .Default(taLeftJustify)
    .String("Lines", &TepTextLabel::LinesText, &TepTextLabel::SetLinesText)
    .Color("TextInnerColor", &TepTextLabel::TextInnerColor, &TepTextLabel::SetTextInnerColor)
    .Color("TextOuterColor", &TepTextLabel::TextOuterColor, &TepTextLabel::SetTextOuterColor)
    .Bool("Text3D", &TepTextLabel::Text3D, &TepTextLabel::SetText3D)
END_PROPERTIES

BEGIN_PROPERTIES(TepWaveLabel, TEffectGControl)
    .Color("InnerColor", &TepWaveLabel::InnerColor, &TepWaveLabel::SetInnerColor)
    .Color("OuterColor", &TepWaveLabel::OuterColor, &TepWaveLabel::SetOuterColor)
    .Bool("UseInnerColor", &TepWaveLabel::UseInnerColor, &TepWaveLabel::SetUseInnerColor)
    .Bool("UseOuterColor", &TepWaveLabel::UseOuterColor, &TepWaveLabel::SetUseOuterColor)
    .Int("XDiv", &TepWaveLabel::XDiv, &TepWaveLabel::SetXDiv)
    .Int("YDiv", &TepWaveLabel::YDiv, &TepWaveLabel::SetYDiv)
    .Int("RatioVal", &TepWaveLabel::RatioVal, &TepWaveLabel::SetRatioVal)
    .Int("TextX", &TepWaveLabel::TextX, &TepWaveLabel::SetTextX)
    .Int("TextY", &TepWaveLabel::TextY, &TepWaveLabel::SetTextY)
END_PROPERTIES

BEGIN_PROPERTIES(TepBitLabel, TEffectGControl)
    .Enum("Alignment", &TepBitLabel::Alignment, &TepBitLabel::SetAlignment, AlignmentNames)
        .Default(taLeftJustify)
    .Color("OuterColor", &TepBitLabel::OuterColor, &TepBitLabel::SetOuterColor)
    .Color("InnerColor", &TepBitLabel::InnerColor, &TepBitLabel::SetInnerColor)
    .Bool("UseOuterColor", &TepBitLabel::UseOuterColor, &TepBitLabel::SetUseOuterColor)
    .Bool("UseInnerColor", &TepBitLabel::UseInnerColor, &TepBitLabel::SetUseInnerColor)
    .Bool("Text3D", &TepBitLabel::Text3D, &TepBitLabel::SetText3D)
    .Color("TransparentColor", &TepBitLabel::TransparentColor, &TepBitLabel::SetTransparentColor)
    .Object("Wallpaper", &TepBitLabel::Wallpaper)
END_PROPERTIES
