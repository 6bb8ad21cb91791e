#include "rackctls/ColorShading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {

struct ShadeCase {
    TColor base;
    int light, dark;
    TColor lightShade, darkShade;
};

// Every row of the colour table: light and dark shades of the panel colours.
TEST(ColorShading, ContrastShadesGiveTheTabulatedShades)
{
    const ShadeCase cases[] = {
        { clLime, 7, 7, 0xB2FFB2, 0x004D00 },
        { clLime, 6, 6, 0x99FF99, 0x006600 },
        { clTeal, 6, 6, 0xCCCC99, 0x333300 },
        { clSilver, 4, 5, 0xD9D9D9, 0x606060 },
        { clBlack, 4, 5, 0x656565, 0x000000 },
        { clWhite, 4, 5, 0xFEFEFE, 0x808080 },
    };
    for (const ShadeCase& c : cases) {
        TColor light = 1, dark = 1;
        ContrastShades(c.base, c.light, c.dark, light, dark);
        EXPECT_EQ(light, c.lightShade) << std::hex << c.base;
        EXPECT_EQ(dark, c.darkShade) << std::hex << c.base;
    }
}

TEST(ColorShading, BlackStaysBlackAtEveryContrast)
{
    for (int k = 0; k <= 9; ++k) {
        TColor light, dark = 1;
        ContrastShades(clBlack, k, k, light, dark);
        EXPECT_EQ(dark, clBlack) << k;
    }
}

// A dark factor of 1 keeps the colour; a light factor of 1 wraps a zero channel to 255.
TEST(ColorShading, ContrastZeroKeepsTheColourAndWrapsZeroChannels)
{
    for (TColor c : { clLime, clTeal, clSilver, TColor(0x123456), TColor(0x00FF80) }) {
        TColor light, dark;
        ContrastShades(c, 0, 0, light, dark);
        EXPECT_EQ(dark, c) << std::hex << c;
    }
    TColor light, dark;
    ContrastShades(clLime, 0, 0, light, dark);
    EXPECT_EQ(light, 0xFFFEFFu);   // 255 - 256 keeps its low byte; 255 - 1 = 254
    ContrastShades(TColor(0x405060), 0, 0, light, dark);
    EXPECT_EQ(light, 0x3F4F5Fu);   // 255 - (256 - x) = x - 1
}

// Halves round to the even neighbour: with a = 0.5, (256 - x) * a ends in .5 for odd
// 256 - x.
TEST(ColorShading, LightShadeRoundsHalvesToEven)
{
    TColor light, dark;
    // Channels 1, 3, 5: (255, 253, 251) * 0.5 = 127.5, 126.5, 125.5 -> 128, 126, 126.
    ColorShades(RGB(1, 3, 5), 0.5f, 1.0f, light, dark);
    EXPECT_EQ(GetRValue(light), 255 - 128);
    EXPECT_EQ(GetGValue(light), 255 - 126);
    EXPECT_EQ(GetBValue(light), 255 - 126);
}

// System colours are resolved before shading.
TEST(ColorShading, SystemColoursAreResolvedFirst)
{
    TColor l1, d1, l2, d2;
    ContrastShades(clBtnFace, 4, 5, l1, d1);
    ContrastShades(ColorToRGB(clBtnFace), 4, 5, l2, d2);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(d1, d2);
    EXPECT_EQ(l1 & 0xFF000000u, 0u);
}

TEST(ColorShading, GreysHaveNoHueAndNoSaturation)
{
    THLSTriple hls { 9, 9, 9 };
    RGB2HLS({ 0.5, 0.5, 0.5 }, hls);
    EXPECT_DOUBLE_EQ(hls.H, 0);
    EXPECT_DOUBLE_EQ(hls.L, 0.5);
    EXPECT_DOUBLE_EQ(hls.S, 0);
    for (double x : { 0.0, 0.2, 0.75, 1.0 }) {
        RGB2HLS({ x, x, x }, hls);
        EXPECT_DOUBLE_EQ(hls.H, 0) << x;
        EXPECT_DOUBLE_EQ(hls.L, x) << x;
        EXPECT_DOUBLE_EQ(hls.S, 0) << x;
    }
}

TEST(ColorShading, PureGreenConvertsBothWays)
{
    THLSTriple hls;
    RGB2HLS({ 0, 1, 0 }, hls);
    EXPECT_NEAR(hls.H, 1.0 / 3, 1e-12);
    EXPECT_NEAR(hls.L, 0.5, 1e-12);
    EXPECT_NEAR(hls.S, 1.0, 1e-12);
    TRGBTriple3 rgb { 9, 9, 9 };
    HLS2RGB(hls, rgb);
    EXPECT_NEAR(rgb.R, 0, 1e-12);
    EXPECT_NEAR(rgb.G, 1, 1e-12);
    EXPECT_NEAR(rgb.B, 0, 1e-12);
}

