#include "effectlib/Effbmp.h"

#include "EffectCoreTestSupport.h"
#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A buffer of w x h with reproducible random pixels.
TEffectBmp Noise(int w, int h, unsigned seed)
{
    TEffectBmp b(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, rng() & 0xFFFFFF);
    return b;
}

bool SamePixels(const TEffectBmp& a, const TEffectBmp& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y))
                return false;
    return true;
}

// The four-sample blur written pixel by pixel from the rule, for comparison with the
// row-pointer version.
void ReferenceSplitBlur(TEffectBmp& b, int amount, const TEffectBmp* mask)
{
    const int a = amount < 0 ? -amount : amount;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            if (mask && mask->GetPixel(x, y) != 0)
                continue;
            const int yu = y - a < 0 ? y : y - a, yd = y + a >= b.Height() ? y : y + a;
            const int xl = x - a < 0 ? x : x - a, xr = x + a >= b.Width() ? x : x + a;
            const uint32_t s[4] = { b.GetPixel(xl, yu), b.GetPixel(xl, yd), b.GetPixel(xr, yu),
                b.GetPixel(xr, yd) };
            uint32_t v = 0;
            for (int c = 0; c < 24; c += 8) {
                uint32_t sum = 0;
                for (uint32_t p : s)
                    sum += (p >> c) & 0xFF;
                v |= (sum >> 2) << c;
            }
            b.SetPixel(x, y, v);
        }
    }
}

} // namespace

TEST(EffbmpTest, RowsArePaddedToFourBytesAndTheHeaderDescribesATopDownBuffer)
{
    EXPECT_EQ(TEffectBmp(4, 2).Stride(), 12);
    EXPECT_EQ(TEffectBmp(5, 2).Stride(), 16);
    EXPECT_EQ(TEffectBmp(6, 2).Stride(), 20);
    EXPECT_EQ(TEffectBmp(7, 3).Size(), 3 * 24);
    const TEffectBmp b(5, 3);
    EXPECT_EQ(b.Header().biSize, 40u);
    EXPECT_EQ(b.Header().biWidth, 5);
    EXPECT_EQ(b.Header().biHeight, -3);
    EXPECT_EQ(b.Header().biBitCount, 24);
    EXPECT_EQ(b.GetLine(2) - b.GetLine(0), 32);
    EXPECT_TRUE(TEffectBmp(-3, 4).Empty());
    EXPECT_EQ(TEffectBmp(-3, 4).Size(), 0);
}

