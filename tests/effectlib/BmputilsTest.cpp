#include "effectlib/Bmputils.h"

#include "EffectCoreTestSupport.h"
#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>

using effcoretest::FillBitmap;
using effcoretest::SolidBitmap;

namespace {

constexpr TColor K = 0x00FF00FF;   // key colour of the test images
constexpr TColor A = 0x000000FF, B = 0x00FF0000, C = 0x0000FF00, D = 0x00808080;
constexpr TColor Bg = 0x00123456;  // destination background

// A 4 x 3 source: key pixels on the left column and in the bottom-left corner.
void Source(TBitmap& s)
{
    FillBitmap(s, { { K, A, B, C }, { K, B, C, A }, { K, C, A, B } });
}

TColor At(TBitmap& b, int x, int y) { return b.Image().GetColor(x, y); }

} // namespace

TEST(BmputilsTest, KeyedCopyOfAbsentKeyIsOpaqueAndOfEveryPixelChangesNothing)
{
    TBitmap src, dst;
    Source(src);
    SolidBitmap(dst, 8, 6, Bg);
    DrawBitmapTransparent(dst.Canvas(), 2, 1, &src, 0x00010203);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(dst, 2 + x, 1 + y), At(src, x, y)) << x << "," << y;
    EXPECT_EQ(At(dst, 1, 1), Bg);
    EXPECT_EQ(At(dst, 6, 1), Bg);
    EXPECT_EQ(At(dst, 2, 4), Bg);

    TBitmap flat, dst2;
    SolidBitmap(flat, 4, 3, D);
    SolidBitmap(dst2, 8, 6, Bg);
    const plat::Surface before = dst2.Image();
    DrawBitmapTransparent(dst2.Canvas(), 2, 1, &flat, D);
    EXPECT_TRUE(dst2.Image() == before);
}

TEST(BmputilsTest, DefaultKeyIsTheBottomLeftPixelAndTheSourceStaysUnchanged)
{
    TBitmap src, viaDefault, viaCorner;
    Source(src);
    const plat::Surface original = src.Image();
    ASSERT_EQ(GetTransparentColor(&src), K);
    SolidBitmap(viaDefault, 6, 5, Bg);
    SolidBitmap(viaCorner, 6, 5, Bg);
    DrawBitmapTransparent(viaDefault.Canvas(), 1, 1, &src, clDefault);
    DrawBitmapTransparent(viaCorner.Canvas(), 1, 1, &src, GetTransparentColor(&src));
    EXPECT_TRUE(viaDefault.Image() == viaCorner.Image());
    EXPECT_EQ(At(viaDefault, 1, 1), Bg);   // key pixel: destination kept
    EXPECT_EQ(At(viaDefault, 2, 1), A);
    EXPECT_TRUE(src.Image() == original);
}

// An empty bitmap has no corner to take a key from: its key is "none", so another bitmap
// drawn with it comes out whole, its own corner colour included.
TEST(BmputilsTest, AnEmptyBitmapGivesNoKey)
{
    TBitmap empty, src, dst;
    EXPECT_EQ(GetTransparentColor(&empty), clNone);
    EXPECT_EQ(GetTransparentColor(nullptr), clNone);
    Source(src);
    SolidBitmap(dst, 6, 5, Bg);
    DrawBitmapTransparent(dst.Canvas(), 1, 1, &src, GetTransparentColor(&empty));
    EXPECT_EQ(At(dst, 1, 1), K);   // the source's own key colour is drawn
    EXPECT_EQ(At(dst, 2, 1), A);
    EXPECT_EQ(At(dst, 0, 0), Bg);
}

TEST(BmputilsTest, KeyTakesSystemColoursAndIgnoresThePaletteRelativeBit)
{
    TBitmap src, dst;
    const TColor face = ColorToRGB(clBtnFace);
    FillBitmap(src, { { face, A }, { face, B } });
    SolidBitmap(dst, 4, 4, Bg);
    DrawBitmapTransparent(dst.Canvas(), 0, 0, &src, clBtnFace);
    EXPECT_EQ(At(dst, 0, 0), Bg);
    EXPECT_EQ(At(dst, 1, 0), A);

    SolidBitmap(dst, 4, 4, Bg);
    DrawBitmapTransparent(dst.Canvas(), 0, 0, &src, face | 0x02000000);
    EXPECT_EQ(At(dst, 0, 1), Bg);
    EXPECT_EQ(At(dst, 1, 1), B);
}

