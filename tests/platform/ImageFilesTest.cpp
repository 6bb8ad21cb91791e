#include "platform/raster/ImageFiles.h"
#include "platform/raster/Palette.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>

using namespace plat;

namespace {

struct ByteBuilder {
    Bytes b;
    ByteBuilder& u8(std::initializer_list<int> v)
    {
        for (int x : v)
            b.push_back(uint8_t(x));
        return *this;
    }
    ByteBuilder& u16(uint32_t v) { return u8({ int(v & 0xFF), int(v >> 8 & 0xFF) }); }
    ByteBuilder& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
};

// A 40-byte info header.
ByteBuilder& Info(ByteBuilder& w, int32_t width, int32_t height, int bpp, uint32_t compression = 0,
    uint32_t imageSize = 0, uint32_t colorsUsed = 0)
{
    return w.u32(40)
        .u32(uint32_t(width))
        .u32(uint32_t(height))
        .u16(1)
        .u16(uint32_t(bpp))
        .u32(compression)
        .u32(imageSize)
        .u32(3780)
        .u32(3780)
        .u32(colorsUsed)
        .u32(0);
}

// Prepends the 14-byte file header to a header + table + pixels block.
Bytes WithFileHeader(const Bytes& rest, uint32_t offBits)
{
    ByteBuilder f;
    f.u8({ 'B', 'M' }).u32(uint32_t(14 + rest.size())).u32(0).u32(offBits);
    f.b.insert(f.b.end(), rest.begin(), rest.end());
    return f.b;
}

// The 2 x 2 24-bit file: red, green over blue, white; rows padded with two bytes.
Bytes TwoByTwo(bool topDown)
{
    ByteBuilder w;
    Info(w, 2, topDown ? -2 : 2, 24, 0, 16);
    auto top = [&] { w.u8({ 0, 0, 255, 0, 255, 0, 0, 0 }); };
    auto bottom = [&] { w.u8({ 255, 0, 0, 255, 255, 255, 0, 0 }); };
    if (topDown)
        top(), bottom();
    else
        bottom(), top();
    return WithFileHeader(w.b, 54);
}

Surface Pattern(int32_t w, int32_t h)
{
    Surface s(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            s.SetColor(
                x, y, Rgb(uint8_t(x * 29 + y * 3), uint8_t(y * 41 + 7), uint8_t((x ^ y) * 19)));
    return s;
}

// The bytes with a 32-bit little-endian value written at an offset.
Bytes Patched(Bytes b, size_t at, uint32_t v)
{
    if (at + 4 <= b.size())
        for (size_t i = 0; i < 4; ++i)
            b.at(at + i) = uint8_t(v >> (8 * i));
    return b;
}

void ExpectRefused(const Bytes& b, const char* what)
{
    ReportFailure("");
    EXPECT_FALSE(ReadBmp(b).has_value()) << what;
    EXPECT_FALSE(LastError().empty()) << what;
}

} // namespace

TEST(BmpRead, HandMadeTwoByTwoWithPadding)
{
    Bytes file = TwoByTwo(false);
    auto s = ReadBmp(file);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->Width(), 2);
    ASSERT_EQ(s->Height(), 2);
    EXPECT_EQ(s->Format(), PixelFormat::Bpp24);
    EXPECT_EQ(s->GetColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s->GetColor(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(s->GetColor(0, 1), Rgb(0, 0, 255));
    EXPECT_EQ(s->GetColor(1, 1), Rgb(255, 255, 255));
    // Our writer produces exactly these bytes.
    EXPECT_EQ(WriteBmp(*s), file);
}

TEST(BmpRead, TopDownEqualsBottomUp)
{
    auto up = ReadBmp(TwoByTwo(false));
    auto down = ReadBmp(TwoByTwo(true));
    ASSERT_TRUE(up && down);
    EXPECT_EQ(*up, *down);
    EXPECT_EQ(WriteBmp(*down), TwoByTwo(false)); // written bottom-up
}

TEST(BmpWrite, EveryDepthRoundTripsByteIdentical)
{
    for (PixelFormat f : { PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8,
             PixelFormat::Bpp24, PixelFormat::Bpp32 }) {
        SCOPED_TRACE(BitsPerPixel(f));
        Surface s = Pattern(13, 7); // odd width: every depth needs row padding
        s.ConvertTo(f);
        Bytes first = WriteBmp(s);
        const int bpp = BitsPerPixel(f);
        const size_t table = bpp <= 8 ? size_t(4) << bpp : 0;
        const size_t stride = (size_t(13) * bpp + 31) / 32 * 4;
        ASSERT_EQ(first.size(), 54 + table + stride * 7);
        EXPECT_EQ(first[28], bpp);
        EXPECT_EQ(first[10] | first[11] << 8, int(54 + table)); // pixel offset
        EXPECT_EQ(first[38] | first[39] << 8, 3780);
        EXPECT_EQ(first[46], 0); // full table: colours-used 0

        auto back = ReadBmp(first);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Format(), f);
        EXPECT_EQ(back->Palette(), s.Palette());
        EXPECT_EQ(*back, s);
        EXPECT_EQ(WriteBmp(*back), first);
    }
}

TEST(BmpWrite, EightBitKeepsItsOwnTable)
{
    std::vector<Color> pal;
    for (int i = 0; i < 200; ++i)
        pal.push_back(Rgb(uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)));
    Surface s(21, 9);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 21; ++x)
            s.SetColor(x, y, pal[size_t(x * 9 + y) % 200]);
    Surface expected = s;
    s.ConvertTo(PixelFormat::Bpp8, pal);
    EXPECT_EQ(s, expected);

    Bytes first = WriteBmp(s);
    EXPECT_EQ(first[46], 200); // colours used
    EXPECT_EQ(first.size(), 54 + 800 + 24 * 9u);
    // Entry 3 is stored blue, green, red, 0.
    EXPECT_EQ(first[54 + 12], 21);
    EXPECT_EQ(first[54 + 13], 252);
    EXPECT_EQ(first[54 + 14], 3);
    auto back = ReadBmp(first);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Format(), PixelFormat::Bpp8);
    EXPECT_EQ(back->Palette(), pal);
    EXPECT_EQ(*back, expected);
    EXPECT_EQ(WriteBmp(*back), first);
}

