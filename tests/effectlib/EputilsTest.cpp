#include "effectlib/Eputils.h"
#include "effectlib/Ptinform.h"

#include "EffectCoreTestSupport.h"
#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>

using effcoretest::FillBitmap;
using effcoretest::SolidBitmap;

namespace {

constexpr TColor Bg = 0x00123456;
TColor At(TBitmap& b, int x, int y) { return b.Image().GetColor(x, y); }

} // namespace

TEST(EputilsTest, SmallArithmeticHelpers)
{
    EXPECT_EQ(Eputils::Compose(1, 2, 3), 0x00030201u);
    EXPECT_EQ(Eputils::Min(-3, 2), -3);
    EXPECT_EQ(Eputils::Max(-3, 2), 2);
    EXPECT_EQ(Eputils::RGBChange(0x000A80F5, 70, 70, 70), 0x0050C6FFu);
    EXPECT_EQ(Eputils::MiddleColor(clWhite, clBlack), 0x007F7F7Fu);
}

TEST(EputilsTest, PointInRectIncludesAllFourEdges)
{
    const TRect r = Rect(2, 3, 10, 8);
    EXPECT_TRUE(Eputils::PointInRect(Point(10, 8), r));
    EXPECT_TRUE(Eputils::PointInRect(Point(2, 3), r));
    EXPECT_TRUE(Eputils::PointInRect(Point(10, 5), r));
    EXPECT_FALSE(Eputils::PointInRect(Point(11, 5), r));
    EXPECT_FALSE(Eputils::PointInRect(Point(5, 2), r));
}

TEST(EputilsTest, DrawBitmapTransparentHasNoCornerKey)
{
    TBitmap src, dst;
    FillBitmap(src, { { clRed, clBlue }, { clBlack, clRed } });
    SolidBitmap(dst, 4, 4, Bg);
    Eputils::DrawBitmapTransparent(dst.Canvas(), 1, 1, &src, clRed);
    EXPECT_EQ(At(dst, 1, 1), Bg);
    EXPECT_EQ(At(dst, 2, 1), clBlue);
    EXPECT_EQ(At(dst, 1, 2), clBlack);
    EXPECT_EQ(At(dst, 2, 2), Bg);

    SolidBitmap(dst, 4, 4, Bg);
    Eputils::DrawBitmapTransparent(dst.Canvas(), 0, 0, &src, clNone);
    EXPECT_EQ(At(dst, 0, 0), clRed);
    EXPECT_EQ(At(dst, 0, 1), clBlack);

    // The default-colour value is an ordinary colour here (black once resolved), not the
    // bottom-left pixel: the lime corner is drawn.
    FillBitmap(src, { { clRed, clBlue }, { clLime, clRed } });
    SolidBitmap(dst, 4, 4, Bg);
    Eputils::DrawBitmapTransparent(dst.Canvas(), 0, 0, &src, clDefault);
    EXPECT_EQ(At(dst, 0, 1), clLime);
    EXPECT_EQ(At(dst, 1, 0), clBlue);
}

TEST(EputilsTest, BlurReadsTheUnchangedSourceAndWritesDest)
{
    TBitmap src, dst;
    FillBitmap(src, { { clBlack, clWhite, clBlack } });
    const plat::Surface original = src.Image();
    Eputils::Blur(&src, &dst, 1);
    EXPECT_TRUE(src.Image() == original);
    ASSERT_EQ(dst.Width(), 3);
    // (1, 0): acc white -> with black (0,0) 0x7F -> with itself 0xBF -> with black 0x5F.
    EXPECT_EQ(At(dst, 1, 0), 0x005F5F5Fu);
    // (0, 0): acc black -> with itself 0 -> with white 0x7F.
    EXPECT_EQ(At(dst, 0, 0), 0x007F7F7Fu);
}

TEST(EputilsTest, DeviceIndependentBitsRoundTripAndRefuseBadHeaders)
{
    TBitmap src;
    FillBitmap(src, { { clRed, clLime, clBlue }, { 0x00332211, clWhite, clBlack } });
    TEffectBmpHeader info;
    std::vector<uint8_t> bits;
    ASSERT_TRUE(Eputils::GetDIB(&src, info, bits));
    EXPECT_EQ(info.biHeight, -2);
    EXPECT_EQ(bits.size(), 24u);
    EXPECT_EQ(bits[2], 0xFF);   // red byte of the first pixel

    TBitmap copy;
    ASSERT_TRUE(Eputils::SetDIB(&copy, info, bits));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(At(copy, x, y), At(src, x, y));

    TEffectBmpHeader bottomUp = info;
    bottomUp.biHeight = 2;
    ASSERT_TRUE(Eputils::SetDIB(&copy, bottomUp, bits));
    EXPECT_EQ(At(copy, 0, 1), clRed);

    TEffectBmpHeader bad = info;
    bad.biBitCount = 32;
    EXPECT_FALSE(Eputils::SetDIB(&copy, bad, bits));
    std::vector<uint8_t> shortBits(bits.begin(), bits.end() - 1);
    EXPECT_FALSE(Eputils::SetDIB(&copy, info, shortBits));
    EXPECT_EQ(At(copy, 0, 1), clRed);   // unchanged by the refusals
    TBitmap empty;
    EXPECT_FALSE(Eputils::GetDIB(&empty, info, bits));
}