TEST(BmputilsTest, NoKeyCopiesTheSourceRectangleAndStretchesIt)
{
    TBitmap src, dst;
    Source(src);
    SolidBitmap(dst, 30, 14, Bg);
    // Columns 1..2 of rows 0..1, unkeyed, at natural size.
    StretchBitmapRectTransparent(dst.Canvas(), 3, 2, 0, 0, Rect(1, 0, 3, 2), &src, clNone);
    EXPECT_EQ(At(dst, 3, 2), A);
    EXPECT_EQ(At(dst, 4, 2), B);
    EXPECT_EQ(At(dst, 3, 3), B);
    EXPECT_EQ(At(dst, 4, 3), C);
    EXPECT_EQ(At(dst, 5, 2), Bg);
    EXPECT_EQ(At(dst, 3, 4), Bg);

    // The same part stretched to 20 x 10: each source pixel covers 10 x 5.
    SolidBitmap(dst, 30, 14, Bg);
    StretchBitmapRectTransparent(dst.Canvas(), 1, 1, 20, 10, Rect(1, 0, 3, 2), &src, clNone);
    EXPECT_EQ(At(dst, 1, 1), A);
    EXPECT_EQ(At(dst, 10, 5), A);
    EXPECT_EQ(At(dst, 11, 5), B);
    EXPECT_EQ(At(dst, 10, 6), B);
    EXPECT_EQ(At(dst, 20, 10), C);
    EXPECT_EQ(At(dst, 21, 10), Bg);
    EXPECT_EQ(At(dst, 20, 11), Bg);
}

TEST(BmputilsTest, KeyedRectangleCopyCutsAtTheBitmapAndLeavesTheRestAlone)
{
    TBitmap src, dst;
    Source(src);
    SolidBitmap(dst, 10, 10, Bg);
    // A rectangle running past the right edge is cut to columns 2..3.
    DrawBitmapRectTransparent(dst.Canvas(), 0, 0, Rect(2, 1, 9, 3), &src, clDefault);
    EXPECT_EQ(At(dst, 0, 0), C);
    EXPECT_EQ(At(dst, 1, 0), A);
    EXPECT_EQ(At(dst, 0, 1), A);
    EXPECT_EQ(At(dst, 2, 0), Bg);
    // A rectangle wholly outside the bitmap draws nothing and reads nothing.
    const plat::Surface before = dst.Image();
    DrawBitmapRectTransparent(dst.Canvas(), 0, 0, Rect(50, 50, 60, 60), &src, clDefault);
    DrawBitmapRectTransparent(dst.Canvas(), 0, 0, Rect(-50, -50, -40, -40), &src, 0x0);
    EXPECT_TRUE(dst.Image() == before);
}

TEST(BmputilsTest, PaintGlyphTakesTheIndexedImageKeyedByItsOwnCorner)
{
    // 70 x 37 with two glyphs of 35: the left one red on a white key, the right one blue
    // on a green key.
    TBitmap strip, dst;
    strip.SetSize(70, 37);
    plat::Dc dc(strip.Handle());
    dc.FillRect({ 0, 0, 35, 37 }, clWhite);
    dc.FillRect({ 5, 5, 30, 30 }, clRed);
    dc.FillRect({ 35, 0, 70, 37 }, clLime);
    dc.FillRect({ 40, 5, 70, 30 }, clBlue);
    SolidBitmap(dst, 50, 50, Bg);
    PaintGlyph(dst.Canvas(), 10, 10, &strip, 2, 2);
    EXPECT_EQ(At(dst, 10, 10), Bg);            // glyph 2's key
    EXPECT_EQ(At(dst, 15, 15), clBlue);        // strip column 40
    EXPECT_EQ(At(dst, 10 + 34, 15), clBlue);   // strip column 69, the glyph's last
    EXPECT_EQ(At(dst, 10 + 35, 15), Bg);       // nothing beyond the glyph width
    EXPECT_EQ(At(dst, 10 + 4, 15), Bg);        // strip column 39 is key

    SolidBitmap(dst, 50, 50, Bg);
    PaintGlyph(dst.Canvas(), 0, 0, &strip, 1, 2);
    EXPECT_EQ(At(dst, 5, 5), clRed);
    EXPECT_EQ(At(dst, 0, 0), Bg);
    EXPECT_EQ(At(dst, 34, 5), Bg);
    EXPECT_EQ(At(dst, 35, 5), Bg);
}