TEST(EffbmpTest, PixelValuesHaveBlueInTheLowByte)
{
    TBitmap src;
    effcoretest::FillBitmap(src, { { clRed, clBlue }, { 0x00332211, clWhite } });
    TEffectBmp b(&src);
    EXPECT_EQ(b.GetPixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(b.GetLine(0)[0], 0);
    EXPECT_EQ(b.GetLine(0)[2], 255);
    EXPECT_EQ(b.GetPixel(1, 0), 0x000000FFu);
    EXPECT_EQ(b.GetPixel(0, 1), 0x00112233u);

    b.SetPixel(1, 1, 0xAB00FF00);   // bits 24-31 are not stored
    EXPECT_EQ(b.GetPixel(1, 1), 0x0000FF00u);

    TBitmap dst;
    effcoretest::SolidBitmap(dst, 4, 4, clBlack);
    b.Draw(dst.Canvas(), 1, 2);
    EXPECT_EQ(dst.Image().GetColor(1, 2), clRed);
    EXPECT_EQ(dst.Image().GetColor(2, 2), clBlue);
    EXPECT_EQ(dst.Image().GetColor(1, 3), 0x00332211u);
    EXPECT_EQ(dst.Image().GetColor(2, 3), clLime);
    EXPECT_EQ(dst.Image().GetColor(0, 2), clBlack);
    EXPECT_EQ(src.Image().GetColor(1, 1), clWhite);   // the source is unchanged
}

TEST(EffbmpTest, ScanLinesCopyOutAndIn)
{
    TEffectBmp b = Noise(5, 3, 1);
    uint8_t row[15];
    b.GetScanLine(1, row);
    b.SetLine(2, row);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(b.GetPixel(x, 2), b.GetPixel(x, 1));
    TEffectBmp copy(b);
    EXPECT_TRUE(SamePixels(copy, b));
    EXPECT_EQ(copy.Stride(), 16);
}

TEST(EffbmpTest, SplitBlurOfOnePixelSamplesItselfAndEdgesSampleTheirOwnRowAndColumn)
{
    TEffectBmp one(1, 1);
    one.SetPixel(0, 0, 0x00C08041);
    one.SplitBlur(1);
    EXPECT_EQ(one.GetPixel(0, 0), 0x00C08041u);

    // 2 x 2: pixel (0, 0) samples (0,0) (0,1) (1,0) (1,1), all original.
    TEffectBmp b(2, 2);
    b.SetPixel(0, 0, 0x000000F0);
    b.SetPixel(1, 0, 0x00000010);
    b.SetPixel(0, 1, 0x00000020);
    b.SetPixel(1, 1, 0x00000004);
    b.SplitBlur(1);
    EXPECT_EQ(b.GetPixel(0, 0), (0xF0u + 0x10 + 0x20 + 0x04) >> 2);   // 0x49
    // (1, 0): the right column is its own: samples (0,0)=0x49 (0,1) (1,0) (1,1).
    EXPECT_EQ(b.GetPixel(1, 0), (0x49u + 0x20 + 0x10 + 0x04) >> 2);
}

TEST(EffbmpTest, SplitBlurMatchesThePixelByPixelRule)
{
    for (int amount : { 1, 2, 3, -2, 40 }) {
        TEffectBmp fast = Noise(13, 9, unsigned(amount + 100));
        TEffectBmp slow(fast);
        fast.SplitBlur(amount);
        ReferenceSplitBlur(slow, amount, nullptr);
        EXPECT_TRUE(SamePixels(fast, slow)) << "amount " << amount;
    }
    TEffectBmp still = Noise(4, 4, 9), before(still);
    still.SplitBlur(0);
    EXPECT_TRUE(SamePixels(still, before));
}

TEST(EffbmpTest, MaskSplitBlurTouchesOnlyPureBlackMaskPixels)
{
    TEffectBmp mask(11, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x)
            mask.SetPixel(x, y, (x * 3 + y) % 4 == 0 ? 0 : 0xFFFFFF);
    mask.SetPixel(5, 3, 0x00000001);   // (0, 0, 1) is not black
    TEffectBmp fast = Noise(11, 7, 5);
    TEffectBmp slow(fast);
    const uint32_t kept = fast.GetPixel(5, 3);
    fast.MaskSplitBlur(&mask, 1);
    ReferenceSplitBlur(slow, 1, &mask);
    EXPECT_TRUE(SamePixels(fast, slow));
    EXPECT_EQ(fast.GetPixel(5, 3), kept);
    EXPECT_NE(fast.GetPixel(0, 0), Noise(11, 7, 5).GetPixel(0, 0));
}

TEST(EffbmpTest, MaskSplitBlurRefusesMasksOfAnotherShape)
{
    TEffectBmp b = Noise(6, 5, 3), before(b);
    TEffectBmp narrow(5, 5), shortMask(6, 4), tall(6, 9);
    b.MaskSplitBlur(&narrow, 1);
    b.MaskSplitBlur(&shortMask, 1);
    b.MaskSplitBlur(&tall, 0);
    EXPECT_TRUE(SamePixels(b, before));
    b.MaskSplitBlur(&tall, 1);   // more rows than the buffer is fine; all black here
    TEffectBmp expected(before);
    ReferenceSplitBlur(expected, 1, nullptr);
    EXPECT_TRUE(SamePixels(b, expected));
}

TEST(EffbmpTest, BlurAveragesNeighboursIntoAnAccumulator)
{
    // One row of three: the middle pixel with Amount 1 takes, in order, itself, then
    // left, itself and right (the vertical neighbours are outside).
    TEffectBmp b(3, 1);
    b.SetPixel(0, 0, 0x00000000);
    b.SetPixel(1, 0, 0x00000080);
    b.SetPixel(2, 0, 0x000000FF);
    TEffectBmp copy(b);
    copy.Blur(1);
    // (0,0): acc 0 -> (0+0)/2 = 0 -> with (1,0): 0x40.
    EXPECT_EQ(copy.GetPixel(0, 0), 0x40u);
    // (1,0): acc 0x80 -> with (0,0)=0x40: 0x60 -> with itself: 0x70 -> with (2,0): 0xB7.
    EXPECT_EQ(copy.GetPixel(1, 0), 0xB7u);
    b.Blur(-1);   // an empty offset range leaves the pixels
    EXPECT_EQ(b.GetPixel(1, 0), 0x80u);
}

TEST(EffbmpTest, ColourMixingOperationsClipAndRound)
{
    TEffectBmp b(4, 3);
    b.AddMiddleColorInRect(clWhite, Rect(-5, 1, 1, 9));   // columns 0..1, rows 1..2
    EXPECT_EQ(b.GetPixel(0, 1), 0x7F7F7Fu);
    EXPECT_EQ(b.GetPixel(1, 2), 0x7F7F7Fu);
    EXPECT_EQ(b.GetPixel(2, 1), 0u);
    EXPECT_EQ(b.GetPixel(0, 0), 0u);
    b.AddMiddleColor(clRed);
    EXPECT_EQ(b.GetPixel(3, 0), 0x7F0000u);   // red lands in the red byte
    EXPECT_EQ(b.GetPixel(0, 1), 0xBF3F3Fu);

    TEffectBmp x(2, 1), y(2, 1);
    x.SetPixel(0, 0, 0x000064);
    y.SetPixel(0, 0, 0x0000C8);
    x.Morph(&y, 0.25);
    EXPECT_EQ(x.GetPixel(0, 0), 0x7Du);   // 0.75 * 100 + 0.25 * 200 = 125
    x.Morph(&y, 7.0);                     // clamped to 1
    EXPECT_EQ(x.GetPixel(0, 0), 0xC8u);
    TEffectBmp other(3, 1);
    x.Morph(&other, 1.0);                 // another size: nothing
    EXPECT_EQ(x.GetPixel(0, 0), 0xC8u);
    x.MiddleBMP(&other);
    EXPECT_EQ(x.GetPixel(0, 0), 0xC8u);
    x.MiddleBMP(&y);
    EXPECT_EQ(x.GetPixel(0, 0), 0xC8u);
    x.SetPixel(1, 0, 0x000001);
    x.MiddleBMP(&y);
    EXPECT_EQ(x.GetPixel(1, 0), 0u);      // (1 + 0) div 2
}

TEST(EffbmpTest, GradientsAreFullAtTheNamedEdgeAndSafeOnThinBuffers)
{
    TEffectBmp b(3, 2);   // black
    b.AddGradColor(clWhite, gdLeft);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFFFFFFu);
    EXPECT_EQ(b.GetPixel(1, 1), 0x808080u);   // 127.5 rounds to even: 128
    EXPECT_EQ(b.GetPixel(2, 1), 0u);

    TEffectBmp r(3, 1);
    r.AddGradColor(clRed, gdRight);
    EXPECT_EQ(r.GetPixel(2, 0), 0xFF0000u);
    EXPECT_EQ(r.GetPixel(0, 0), 0u);

    TEffectBmp v(1, 3);
    v.AddGradColor(clWhite, gdBottom);
    EXPECT_EQ(v.GetPixel(0, 2), 0xFFFFFFu);
    EXPECT_EQ(v.GetPixel(0, 0), 0u);

    // Buffers whose step would divide by zero take steps of 1: colour at the edge only.
    for (TGradKind k : { gdRight, gdLeft, gdTop, gdBottom, gdVCenter, gdHCenter }) {
        TEffectBmp thin(1, 1), pair(2, 2);
        thin.AddGradColor(clWhite, k);
        pair.AddGradColor(clWhite, k);
        EXPECT_EQ(thin.GetPixel(0, 0), 0xFFFFFFu) << k;
    }
    TEffectBmp c(5, 1);
    c.AddGradColor(clWhite, gdVCenter);   // middle column 2, step 1/2
    EXPECT_EQ(c.GetPixel(2, 0), 0xFFFFFFu);
    EXPECT_EQ(c.GetPixel(1, 0), 0x808080u);
    EXPECT_EQ(c.GetPixel(0, 0), 0u);
    EXPECT_EQ(c.GetPixel(3, 0), 0xFFFFFFu);   // the second half starts afresh
    EXPECT_EQ(c.GetPixel(4, 0), 0x808080u);
}