TEST(BmpRead, SixteenBitFiveFiveFiveAndMasks)
{
    ByteBuilder w;
    Info(w, 2, 1, 16).u16(0x7C00).u16(0x03FF);
    auto plain = ReadBmp(WithFileHeader(w.b, 54));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Format(), PixelFormat::Bpp24);
    EXPECT_EQ(plain->GetColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(plain->GetColor(1, 0), Rgb(0, 255, 255));

    ByteBuilder m; // 5-6-5 masks follow the 40-byte header
    Info(m, 3, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x001F);
    m.u16(0x07E0).u16(0x0400).u16(0x0010).u16(0);
    auto masked = ReadBmp(WithFileHeader(m.b, 66));
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->GetColor(0, 0), Rgb(0, 255, 0));
    EXPECT_EQ(masked->GetColor(1, 0), Rgb(0, 130, 0)); // 32 of 63
    EXPECT_EQ(masked->GetColor(2, 0), Rgb(0, 0, 132)); // 16 of 31
}

TEST(BmpRead, LargeHeaderWithMasksInside)
{
    ByteBuilder w;
    w.u32(124).u32(2).u32(uint32_t(-1)).u16(1).u16(32).u32(3).u32(8).u32(0).u32(0).u32(0).u32(0);
    w.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000).u32(0xFF000000); // bytes R, G, B, A
    while (w.b.size() < 124)
        w.u8({ 0 });
    w.u8({ 10, 20, 30, 255, 200, 100, 50, 0 });
    auto s = ReadBmp(WithFileHeader(w.b, 14 + 124));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Format(), PixelFormat::Bpp32);
    EXPECT_EQ(s->GetColor(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(s->GetColor(1, 0), Rgb(200, 100, 50));
}

TEST(BmpRead, OldCoreHeaderWithThreeByteTable)
{
    ByteBuilder w;
    w.u32(12).u16(3).u16(2).u16(1).u16(1);
    w.u8({ 0, 0, 255, 0, 255, 0 }); // red, green
    w.u8({ 0xA0, 0, 0, 0, 0x40, 0, 0, 0 }); // bottom 1 0 1, top 0 1 0
    auto s = ReadBmp(WithFileHeader(w.b, 14 + 12 + 6));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Format(), PixelFormat::Bpp1);
    EXPECT_EQ(s->Palette(), (std::vector<Color> { Rgb(255, 0, 0), Rgb(0, 255, 0) }));
    EXPECT_EQ(s->GetColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s->GetColor(1, 0), Rgb(0, 255, 0));
    EXPECT_EQ(s->GetColor(0, 1), Rgb(0, 255, 0));
    EXPECT_EQ(s->GetColor(1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(s->GetColor(2, 1), Rgb(0, 255, 0));
}

TEST(BmpRead, RunLengthEightAndFour)
{
    const Color grey = Rgb(10, 10, 10), red = Rgb(255, 0, 0), blue = Rgb(0, 0, 255);
    ByteBuilder w;
    Info(w, 4, 2, 8, 1, 0, 3);
    w.u8({ 10, 10, 10, 0, 0, 0, 255, 0, 255, 0, 0, 0 });
    w.u8({ 3, 1, 1, 2, 0, 0 }); // bottom: red x3, blue; end of line
    w.u8({ 0, 3, 2, 1, 2, 0, 1, 1, 0, 1 }); // top: absolute blue red blue (padded), red; end
    auto s = ReadBmp(WithFileHeader(w.b, 14 + 40 + 12));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Format(), PixelFormat::Bpp8);
    const Color want[2][4] = { { blue, red, blue, red }, { red, red, red, blue } };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s->GetColor(x, y), want[y][x]) << x << "," << y;

    ByteBuilder f;
    Info(f, 4, 2, 4, 2, 0, 3);
    f.u8({ 10, 10, 10, 0, 0, 0, 255, 0, 255, 0, 0, 0 });
    f.u8({ 1, 0x10, 0, 2, 2, 1, 2, 0x22, 0,
        1 }); // one red, jump to (3, top), two blue (one clipped)
    auto r4 = ReadBmp(WithFileHeader(f.b, 14 + 40 + 12));
    ASSERT_TRUE(r4);
    EXPECT_EQ(r4->Format(), PixelFormat::Bpp4);
    EXPECT_EQ(r4->GetColor(0, 1), red);
    EXPECT_EQ(r4->GetColor(1, 1), grey);
    EXPECT_EQ(r4->GetColor(3, 0), blue);
    EXPECT_EQ(r4->GetColor(2, 0), grey);

    ByteBuilder a; // an absolute run of three nibbles, then one red
    Info(a, 4, 1, 4, 2, 0, 3);
    a.u8({ 10, 10, 10, 0, 0, 0, 255, 0, 255, 0, 0, 0 });
    a.u8({ 0, 3, 0x21, 0x20, 1, 0x10, 0, 1 });
    auto abs4 = ReadBmp(WithFileHeader(a.b, 14 + 40 + 12));
    ASSERT_TRUE(abs4);
    EXPECT_EQ(abs4->GetColor(0, 0), blue);
    EXPECT_EQ(abs4->GetColor(1, 0), red);
    EXPECT_EQ(abs4->GetColor(2, 0), blue);
    EXPECT_EQ(abs4->GetColor(3, 0), red);

    Bytes cut = WithFileHeader(f.b, 14 + 40 + 12);
    cut.resize(cut.size() - 2); // no end-of-bitmap, rows unfinished
    ExpectRefused(cut, "run-length data cut short");
}

