#include "platform/raster/Surface.h"
#include "platform/raster/Palette.h"

#include <gtest/gtest.h>

#include <set>

using namespace plat;

namespace {

Surface Gradient(int32_t w, int32_t h)
{
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.SetColor(x, y, Rgb(uint8_t(x * 37 + y), uint8_t(y * 53), uint8_t(x * y * 11)));
    return s;
}

} // namespace

TEST(SurfaceConvert, TrueColourFormatsKeepPixels)
{
    Surface s = Gradient(9, 5);
    Surface before = s;
    s.ConvertTo(PixelFormat::Bpp24);
    EXPECT_EQ(s.Format(), PixelFormat::Bpp24);
    EXPECT_TRUE(s.Palette().empty());
    EXPECT_EQ(s, before);
    s.ConvertTo(PixelFormat::Bpp32);
    EXPECT_EQ(s.Format(), PixelFormat::Bpp32);
    EXPECT_EQ(s, before);
}

TEST(SurfaceConvert, OneBitSplitsAtTheMidpoint)
{
    Surface s(4, 1);
    s.SetColor(0, 0, Rgb(127, 128, 127)); // nearer to black by squared distance
    s.SetColor(1, 0, Rgb(128, 128, 127)); // nearer to white
    s.SetColor(2, 0, Rgb(255, 0, 0));
    s.SetColor(3, 0, Rgb(200, 220, 180));
    s.ConvertTo(PixelFormat::Bpp1);
    ASSERT_EQ(s.Palette(), (std::vector<Color> { Rgb(0, 0, 0), Rgb(255, 255, 255) }));
    EXPECT_EQ(s.GetColor(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(s.GetColor(1, 0), Rgb(255, 255, 255));
    EXPECT_EQ(s.GetColor(2, 0), Rgb(0, 0, 0));
    EXPECT_EQ(s.GetColor(3, 0), Rgb(255, 255, 255));
}

TEST(SurfaceConvert, FourBitUsesTheClassicSixteen)
{
    auto pal = StandardPalette(PixelFormat::Bpp4);
    ASSERT_EQ(pal.size(), 16u);
    EXPECT_EQ(pal[1], Rgb(128, 0, 0));
    EXPECT_EQ(pal[4], Rgb(0, 0, 128));
    EXPECT_EQ(pal[7], Rgb(192, 192, 192));
    EXPECT_EQ(pal[8], Rgb(128, 128, 128));
    EXPECT_EQ(pal[12], Rgb(0, 0, 255));
    EXPECT_EQ(pal[13], Rgb(255, 0, 255));
    EXPECT_EQ(pal[15], Rgb(255, 255, 255));

    Surface s(3, 1);
    s.SetColor(0, 0, Rgb(250, 10, 5)); // red
    s.SetColor(1, 0, Rgb(170, 170, 170)); // between grey and silver, nearer silver
    s.SetColor(2, 0, Rgb(20, 140, 130)); // teal
    s.ConvertTo(PixelFormat::Bpp4);
    EXPECT_EQ(s.Format(), PixelFormat::Bpp4);
    EXPECT_EQ(s.GetColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s.GetColor(1, 0), Rgb(192, 192, 192));
    EXPECT_EQ(s.GetColor(2, 0), Rgb(0, 128, 128));
}

TEST(SurfaceConvert, EightBitCubeAndGreys)
{
    auto pal = StandardPalette(PixelFormat::Bpp8);
    ASSERT_EQ(pal.size(), 256u);
    EXPECT_EQ(pal[0], Rgb(0, 0, 0));
    EXPECT_EQ(pal[215], Rgb(255, 255, 255));
    EXPECT_EQ(pal[1 * 36 + 2 * 6 + 3], Rgb(51, 102, 153));
    EXPECT_EQ(std::set<Color>(pal.begin(), pal.end()).size(), 256u);
    for (size_t i = 216; i < 256; ++i)
        EXPECT_TRUE(RedOf(pal[i]) == GreenOf(pal[i]) && GreenOf(pal[i]) == BlueOf(pal[i])) << i;

    Surface s(2, 1);
    s.SetColor(0, 0, Rgb(50, 105, 150));
    s.SetColor(1, 0, Rgb(30, 30, 30)); // a grey of the ramp beats the cube's 0 and 51
    s.ConvertTo(PixelFormat::Bpp8);
    EXPECT_EQ(s.GetColor(0, 0), Rgb(51, 102, 153));
    EXPECT_EQ(s.GetColor(1, 0), Rgb(31, 31, 31));
}

TEST(SurfaceConvert, GivenPaletteFirstEntryWinsTies)
{
    Surface s(1, 1);
    s.SetColor(0, 0, Rgb(50, 50, 0));
    Surface t = s;
    s.ConvertTo(PixelFormat::Bpp8, { Rgb(100, 0, 0), Rgb(0, 100, 0) });
    EXPECT_EQ(s.GetColor(0, 0), Rgb(100, 0, 0));
    t.ConvertTo(PixelFormat::Bpp8, { Rgb(0, 100, 0), Rgb(100, 0, 0) });
    EXPECT_EQ(t.GetColor(0, 0), Rgb(0, 100, 0));
    EXPECT_EQ(t.Palette().size(), 2u);

    // Its own palette given back keeps it.
    t.ConvertTo(PixelFormat::Bpp8, t.Palette());
    EXPECT_EQ(t.Palette(), (std::vector<Color> { Rgb(0, 100, 0), Rgb(100, 0, 0) }));
    t.ConvertTo(PixelFormat::Bpp1, t.Palette());
    EXPECT_EQ(t.Palette(), (std::vector<Color> { Rgb(0, 100, 0), Rgb(100, 0, 0) }));
}

TEST(SurfaceConvert, PaletteIsCutToTheDepth)
{
    Surface s(2, 1);
    s.SetColor(0, 0, Rgb(0, 0, 250));
    s.ConvertTo(PixelFormat::Bpp1, { Rgb(255, 255, 255), Rgb(0, 0, 0), Rgb(0, 0, 255) });
    EXPECT_EQ(s.Palette().size(), 2u);
    EXPECT_EQ(s.GetColor(0, 0), Rgb(0, 0, 0)); // blue is not available any more
    EXPECT_EQ(s.GetColor(1, 0), Rgb(0, 0, 0));
}

TEST(SurfaceConvert, PaletteSurfaceBackToTrueColour)
{
    Surface s = Gradient(7, 7);
    s.ConvertTo(PixelFormat::Bpp4);
    Surface mapped = s;
    s.ConvertTo(PixelFormat::Bpp24);
    EXPECT_TRUE(s.Palette().empty());
    EXPECT_EQ(s, mapped);
    // Every pixel of the palette surface was one of its entries.
    auto pal = mapped.Palette();
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 7; ++x)
            EXPECT_NE(std::find(pal.begin(), pal.end(), mapped.GetColor(x, y)), pal.end());
}

TEST(SurfaceConvert, ConstructedPaletteSurfaceAndEmptySurface)
{
    Surface s(3, 2, PixelFormat::Bpp8);
    EXPECT_EQ(s.Format(), PixelFormat::Bpp8);
    EXPECT_EQ(s.Palette().size(), 256u);
    EXPECT_EQ(s.GetColor(2, 1), Rgb(0, 0, 0));

    Surface e;
    e.ConvertTo(PixelFormat::Bpp4);
    EXPECT_TRUE(e.Empty());
    EXPECT_EQ(e.Format(), PixelFormat::Bpp4);
    EXPECT_EQ(e.Palette().size(), 16u);
}

TEST(PaletteMatcher, CacheAgreesWithFullSearch)
{
    auto pal = StandardPalette(PixelFormat::Bpp8);
    PaletteMatcher m(pal);
    // Many colours, repeated, so cached answers are reused and slots are overwritten.
    for (int round = 0; round < 2; ++round) {
        for (uint32_t i = 0; i < 5000; ++i) {
            Pixel p = (i * 2654435761u) & 0xFFFFFF;
            int got = m.Index(p);
            int best = 0;
            int bestDist = INT32_MAX;
            for (size_t k = 0; k < pal.size(); ++k) {
                Pixel q = ToPixel(pal[k]);
                int dr = int(p >> 16 & 255) - int(q >> 16 & 255),
                    dg = int(p >> 8 & 255) - int(q >> 8 & 255), db = int(p & 255) - int(q & 255);
                int d = dr * dr + dg * dg + db * db;
                if (d < bestDist)
                    bestDist = d, best = int(k);
            }
            ASSERT_EQ(got, best) << std::hex << p;
        }
    }
}