TEST(EffbmpTest, GeometricOperationsMoveAndRepeatPixels)
{
    TEffectBmp b(3, 2);
    for (int i = 0; i < 6; ++i)
        b.SetPixel(i % 3, i / 3, uint32_t(i + 1));
    TEffectBmp f(b);
    f.Flip();
    EXPECT_EQ(f.GetPixel(0, 0), 3u);
    EXPECT_EQ(f.GetPixel(2, 1), 4u);
    f.Flop();
    EXPECT_EQ(f.GetPixel(0, 0), 6u);

    TEffectBmp tiled(7, 3);
    b.Tile(&tiled);
    EXPECT_EQ(tiled.GetPixel(6, 2), 1u);   // (6 mod 3, 2 mod 2)
    EXPECT_EQ(tiled.GetPixel(4, 1), 5u);

    TEffectBmp big(6, 4);
    b.Resize(&big);
    EXPECT_EQ(big.GetPixel(5, 3), 6u);
    EXPECT_EQ(big.GetPixel(2, 1), 2u);

    TEffectBmp dst(4, 4);
    dst.CopyRect(&b, Rect(2, 2, 9, 9), 1, 0);   // clipped to columns 2..3, rows 2..3
    EXPECT_EQ(dst.GetPixel(2, 2), 2u);
    EXPECT_EQ(dst.GetPixel(3, 3), 6u);
    EXPECT_EQ(dst.GetPixel(1, 2), 0u);
    dst.CopyRect(&b, Rect(0, 0, 4, 4), -10, -10);   // source wholly outside: nothing
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);

    TEffectBmp m(3, 2);
    m.MorphRect(&b, 1.0, Rect(1, 0, 5, 0), 0, 1);   // edges inclusive, clipped
    EXPECT_EQ(m.GetPixel(1, 0), 4u);
    EXPECT_EQ(m.GetPixel(2, 0), 5u);
    EXPECT_EQ(m.GetPixel(0, 0), 0u);
    EXPECT_EQ(m.GetPixel(1, 1), 0u);
}