TEST(BmpRead, IndicesPastTheTableBecomeAnEntry)
{
    ByteBuilder w;
    Info(w, 2, 1, 8, 0, 0, 2);
    w.u8({ 255, 255, 255, 0, 50, 50, 50, 0 });
    w.u8({ 1, 200, 0, 0 });
    auto s = ReadBmp(WithFileHeader(w.b, 14 + 40 + 8));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->GetColor(0, 0), Rgb(50, 50, 50));
    EXPECT_EQ(s->GetColor(1, 0), Rgb(50, 50, 50)); // black is not in the table: nearest
}

TEST(BmpRead, ZeroSizeIsAValidEmptyImage)
{
    ByteBuilder w;
    Info(w, 0, 5, 24);
    auto s = ReadBmp(WithFileHeader(w.b, 54));
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Empty());

    Bytes empty = WriteBmp(Surface());
    EXPECT_EQ(empty.size(), 54u);
    auto back = ReadBmp(empty);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->Empty());
}

TEST(BmpRead, RefusesMalformedInput)
{
    const Bytes good = TwoByTwo(false);
    for (size_t n = 0; n < good.size(); ++n)
        ExpectRefused(Bytes(good.begin(), good.begin() + ptrdiff_t(n)), "truncated");

    auto patched = [&](size_t at, uint32_t v) { return Patched(good, at, v); };
    ExpectRefused(patched(0, 0x00004D42 ^ 0x0101), "signature");
    ExpectRefused(patched(10, 1000), "pixel offset past the end");
    ExpectRefused(patched(10, 20), "pixel offset inside the header");
    ExpectRefused(patched(14, 13), "header size 13");
    ExpectRefused(patched(14, 0xFFFFFFFF), "header size past the end");
    ExpectRefused(patched(18, 100000), "width past the data");
    ExpectRefused(patched(18, 0x7FFFFFFF), "width too large");
    ExpectRefused(patched(18, uint32_t(-2)), "negative width");
    ExpectRefused(patched(22, 0x80000000), "height of -2^31");
    ExpectRefused(patched(18, 16384), "within the limit but without data");
    ExpectRefused(Patched(patched(18, 100000), 22, 100000), "huge width and height");
    {
        Bytes b = good;
        b[28] = 7;
        ExpectRefused(b, "depth 7");
        b[28] = 24;
        b[30] = 4;
        ExpectRefused(b, "embedded compressed image");
        b[30] = 1;
        ExpectRefused(b, "run-length at 24 bits");
    }

    ByteBuilder p;
    Info(p, 2, 1, 8, 0, 0, 0x80000000);
    p.u8({ 0, 0, 0, 0, 0, 0, 0, 0 });
    ExpectRefused(WithFileHeader(p.b, 54), "table of 2^31 entries");
    ByteBuilder q;
    Info(q, 2, 1, 8, 0, 0, 257);
    ExpectRefused(WithFileHeader(q.b, 54), "table larger than the depth allows");
    ByteBuilder r;
    Info(r, 2, 1, 8, 0, 0, 100); // the table would run past the end
    r.u8({ 0, 0, 0, 0 });
    ExpectRefused(WithFileHeader(r.b, 54), "table past the end");
    ByteBuilder t;
    Info(t, 2, -2, 8, 1, 0, 1);
    t.u8({ 0, 0, 0, 0, 0, 1 });
    ExpectRefused(WithFileHeader(t.b, 58), "top-down run-length");
}

