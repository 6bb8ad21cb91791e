#include "platform/raster/ImageFiles.h"
#include "platform/raster/Palette.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

uint32_t Le32At(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16
        | uint32_t(b[at + 3]) << 24;
}

// A 32 x 32 icon in the 16 standard colours whose two outer rows and columns are transparent.
IconImage SixteenColourIcon()
{
    auto vga = StandardPalette(PixelFormat::Bpp4);
    IconImage img;
    img.color = Surface(32, 32);
    img.mask = Surface(32, 32, PixelFormat::Bpp1);
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            img.color.SetColor(x, y, vga[size_t((x / 2 + y) % 15 + 1)]);
            if (x < 2 || y < 2 || x >= 30 || y >= 30)
                img.mask.SetColor(x, y, Rgb(255, 255, 255));
        }
    img.color.ConvertTo(PixelFormat::Bpp4);
    img.bpp = 4;
    return img;
}

Surface Pattern(int32_t w, int32_t h)
{
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.SetColor(x, y, Rgb(uint8_t(x * 13), uint8_t(y * 17), uint8_t(x + y)));
    return s;
}

} // namespace

TEST(IcoWrite, SixteenColourIconLayout)
{
    IconImage img = SixteenColourIcon();
    Bytes ico = WriteIco(std::span(&img, 1));
    const size_t entry = 40 + 64 + 512 + 128;
    ASSERT_EQ(ico.size(), 22 + entry);
    EXPECT_EQ(Bytes(ico.begin(), ico.begin() + 6), (Bytes { 0, 0, 1, 0, 1, 0 }));
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[7], 32);
    EXPECT_EQ(ico[8], 16); // colour count
    EXPECT_EQ(ico[12], 4); // bits per pixel
    EXPECT_EQ(Le32At(ico, 14), entry);
    EXPECT_EQ(Le32At(ico, 18), 22u);
    EXPECT_EQ(Le32At(ico, 22 + 8), 64u); // the header's height covers both bitmaps

    const size_t andMask = 22 + 40 + 64 + 512;
    // Row 0 is stored last; pixel (0, 0) is transparent, (5, 5) opaque.
    EXPECT_EQ(ico[andMask + 31 * 4] & 0x80, 0x80);
    EXPECT_EQ(ico[andMask + 26 * 4] & 0x04, 0);
    EXPECT_EQ(ico[andMask + 26 * 4], 0xC0);
    EXPECT_EQ(ico[andMask + 26 * 4 + 3], 0x03);
    // Transparent pixels are black (entry 0) in the colour bitmap.
    EXPECT_EQ(ico[22 + 40 + 64 + 31 * 16] >> 4, 0);
}

TEST(IcoRead, SixteenColourIconWithMask)
{
    IconImage img = SixteenColourIcon();
    Bytes ico = WriteIco(std::span(&img, 1));
    auto images = ReadIco(ico);
    ASSERT_EQ(images.size(), 1u);
    const IconImage& back = images[0];
    EXPECT_EQ(back.bpp, 4);
    EXPECT_EQ(back.color.Format(), PixelFormat::Bpp32);
    EXPECT_EQ(back.palette, StandardPalette(PixelFormat::Bpp4));
    ASSERT_EQ(back.color.Width(), 32);
    ASSERT_EQ(back.mask.Width(), 32);
    EXPECT_EQ(back.mask.Format(), PixelFormat::Bpp1);
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            bool clear = x < 2 || y < 2 || x >= 30 || y >= 30;
            ASSERT_EQ(back.mask.GetColor(x, y), clear ? Rgb(255, 255, 255) : 0u) << x << "," << y;
            ASSERT_EQ(back.alpha[size_t(y * 32 + x)], clear ? 0 : 255);
            ASSERT_EQ(back.color.GetColor(x, y), clear ? 0u : img.color.GetColor(x, y));
        }
    EXPECT_EQ(WriteIco(images), ico);
}

TEST(IcoWrite, EveryDepthRoundTrips)
{
    for (int bpp : { 1, 4, 8, 24, 32 }) {
        SCOPED_TRACE(bpp);
        IconImage img;
        img.color = Pattern(20, 12); // not square, width not a multiple of 32
        img.bpp = bpp;
        img.mask = Surface(20, 12, PixelFormat::Bpp1);
        img.mask.SetColor(19, 11, Rgb(255, 255, 255));
        if (bpp == 32) {
            img.alpha.assign(240, 255);
            for (size_t i = 0; i < 240; ++i)
                img.alpha[i] = uint8_t(i);
        }
        Bytes first = WriteIco(std::span(&img, 1));
        ASSERT_FALSE(first.empty());
        auto back = ReadIco(first);
        ASSERT_EQ(back.size(), 1u);
        EXPECT_EQ(back[0].bpp, bpp);
        if (bpp == 32) {
            EXPECT_EQ(back[0].alpha, img.alpha);
            EXPECT_EQ(back[0].mask.GetColor(7, 6), Rgb(255, 255, 255)); // alpha 127
            EXPECT_EQ(back[0].mask.GetColor(8, 6), 0u); // alpha 128
            EXPECT_EQ(back[0].color.GetColor(0, 0),
                img.color.GetColor(0, 0)); // colour kept under alpha 0
        } else {
            EXPECT_EQ(back[0].mask.GetColor(19, 11), Rgb(255, 255, 255));
            EXPECT_EQ(back[0].mask.GetColor(18, 11), 0u);
        }
        if (bpp >= 24) {
            EXPECT_EQ(back[0].color.GetColor(3, 4), img.color.GetColor(3, 4));
        }
        EXPECT_EQ(WriteIco(back), first);
    }
}