TEST(ColorShading, HueOneIsHueZero)
{
    for (double l : { 0.25, 0.5, 0.8 }) {
        TRGBTriple3 a, b;
        HLS2RGB({ 0, l, 0.7 }, a);
        HLS2RGB({ 1, l, 0.7 }, b);
        EXPECT_DOUBLE_EQ(a.R, b.R);
        EXPECT_DOUBLE_EQ(a.G, b.G);
        EXPECT_DOUBLE_EQ(a.B, b.B);
        EXPECT_GT(a.R, a.G);   // red, not some other hue
    }
}

// The hexcone corners: each sextant's colour at full saturation and half luminance.
TEST(ColorShading, SextantCornersArePureColours)
{
    const TRGBTriple3 corners[6] = { { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 }, { 0, 1, 1 },
        { 0, 0, 1 }, { 1, 0, 1 } };
    for (int k = 0; k < 6; ++k) {
        TRGBTriple3 rgb;
        HLS2RGB({ k / 6.0, 0.5, 1 }, rgb);
        EXPECT_NEAR(rgb.R, corners[k].R, 1e-12) << k;
        EXPECT_NEAR(rgb.G, corners[k].G, 1e-12) << k;
        EXPECT_NEAR(rgb.B, corners[k].B, 1e-12) << k;
        THLSTriple hls;
        RGB2HLS(corners[k], hls);
        EXPECT_NEAR(std::fmod(hls.H, 1.0), k / 6.0, 1e-12) << k;   // red comes out as hue 1
    }
}

// Converting to HLS and back returns the colour, on both the dark and the light side.
TEST(ColorShading, RoundTripReturnsTheColour)
{
    for (int r = 0; r <= 255; r += 51)
        for (int g = 0; g <= 255; g += 17)
            for (int b = 0; b <= 255; b += 85) {
                TRGBTriple3 in { r / 255.0, g / 255.0, b / 255.0 }, out;
                THLSTriple hls;
                RGB2HLS(in, hls);
                HLS2RGB(hls, out);
                ASSERT_NEAR(out.R, in.R, 1e-9) << r << "," << g << "," << b;
                ASSERT_NEAR(out.G, in.G, 1e-9) << r << "," << g << "," << b;
                ASSERT_NEAR(out.B, in.B, 1e-9) << r << "," << g << "," << b;
            }
}

// The dark shade keeps hue and saturation and scales the luminance.
TEST(ColorShading, DarkShadeScalesOnlyTheLuminance)
{
    TColor light, dark;
    ColorShades(RGB(200, 100, 50), 1.0f, 0.5f, light, dark);
    THLSTriple a, b;
    RGB2HLS({ 200 / 255.0, 100 / 255.0, 50 / 255.0 }, a);
    RGB2HLS({ GetRValue(dark) / 255.0, GetGValue(dark) / 255.0, GetBValue(dark) / 255.0 }, b);
    EXPECT_NEAR(b.H, a.H, 0.01);
    EXPECT_NEAR(b.S, a.S, 0.02);
    EXPECT_NEAR(b.L, a.L * 0.5, 0.005);
}

std::string MessageOfHLS(const THLSTriple& in)
{
    try {
        TRGBTriple3 out;
        HLS2RGB(in, out);
    } catch (const EColorConv& e) {
        return e.Message();
    }
    return "no exception";
}

std::string MessageOfRGB(const TRGBTriple3& in)
{
    try {
        THLSTriple out;
        RGB2HLS(in, out);
    } catch (const EColorConv& e) {
        return e.Message();
    }
    return "no exception";
}

TEST(ColorShading, OutOfRangeComponentsRaiseWithTheirName)
{
    EXPECT_EQ(MessageOfHLS({ 0.5, 1.5, 0.5 }), "HLS2RGB: 0 <= Luminance value <= 1 required");
    EXPECT_EQ(MessageOfRGB({ 0.5, 0.5, -0.1 }), "RGB2HLS: 0 <= Blue value <= 1 required");
    // The first bad component in order is named; NaN counts as out of range.
    EXPECT_EQ(MessageOfHLS({ -1, 2, 0.5 }), "HLS2RGB: 0 <= Hue value <= 1 required");
    EXPECT_EQ(MessageOfHLS({ 0, 0.5, std::nan("") }), "HLS2RGB: 0 <= Saturation value <= 1 required");
    EXPECT_EQ(MessageOfRGB({ 2, 0, 0 }), "RGB2HLS: 0 <= Red value <= 1 required");
    EXPECT_EQ(MessageOfRGB({ 0, std::numeric_limits<double>::quiet_NaN(), 0 }),
        "RGB2HLS: 0 <= Green value <= 1 required");
    // An EColorConv is one of the framework's exceptions.
    EXPECT_THROW(HLS2RGB({ 0, 1.5, 0 }, *std::make_unique<TRGBTriple3>()), Exception);
}

} // namespace