TEST(BmputilsTest, PaintGlyphIgnoresImpossibleStrips)
{
    TBitmap strip, empty, dst;
    SolidBitmap(strip, 3, 2, clRed);
    SolidBitmap(dst, 8, 8, Bg);
    const plat::Surface before = dst.Image();
    PaintGlyph(dst.Canvas(), 0, 0, &strip, 1, 0);   // no glyphs
    PaintGlyph(dst.Canvas(), 0, 0, &strip, 1, 4);   // narrower than the glyph count
    PaintGlyph(dst.Canvas(), 0, 0, &strip, 0, 1);   // index before the first
    PaintGlyph(dst.Canvas(), 0, 0, &strip, 2, 1);   // index past the last
    PaintGlyph(dst.Canvas(), 0, 0, &empty, 1, 1);
    EXPECT_TRUE(dst.Image() == before);
}

TEST(BmputilsTest, RegionBlockOfTheThreeByThreeExample)
{
    TBitmap b;
    const TColor o = clRed;
    FillBitmap(b, { { K, K, K }, { K, o, o }, { K, K, K } });
    std::vector<uint8_t> data;
    ASSERT_EQ(CreateRFromBmp(&b, data), 48);
    ASSERT_EQ(data.size(), 48u);
    auto at = [&](size_t i) {
        return int32_t(data[i] | data[i + 1] << 8 | data[i + 2] << 16 | uint32_t(data[i + 3]) << 24);
    };
    EXPECT_EQ(at(0), 32);
    EXPECT_EQ(at(4), 1);
    EXPECT_EQ(at(8), 1);
    EXPECT_EQ(at(12), 0);
    EXPECT_EQ(at(16), 0);
    EXPECT_EQ(at(20), 0);
    EXPECT_EQ(at(24), 3);
    EXPECT_EQ(at(28), 3);
    EXPECT_EQ(at(32), 1);
    EXPECT_EQ(at(36), 1);
    EXPECT_EQ(at(40), 3);
    EXPECT_EQ(at(44), 2);
    plat::Region r = ExtCreateRegion(data);
    EXPECT_EQ(r, plat::Region(plat::Rect { 1, 1, 3, 2 }));
}

TEST(BmputilsTest, RegionBlockKeysOnTheSecondRowFromTheBottomAndGrowsPastTheOldLimit)
{
    // The bottom row's corner differs from the key one row up: the bottom row is shape.
    TBitmap b;
    FillBitmap(b, { { K, A, K }, { K, K, K }, { A, A, A } });
    std::vector<uint8_t> data;
    ASSERT_EQ(CreateRFromBmp(&b, data), 32 + 2 * 16);
    plat::Region expected = plat::Region(plat::Rect { 1, 0, 2, 1 }) | plat::Region(plat::Rect { 0, 2, 3, 3 });
    EXPECT_EQ(ExtCreateRegion(data), expected);

    // A checkerboard of 150 x 150 has 11250 runs, more than the 10001 the block once
    // held: all of them are kept.
    TBitmap big;
    big.SetSize(150, 150);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x)
            big.Handle()->SetColor(x, y, (x + y) % 2 ? clRed : K);
    big.Handle()->SetColor(0, 148, K);
    std::vector<uint8_t> many;
    const int size = CreateRFromBmp(&big, many);
    EXPECT_EQ(size, 32 + 16 * 11250);
    EXPECT_EQ(ExtCreateRegion(many).Area(), 11250);
}

TEST(BmputilsTest, RegionBlockOfEmptyAndOneRowBitmaps)
{
    TBitmap empty;
    std::vector<uint8_t> data { 7, 7, 7 };
    EXPECT_EQ(CreateRFromBmp(&empty, data), 0);
    EXPECT_EQ(data, (std::vector<uint8_t> { 7, 7, 7 }));

    TBitmap row;
    FillBitmap(row, { { K, A, A, K } });   // one row: the key is its own corner
    ASSERT_EQ(CreateRFromBmp(&row, data), 48);
    EXPECT_EQ(ExtCreateRegion(data), plat::Region(plat::Rect { 1, 0, 3, 1 }));
}

TEST(BmputilsTest, IllFormedRegionBlocksGiveEmptyRegions)
{
    TBitmap b;
    FillBitmap(b, { { K, A }, { K, K } });
    std::vector<uint8_t> data;
    ASSERT_GT(CreateRFromBmp(&b, data), 0);
    std::vector<uint8_t> shortBlock(data.begin(), data.end() - 1);
    EXPECT_TRUE(ExtCreateRegion(shortBlock).Empty());
    std::vector<uint8_t> badCount = data;
    badCount[8] = 0xFF;
    badCount[11] = 0x7F;
    EXPECT_TRUE(ExtCreateRegion(badCount).Empty());
    EXPECT_TRUE(ExtCreateRegion({}).Empty());
    EXPECT_FALSE(ExtCreateRegion(data).Empty());
}