TEST(BmpFile, SaveAndLoad)
{
    Surface s = Pattern(5, 4);
    s.ConvertTo(PixelFormat::Bpp8);
    std::string path = std::string(BINARY_DIR) + "/imagefiles_test.bmp";
    ASSERT_TRUE(SaveBmpFile(path, s));
    auto back = LoadBmpFile(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, s);
    EXPECT_EQ(back->Format(), PixelFormat::Bpp8);
    ReportFailure("");
    EXPECT_FALSE(LoadBmpFile(path + ".missing"));
    EXPECT_FALSE(LastError().empty());
    EXPECT_FALSE(SaveBmpFile(std::string(BINARY_DIR) + "/no/such/dir/x.bmp", s));
}

// Random truncations and byte changes of valid files must be refused or read into
// consistent objects, never read out of bounds (checked under the address sanitizer).
TEST(ImageFilesFuzz, TruncationsAndFlips)
{
    std::vector<std::pair<Bytes, size_t>> bmps; // file, first byte that may change
    for (PixelFormat f : { PixelFormat::Bpp1, PixelFormat::Bpp4, PixelFormat::Bpp8,
             PixelFormat::Bpp24, PixelFormat::Bpp32 }) {
        Surface s = Pattern(5, 3);
        s.ConvertTo(f);
        bmps.push_back({ WriteBmp(s), 0 });
    }
    {
        ByteBuilder w;
        Info(w, 4, 2, 8, 1, 0, 3);
        w.u8({ 10, 10, 10, 0, 0, 0, 255, 0, 255, 0, 0, 0, 3, 1, 1, 2, 0, 0, 0, 3, 2, 1, 2, 0, 0,
            1 });
        // Header changes could make a run-length image of a gigapixel from a few bytes,
        // which is valid but slow; only its data is changed.
        bmps.push_back({ WithFileHeader(w.b, 66), 66 });
    }
    std::vector<IconImage> icons(2);
    icons[0].color = Pattern(6, 5);
    icons[0].bpp = 4;
    icons[1].color = Pattern(4, 4);
    icons[1].alpha.assign(16, 100);
    const Bytes ico = WriteIco(icons);
    std::vector<uint8_t> alpha(35, 7);
    const Bytes png = WritePng(Pattern(7, 5), alpha);
    ASSERT_FALSE(ico.empty());
    ASSERT_FALSE(png.empty());

    std::mt19937 rng(12345);
    int accepted = 0, refused = 0;
    auto mutate = [&](Bytes b, size_t from) {
        if (rng() % 3 == 0)
            b.resize(from + rng() % (b.size() - from + 1));
        if (!b.empty() && b.size() > from) {
            int flips = 1 + int(rng() % 4);
            for (int i = 0; i < flips; ++i)
                b[from + rng() % (b.size() - from)] = uint8_t(rng());
        }
        return b;
    };
    for (int round = 0; round < 600; ++round) {
        for (auto& [file, from] : bmps) {
            auto s = ReadBmp(mutate(file, from));
            s ? ++accepted : ++refused;
            if (s && !s->Empty() && s->Format() != PixelFormat::Bpp24
                && s->Format() != PixelFormat::Bpp32) {
                const auto& pal = s->Palette();
                ASSERT_FALSE(pal.empty());
                ASSERT_NE(std::find(pal.begin(), pal.end(), s->GetColor(0, 0)), pal.end());
            }
        }
        for (const IconImage& img : ReadIco(mutate(ico, 0))) {
            ++accepted;
            ASSERT_FALSE(img.color.Empty());
            ASSERT_EQ(img.mask.Width(), img.color.Width());
            ASSERT_EQ(img.mask.Height(), img.color.Height());
            ASSERT_EQ(img.alpha.size(), size_t(img.color.Width()) * size_t(img.color.Height()));
        }
        auto p = ReadPng(mutate(png, 0));
        p ? ++accepted : ++refused;
        if (p) {
            ASSERT_TRUE(p->alpha.empty()
                || p->alpha.size() == size_t(p->color.Width()) * size_t(p->color.Height()));
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}
