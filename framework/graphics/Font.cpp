#include "framework/graphics/Font.h"

#include "platform/text/Font.h"
#include "framework/core/TypInfo.h"

#include <cmath>

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::Assign(TPersistent* Source)
{
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        FName = f->FName;
        FHeight = f->FHeight;
        FStyle = f->FStyle;
        FColor = f->FColor;
        FPitch = f->FPitch;
        FCharset = f->FCharset;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::Changed()
{
    FHandle.reset();
    TGraphicsObject::Changed();
}

void TFont::SetName(const std::string& value)
{
    if (value == FName || value.empty())
        return;
    FName = value;
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

// Points and pixels convert with rounding to the nearest value, halves away from zero.
static int MulDivRound(int a, int b, int c)
{
    return int(std::lround(double(a) * b / c));
}

int TFont::Size() const { return -MulDivRound(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int value) { SetHeight(-MulDivRound(value, FPixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles value)
{
    value &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    // The colour is not part of the platform font; only the users need to know.
    TGraphicsObject::Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == FPitch)
        return;
    FPitch = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    Changed();
}

std::shared_ptr<const plat::Font> TFont::Handle() const
{
    if (!FHandle) {
        plat::FontSpec spec;
        spec.family = FName;
        spec.height = FHeight;
        spec.bold = (FStyle & fsBold) != 0;
        spec.italic = (FStyle & fsItalic) != 0;
        spec.underline = (FStyle & fsUnderline) != 0;
        spec.strikeOut = (FStyle & fsStrikeOut) != 0;
        FHandle = plat::Font::Get(spec);
    }
    return FHandle;
}

// Colour and style are always stored: a control may start its font with other values than
// a plain font's (a bold button), so leaving out the plain defaults would lose them.
BEGIN_PROPERTIES(TFont, TPersistent)
    .Int("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET)
    .Color("Color", &TFont::Color, &TFont::SetColor)
    .Int("Height", &TFont::Height, &TFont::SetHeight)
    .String("Name", &TFont::Name, &TFont::SetName)
    .Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, { "fpDefault", "fpVariable", "fpFixed" })
    .Default(fpDefault)
    .Set("Style", &TFont::Style, &TFont::SetStyle, { "fsBold", "fsItalic", "fsUnderline",
        "fsStrikeOut" })
END_PROPERTIES