TEST(IcoRead, BestImageForASize)
{
    std::vector<IconImage> set(4);
    const int sizes[] = { 16, 32, 32, 48 }, depths[] = { 4, 4, 32, 8 };
    for (size_t i = 0; i < 4; ++i) {
        set[i].color = Pattern(sizes[i], sizes[i]);
        set[i].bpp = depths[i];
    }
    Bytes ico = WriteIco(set);
    ASSERT_EQ(ReadIco(ico).size(), 4u);
    auto pick = [&](int size) {
        auto img = ReadIcoBest(ico, size);
        return img ? std::make_pair(img->color.Width(), img->bpp) : std::make_pair(0, 0);
    };
    EXPECT_EQ(pick(32), std::make_pair(32, 32));
    EXPECT_EQ(pick(16), std::make_pair(16, 4));
    EXPECT_EQ(pick(24), std::make_pair(32, 32));
    EXPECT_EQ(pick(8), std::make_pair(16, 4));
    EXPECT_EQ(pick(64), std::make_pair(48, 8));
}

TEST(IcoRead, PngEntry)
{
    Surface s = Pattern(9, 7);
    std::vector<uint8_t> alpha(63);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = uint8_t(i * 4);
    Bytes png = WritePng(s, alpha);
    ASSERT_FALSE(png.empty());
    Bytes ico { 0, 0, 1, 0, 1, 0, 9, 7, 0, 0, 1, 0, 32, 0 };
    for (uint32_t v : { uint32_t(png.size()), 22u })
        for (int i = 0; i < 4; ++i)
            ico.push_back(uint8_t(v >> (8 * i)));
    ico.insert(ico.end(), png.begin(), png.end());
    auto img = ReadIcoBest(ico, 16);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->bpp, 32);
    EXPECT_EQ(img->color, s);
    EXPECT_EQ(img->alpha, alpha);
    EXPECT_EQ(img->mask.GetColor(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(img->mask.GetColor(8, 6), 0u); // alpha 248
}

TEST(IcoRead, RefusesMalformedInput)
{
    IconImage img = SixteenColourIcon();
    const Bytes good = WriteIco(std::span(&img, 1));
    auto refused = [](const Bytes& b) {
        ReportFailure("");
        return ReadIco(b).empty() && !LastError().empty();
    };
    for (size_t n = 0; n < good.size(); n += 7)
        EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + ptrdiff_t(n)))) << n;

    Bytes b = good;
    b[2] = 3;
    EXPECT_TRUE(refused(b)) << "type 3";
    b = good;
    b[4] = 0;
    EXPECT_TRUE(refused(b)) << "no entries";
    b = good;
    b[4] = 0xFF;
    EXPECT_TRUE(refused(b)) << "directory past the end";
    b = good;
    b[18] = 0xF0;
    EXPECT_TRUE(refused(b)) << "offset past the end";
    b = good;
    b[17] = 0x80;
    EXPECT_TRUE(refused(b)) << "size past the end";
    b = good;
    b[22 + 32] = 0;
    b[22 + 35] = 0x80; // colours used 2^31
    EXPECT_TRUE(refused(b)) << "table of 2^31 entries";
    // The entry stops where the AND mask starts: a 4-bit image cannot be read without it.
    b = good;
    b.resize(b.size() - 128);
    b[14] = uint8_t((40 + 64 + 512) & 0xFF);
    b[15] = uint8_t((40 + 64 + 512) >> 8);
    EXPECT_TRUE(refused(b)) << "mask missing";
    // A bitmap entry whose header claims more than an icon can hold (here 32 x 8 M pixels
    // from a few bytes of run-length codes) is refused before anything is allocated.
    b = good;
    b[22 + 8] = 0x00;
    b[22 + 9] = 0x00;
    b[22 + 10] = 0x00;
    b[22 + 11] = 0x01; // height 2^24: 2^23 rows of colour and as many of mask
    EXPECT_TRUE(refused(b)) << "taller than an icon";
    EXPECT_NE(LastError().find("larger than an icon"), std::string::npos) << LastError();
}

TEST(IcoWrite, RefusesWhatCannotBeStored)
{
    IconImage big;
    big.color = Surface(257, 16);
    EXPECT_TRUE(WriteIco(std::span(&big, 1)).empty());
    IconImage odd;
    odd.color = Surface(16, 16);
    odd.bpp = 16;
    EXPECT_TRUE(WriteIco(std::span(&odd, 1)).empty());
    EXPECT_TRUE(WriteIco({}).empty());
    IconImage full;
    full.color = Surface(256, 256);
    Bytes b = WriteIco(std::span(&full, 1));
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b[6], 0); // 256 is stored as 0
    auto back = ReadIco(b);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].color.Width(), 256);
}
