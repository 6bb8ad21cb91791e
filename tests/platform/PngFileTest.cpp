#include "platform/raster/ImageFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace plat;

namespace {

uint32_t Crc32(const uint8_t* p, size_t n)
{
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
    }
    return ~c;
}

void PutBe32(Bytes& b, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(uint8_t(v >> s));
}

void Chunk(Bytes& png, const char* type, const Bytes& data)
{
    PutBe32(png, uint32_t(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// A PNG built by hand: the rows (each led by filter byte 0) go into one stored deflate block.
Bytes MakePng(uint32_t w, uint32_t h, int depth, int colorType, const Bytes& rows,
    const Bytes& plte = {}, const Bytes& trns = {})
{
    Bytes png { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    Bytes ihdr;
    PutBe32(ihdr, w);
    PutBe32(ihdr, h);
    ihdr.insert(ihdr.end(), { uint8_t(depth), uint8_t(colorType), 0, 0, 0 });
    Chunk(png, "IHDR", ihdr);
    if (!plte.empty())
        Chunk(png, "PLTE", plte);
    if (!trns.empty())
        Chunk(png, "tRNS", trns);
    Bytes z { 0x78, 0x01, 0x01, uint8_t(rows.size()), uint8_t(rows.size() >> 8),
        uint8_t(~rows.size()), uint8_t(~rows.size() >> 8) };
    z.insert(z.end(), rows.begin(), rows.end());
    uint32_t a = 1, b = 0;
    for (uint8_t v : rows)
        a = (a + v) % 65521, b = (b + a) % 65521;
    PutBe32(z, b << 16 | a);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

Surface Pattern(int32_t w, int32_t h)
{
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.SetColor(x, y, Rgb(uint8_t(x * 15), uint8_t(255 - y * 9), uint8_t(x * y)));
    return s;
}

} // namespace

TEST(Png, RgbRoundTrip)
{
    Surface s = Pattern(17, 5);
    Bytes first = WritePng(s);
    ASSERT_GT(first.size(), 8u);
    auto back = ReadPng(first);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->alpha.empty());
    EXPECT_EQ(back->color, s);
    EXPECT_EQ(WritePng(back->color), first);
}

TEST(Png, RgbaRoundTripKeepsColourUnderClearAlpha)
{
    Surface s = Pattern(6, 4);
    std::vector<uint8_t> alpha(24);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = uint8_t(i * 11);
    Bytes first = WritePng(s, alpha);
    auto back = ReadPng(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->alpha, alpha);
    EXPECT_EQ(back->color, s);
    EXPECT_EQ(WritePng(back->color, back->alpha), first);
}

TEST(Png, SixteenBitSamplesAreReducedNotRegraded)
{
    Bytes rows { 0, 0x12, 0x12, 0xAB, 0xAB, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0x01, 0x01 };
    auto img = ReadPng(MakePng(2, 1, 16, 2, rows));
    ASSERT_TRUE(img);
    EXPECT_TRUE(img->alpha.empty());
    EXPECT_EQ(img->color.GetColor(0, 0), Rgb(0x12, 0xAB, 0xFF));
    EXPECT_EQ(img->color.GetColor(1, 0), Rgb(0x00, 0x80, 0x01));
}

TEST(Png, PaletteWithTransparentEntryAndGrey)
{
    // Two bits per pixel: indices 0, 1, 2 of red, green, blue; green is transparent.
    Bytes plte { 255, 0, 0, 0, 255, 0, 0, 0, 255 };
    auto pal = ReadPng(MakePng(3, 1, 2, 3, { 0, 0x18 }, plte, { 255, 0 }));
    ASSERT_TRUE(pal);
    EXPECT_EQ(pal->color.GetColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(pal->color.GetColor(2, 0), Rgb(0, 0, 255));
    EXPECT_EQ(pal->alpha, (std::vector<uint8_t> { 255, 0, 255 }));

    auto grey = ReadPng(MakePng(2, 2, 8, 0, { 0, 0, 200, 0, 77, 255 }));
    ASSERT_TRUE(grey);
    EXPECT_TRUE(grey->alpha.empty());
    EXPECT_EQ(grey->color.GetColor(1, 0), Rgb(200, 200, 200));
    EXPECT_EQ(grey->color.GetColor(0, 1), Rgb(77, 77, 77));
}

TEST(Png, RefusesMalformedInput)
{
    const Bytes good = MakePng(2, 2, 8, 0, { 0, 0, 200, 0, 77, 255 });
    ASSERT_TRUE(ReadPng(good));
    auto refused = [](const Bytes& b) {
        ReportFailure("");
        return !ReadPng(b) && LastError().rfind("png:", 0) == 0;
    };
    for (size_t n = 0; n + 12 < good.size(); n += 3) // cuts before the end chunk
        EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + ptrdiff_t(n)))) << n;
    Bytes crc = good;
    crc[20] ^= 1; // inside the header chunk: its checksum no longer matches
    EXPECT_TRUE(refused(crc));
    EXPECT_TRUE(refused(MakePng(100000, 100000, 8, 0, { 0, 0 }))); // valid header, too large
    EXPECT_TRUE(refused(MakePng(4, 4, 8, 0, { 0, 1, 2, 3, 4 }))); // too little pixel data
    EXPECT_TRUE(refused(Bytes { 1, 2, 3 }));

    ReportFailure("");
    EXPECT_TRUE(WritePng(Surface()).empty());
    std::vector<uint8_t> shortAlpha(3);
    EXPECT_TRUE(WritePng(Pattern(2, 2), shortAlpha).empty());
    EXPECT_FALSE(LastError().empty());
}

TEST(Png, SaveAndLoad)
{
    std::string path = std::string(BINARY_DIR) + "/imagefiles_test.png";
    Surface s = Pattern(3, 3);
    ASSERT_TRUE(SavePngFile(path, s));
    auto back = LoadPngFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->color, s);
    EXPECT_FALSE(SavePngFile(path, Surface()));
}