TEST(EffbmpTest, WaveAndNoiseLeaveDegenerateArgumentsAlone)
{
    TEffectBmp b = Noise(5, 5, 4), before(b);
    b.Wave(0, 3, 4);
    b.Wave(3, 0, 4);
    b.AddColorNoise(0);
    b.AddColorNoise(-3);
    EXPECT_TRUE(SamePixels(b, before));
    b.Wave(2, 2, 0);   // no displacement
    EXPECT_TRUE(SamePixels(b, before));
    b.Wave(1, 1, 1000);   // far displacement stays inside the buffer
    TEffectBmp waved(b);
    b.AddColorNoise(1);   // a single value, 0, minus 0: unchanged
    EXPECT_TRUE(SamePixels(b, waved));
    TEffectBmp empty(0, 0);
    empty.SplitBlur(3);
    empty.AddGradColor(clRed, gdHCenter);
    empty.Blur(2);
    EXPECT_EQ(empty.Size(), 0);
}

TEST(EffbmpTest, CopiesOntoAContextClipAndTile)
{
    TEffectBmp b(2, 1);
    b.SetPixel(0, 0, 0xFF0000);   // red
    b.SetPixel(1, 0, 0x0000FF);   // blue
    TBitmap dst;
    effcoretest::SolidBitmap(dst, 6, 3, clBlack);
    b.TileDraw(dst.Canvas()->Handle(), 1, 1, 5, 5);
    EXPECT_EQ(dst.Image().GetColor(1, 1), clRed);
    EXPECT_EQ(dst.Image().GetColor(2, 2), clBlue);
    EXPECT_EQ(dst.Image().GetColor(5, 2), clRed);
    EXPECT_EQ(dst.Image().GetColor(0, 1), clBlack);
    EXPECT_EQ(dst.Image().GetColor(3, 0), clBlack);

    effcoretest::SolidBitmap(dst, 6, 3, clBlack);
    b.Stretch(dst.Canvas()->Handle(), 0, 0, 4, 2);
    EXPECT_EQ(dst.Image().GetColor(1, 1), clRed);
    EXPECT_EQ(dst.Image().GetColor(2, 0), clBlue);
    EXPECT_EQ(dst.Image().GetColor(4, 0), clBlack);
    b.DrawRect(dst.Canvas()->Handle(), Rect(5, 0, 6, 3), Rect(1, 0, 2, 1));
    EXPECT_EQ(dst.Image().GetColor(5, 2), clBlue);
}