TEST(EputilsTest, RegionFromBitmapCoversTheNonKeyPixels)
{
    TBitmap b;
    const TColor K = clWhite;
    FillBitmap(b, { { K, clRed, clRed, K }, { clRed, K, K, clRed }, { K, K, K, K } });
    plat::Region r = Eputils::CreateRgnFromBmp(&b, clDefault);
    EXPECT_EQ(r.Area(), 4);
    EXPECT_TRUE(r.Contains(1, 0));
    EXPECT_TRUE(r.Contains(3, 1));
    EXPECT_FALSE(r.Contains(1, 1));
    plat::Region red = Eputils::CreateRgnFromBmp(&b, clRed);
    EXPECT_EQ(red.Area(), 8);
    TBitmap empty;
    EXPECT_TRUE(Eputils::CreateRgnFromBmp(&empty, clDefault).Empty());
}

TEST(EputilsTest, PixelHolderAndBitSetStayInBounds)
{
    TBitmap src;
    FillBitmap(src, { { clRed, clBlue } });
    Eputils::TFBitmap f(&src);
    EXPECT_EQ(f.Pixel(1, 0), clBlue);
    EXPECT_EQ(f.Pixel(2, 0), clNone);
    f.SetPixel(0, 0, clBtnFace);
    f.SetPixel(-1, 0, clWhite);
    EXPECT_EQ(f.Pixel(0, 0), 0x00C0C0C0u);
    TBitmap back;
    f.AssignTo(&back);
    EXPECT_EQ(At(back, 0, 0), 0x00C0C0C0u);
    EXPECT_EQ(At(back, 1, 0), clBlue);

    Eputils::TBits bits;
    EXPECT_FALSE(bits.Bits(5));
    EXPECT_EQ(bits.OpenBit(), 0);
    bits.SetBits(0, true);
    bits.SetBits(1, true);
    bits.SetBits(3, true);
    EXPECT_EQ(bits.Size(), 4);
    EXPECT_EQ(bits.OpenBit(), 2);
    bits.SetBits(-1, true);
    EXPECT_FALSE(bits.Bits(-1));
    bits.SetBits(2, true);
    EXPECT_EQ(bits.OpenBit(), 4);
    bits.SetSize(2);
    EXPECT_FALSE(bits.Bits(3));
}

TEST(PtinformTest, EllipseTestUsesHalfAxesFromTheRectangle)
{
    const TRect r = Rect(0, 0, 20, 10);   // centre (10, 5), a = 10, b = 5
    EXPECT_TRUE(PointinEllipse(10, 5, r));
    EXPECT_TRUE(PointinEllipse(0, 5, r));
    EXPECT_TRUE(PointinEllipse(20, 5, r));
    EXPECT_TRUE(PointinEllipse(10, 0, r));
    EXPECT_FALSE(PointinEllipse(10, 11, r));
    EXPECT_FALSE(PointinEllipse(1, 1, r));
    // A flat rectangle has a half-axis of 0, taken as 1.
    EXPECT_TRUE(PointinEllipse(5, 1, Rect(0, 1, 10, 2)));
    EXPECT_TRUE(PointinEllipse(5, 2, Rect(0, 1, 10, 2)));
    EXPECT_FALSE(PointinEllipse(5, 3, Rect(0, 1, 10, 2)));
}

TEST(PtinformTest, RoundedRectangleTestCutsTheCorners)
{
    const TRect r = Rect(0, 0, 20, 20);
    EXPECT_TRUE(PointinRndRect(10, 0, 5, r));    // the narrowed band
    EXPECT_TRUE(PointinRndRect(0, 10, 5, r));
    EXPECT_FALSE(PointinRndRect(0, 0, 5, r));    // the corner is cut
    EXPECT_TRUE(PointinRndRect(2, 2, 5, r));     // within 5 of (5, 5)
    EXPECT_FALSE(PointinRndRect(19, 19, 5, r));  // 5.66 from (15, 15)
    EXPECT_TRUE(PointinRndRect(18, 18, 5, r));
    EXPECT_FALSE(PointinRndRect(25, 10, 5, r));
    EXPECT_TRUE(PointinRndRect(0, 0, 0, r));
    EXPECT_FALSE(PointinRndRect(-4, -4, -5, r));   // a negative radius is 0
}
