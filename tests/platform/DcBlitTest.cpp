// Block copies of the drawing context: plain, stretched, keyed, and the monochrome copy.

#include "platform/DcTestUtil.h"

#include <gtest/gtest.h>

#include <random>

using namespace plat;
using namespace dctest;

namespace {

// A source whose every pixel is different: colour 1 + x + 16 y.
Surface Numbered(int32_t w, int32_t h)
{
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.SetColor(x, y, Color(1 + x + 16 * y));
    return s;
}

Color Num(int32_t x, int32_t y) { return Color(1 + x + 16 * y); }

TEST(DcBlit, CopySkipsWhatLiesOutsideTheSource)
{
    Surface src = Numbered(4, 4);
    Surface dst = PaperSurface(8, 8);
    Dc dc(&dst);
    dc.BitBlt(1, 1, 6, 6, src, -2, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int sx = x - 1 - 2, sy = y - 1 + 1;
            bool copied = x >= 1 && x < 7 && y >= 1 && y < 7 && sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
            EXPECT_EQ(dst.GetColor(x, y), copied ? Num(sx, sy) : Paper) << x << "," << y;
        }
}

TEST(DcBlit, RasterOperationsCombineSourceAndDestination)
{
    const Color S = 0x00F0F00F, D = 0x0033CC55, B = 0x00123456;
    struct Case {
        Rop rop;
        Color want;
    } cases[] = {
        { Rop::SrcCopy, S },
        { Rop::SrcAnd, S & D },
        { Rop::SrcPaint, S | D },
        { Rop::SrcInvert, S ^ D },
        { Rop::SrcErase, S & ~D & 0xFFFFFF },
        { Rop::NotSrcCopy, ~S & 0xFFFFFF },
        { Rop::DstInvert, ~D & 0xFFFFFF },
        { Rop::Blackness, 0 },
        { Rop::Whiteness, 0xFFFFFF },
        { Rop::PatCopy, B },
    };
    Surface src(1, 1);
    src.SetColor(0, 0, S);
    for (const Case& c : cases) {
        Surface dst(2, 1);
        dst.Fill(D);
        Dc dc(&dst);
        dc.SetBrush({ BrushStyle::Solid, B });
        dc.BitBlt(0, 0, 1, 1, src, 0, 0, c.rop);
        EXPECT_EQ(dst.GetColor(0, 0), c.want) << int(c.rop);
        EXPECT_EQ(dst.GetColor(1, 0), D);
        Surface st(2, 1);
        st.Fill(D);
        Dc ds(&st);
        ds.SetBrush({ BrushStyle::Solid, B });
        ds.StretchBlt(0, 0, 1, 1, src, 0, 0, 1, 1, c.rop);
        EXPECT_EQ(st, dst) << int(c.rop);
    }
}

TEST(DcBlit, StretchDoublesHalvesAndMirrors)
{
    Surface src = Numbered(6, 4);
    Surface big(12, 8);
    Dc db(&big);
    db.StretchBlt(0, 0, 12, 8, src, 0, 0, 6, 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(big.GetColor(x, y), Num(x / 2, y / 2)) << x << "," << y;

    Surface half(3, 2);
    Dc dh(&half);
    dh.StretchBlt(0, 0, 3, 2, src, 0, 0, 6, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(half.GetColor(x, y), Num(2 * x + 1, 2 * y + 1)) << x << "," << y;

    // A negative extent runs from its start point leftwards (or upwards).
    Surface mir(6, 4);
    Dc dm(&mir);
    dm.StretchBlt(5, 0, -6, 4, src, 0, 0, 6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(mir.GetColor(x, y), Num(5 - x, y)) << x << "," << y;
    Surface flip(6, 4);
    Dc df(&flip);
    df.StretchBlt(0, 0, 6, 4, src, 0, 3, 6, -4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(flip.GetColor(x, y), Num(x, 3 - y)) << x << "," << y;
}

TEST(DcBlit, MaskedCopyKeepsTheDestinationUnderTheKeyAndLeavesTheSource)
{
    const Color Key = 0x00FF00FF;
    Surface src = Numbered(4, 4);
    src.SetColor(1, 1, Key);
    src.SetColor(2, 3, Key);
    const Surface original = src;
    Surface dst = PaperSurface(10, 10);
    Dc dc(&dst);
    dc.MaskedBlt(2, 2, 4, 4, src, 0, 0, 4, 4, Key);
    EXPECT_EQ(src, original);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            bool key = src.GetColor(x, y) == Key;
            EXPECT_EQ(dst.GetColor(x + 2, y + 2), key ? Paper : Num(x, y)) << x << "," << y;
        }
    EXPECT_EQ(PixelsNot(dst, Paper).size(), 14u);

    // Stretched by 2, a key pixel keeps a 2 x 2 block of the destination.
    Surface big = PaperSurface(8, 8);
    Dc db(&big);
    db.MaskedBlt(0, 0, 8, 8, src, 0, 0, 4, 4, Key);
    EXPECT_EQ(src, original);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool key = src.GetColor(x / 2, y / 2) == Key;
            EXPECT_EQ(big.GetColor(x, y), key ? Paper : Num(x / 2, y / 2)) << x << "," << y;
        }
}

TEST(DcBlit, CopyWithinOneSurfaceReadsTheOldPixels)
{
    Surface s = Numbered(8, 3);
    const Surface before = s;
    Dc dc(&s);
    dc.BitBlt(1, 0, 7, 3, s, 0, 0);   // scroll right by one
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 8; ++x)
            EXPECT_EQ(s.GetColor(x, y), before.GetColor(x - 1, y));
    Surface m = Numbered(8, 3);
    Dc dm(&m);
    dm.MaskedBlt(0, 0, 6, 3, m, 2, 0, 6, 3, 0x00FF00FF);   // scroll left by two
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(m.GetColor(x, y), Num(x + 2, y));
}

// Per-pixel reference of the stretched copy through a clip region.
TEST(DcBlit, CopiesThroughAComplexClipMatchAPerPixelReference)
{
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> c(-6, 20), sz(-12, 12);
    Surface src = Numbered(9, 7);
    for (int n = 0; n < 300; ++n) {
        Region clip;
        for (int k = 0; k < 4; ++k) {
            int x = c(rng), y = c(rng);
            clip |= Region(Rect { x, y, x + std::abs(sz(rng)), y + std::abs(sz(rng)) });
        }
        clip -= Region(Rect { c(rng), c(rng), c(rng), c(rng) }.Normalized());
        int x = c(rng), y = c(rng), w = sz(rng), h = sz(rng), sx = c(rng) / 2, sy = c(rng) / 2;
        int sw = sz(rng), sh = sz(rng);
        const int kind = n % 3;
        Surface dst = PaperSurface(16, 16);
        Dc dc(&dst);
        dc.SelectClipRegion(&clip);
        const Color key = Num(3, 3);
        if (kind == 0)
            dc.BitBlt(x, y, w, h, src, sx, sy);
        else if (kind == 1)
            dc.StretchBlt(x, y, w, h, src, sx, sy, sw, sh);
        else
            dc.MaskedBlt(x, y, w, h, src, sx, sy, sw, sh, key);
        if (kind == 0)
            sw = w, sh = h;
        for (int py = 0; py < 16; ++py)
            for (int px = 0; px < 16; ++px) {
                Color want = Paper;
                bool inW = w > 0 ? (px >= x && px < x + w) : (px <= x && px > x + w);
                bool inH = h > 0 ? (py >= y && py < y + h) : (py <= y && py > y + h);
                bool usable = clip.Contains(px, py) && inW && inH && sw != 0 && sh != 0
                    && (kind != 0 || (w > 0 && h > 0));
                if (usable) {
                    int i = std::abs(px - x), j = std::abs(py - y);
                    int ki = (2 * i + 1) * std::abs(sw) / (2 * std::abs(w));
                    int kj = (2 * j + 1) * std::abs(sh) / (2 * std::abs(h));
                    int u = sw > 0 ? sx + ki : sx - ki, v = sh > 0 ? sy + kj : sy - kj;
                    if (u >= 0 && u < 9 && v >= 0 && v < 7) {
                        Color sc = Num(u, v);
                        if (kind != 2 || sc != key)
                            want = sc;
                    }
                }
                ASSERT_EQ(dst.GetColor(px, py), want) << "case " << n << " kind " << kind << " at "
                                                      << px << "," << py;
            }
    }
}

TEST(DcBlit, MonochromeIsWhiteOnTheBackgroundColour)
{
    Surface src = Numbered(5, 3);
    src.SetColor(0, 0, 0x00ABCDEF);
    src.SetColor(4, 2, 0x00ABCDEF);
    Surface m = ToMonochrome(src, 0x00ABCDEF);
    ASSERT_EQ(m.Width(), 5);
    ASSERT_EQ(m.Height(), 3);
    EXPECT_EQ(m.Format(), PixelFormat::Bpp1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(m.GetColor(x, y), src.GetColor(x, y) == 0x00ABCDEF ? 0xFFFFFFu : 0u);
}

} // namespace
