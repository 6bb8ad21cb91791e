#include "tools/resgen/Resources.h"

#include "platform/raster/ImageFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace {

using plat::Bytes;

std::string ResourcePath(const std::string& name) { return std::string(SOURCE_DIR) + "/resources/" + name; }

Bytes Committed(const std::string& name)
{
    auto bytes = plat::ReadFileBytes(ResourcePath(name));
    return bytes ? *bytes : Bytes {};
}

uint32_t Le32(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

int Luma(plat::Color c) { return (plat::RedOf(c) + plat::GreenOf(c) + plat::BlueOf(c)) / 3; }

// The dial pixel at `radius` from the pivot along `degrees` from upright (clockwise).
plat::Color DialAt(const plat::Surface& s, double degrees, double radius)
{
    double a = degrees * std::acos(-1.0) / 180;
    return s.GetColor(int(std::floor(resgen::PivotX + radius * std::sin(a))),
        int(std::floor(resgen::PivotY - radius * std::cos(a))));
}

TEST(Resources, CommittedFilesAreWhatTheGeneratorWrites)
{
    const auto files = resgen::GenerateAll();
    ASSERT_GE(files.size(), 12u);
    for (const auto& f : files) {
        SCOPED_TRACE(f.path);
        Bytes committed = Committed(f.path);
        ASSERT_FALSE(committed.empty()) << "missing: run resgen into resources/";
        EXPECT_EQ(committed.size(), f.bytes.size());
        EXPECT_TRUE(committed == f.bytes) << "differs from a fresh run of the generator";
    }
}

TEST(Resources, DialIsAnEightBitBitmapOnTheGreyGround)
{
    Bytes file = Committed("dial.bmp");
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(Le16(file, 28), 8);   // bits per pixel in the info header
    EXPECT_EQ(Le32(file, 30), 0u);  // not compressed
    auto dial = plat::ReadBmp(file);
    ASSERT_TRUE(dial);
    EXPECT_EQ(dial->Format(), plat::PixelFormat::Bpp8);
    EXPECT_EQ(dial->Width(), 308);
    EXPECT_EQ(dial->Height(), 302);
    std::map<plat::Color, int> count;
    for (int y = 0; y < dial->Height(); ++y)
        for (int x = 0; x < dial->Width(); ++x)
            ++count[dial->GetColor(x, y)];
    EXPECT_GT(count[0xD0D0D0], dial->Width() * dial->Height() * 3 / 4);
    EXPECT_EQ(dial->GetColor(0, 0), 0xD0D0D0u);
    EXPECT_EQ(dial->GetColor(152, 150), 0xD0D0D0u);   // the needle's field is clear
    // Anti-aliasing needs intermediate greys, not just ink and ground.
    int greys = 0;
    for (const auto& [c, n] : count)
        greys += (plat::RedOf(c) == plat::GreenOf(c) && Luma(c) > 0x40 && Luma(c) < 0xC0) ? 1 : 0;
    EXPECT_GE(greys, 20);
}

TEST(Resources, DialScaleIsCentredOnTheNeedlePivot)
{
    auto dial = plat::ReadBmp(Committed("dial.bmp"));
    ASSERT_TRUE(dial);
    for (int d = -30; d <= 30; ++d) {
        SCOPED_TRACE(d);
        // The arc line crosses every ray of the swing just beyond the needle's tip...
        int darkest = 255;
        for (double r = resgen::ScaleRadius - 2; r <= resgen::ScaleRadius + 2; r += 0.5)
            darkest = std::min(darkest, Luma(DialAt(*dial, d, r)));
        EXPECT_LT(darkest, 0x60);
        // ...and the tip itself moves over clear card, inside the end marks.
        if (std::abs(d) <= 28) {
            EXPECT_GT(Luma(DialAt(*dial, d, resgen::NeedleTip + 1)), 0xB0);
        }
    }
    // A heavy graduation every ten degrees, reaching further out than the others.
    for (int d = -30; d <= 30; d += 10)
        EXPECT_LT(Luma(DialAt(*dial, d, resgen::ScaleRadius + 15)), 0x80) << d;
    EXPECT_GT(Luma(DialAt(*dial, 5.5, resgen::ScaleRadius + 15)), 0xB0);
    // The graduations are mirror images about the pivot's column.
    int mismatched = 0, compared = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 152; ++x) {
            double r = std::hypot(x + 0.5 - resgen::PivotX, y + 0.5 - resgen::PivotY);
            if (r < 240 || r > 282)
                continue;
            ++compared;
            mismatched += std::abs(Luma(dial->GetColor(x, y)) - Luma(dial->GetColor(303 - x, y))) > 24;
        }
    EXPECT_GT(compared, 2000);
    EXPECT_LT(mismatched, compared / 100);
}

TEST(Resources, DialHasItsCentreMarkAndHub)
{
    auto dial = plat::ReadBmp(Committed("dial.bmp"));
    ASSERT_TRUE(dial);
    // The triangle at the top centre points down at the upright position: the first
    // dark run of the centre column, wide at its top and narrow at its bottom.
    int top = 0;
    while (top < 40 && Luma(dial->GetColor(152, top)) >= 0x60)
        ++top;
    int bottom = top;
    while (bottom + 1 < 40 && Luma(dial->GetColor(152, bottom + 1)) < 0x60)
        ++bottom;
    ASSERT_LT(top, 40);
    EXPECT_GE(bottom - top, 8);
    EXPECT_LT(bottom + 1, resgen::PivotY - resgen::ScaleRadius - 17) << "clear of the centre tick";
    auto inkWidth = [&](int y) {
        int n = 0;
        for (int x = 130; x < 175; ++x)
            n += Luma(dial->GetColor(x, y)) < 0x60;
        return n;
    };
    EXPECT_GT(inkWidth(top + 1), inkWidth(bottom - 1) + 4);
    // The red field under the scale at the centre.
    plat::Color red = DialAt(*dial, 0, resgen::ScaleRadius - 11);
    EXPECT_GT(int(plat::RedOf(red)), int(plat::GreenOf(red)) + 40);
    // The hub: a shaded dome over the pivot with a dark rim, the card clear around it.
    int shaded = 0, inside = 0;
    std::map<plat::Color, int> tones;
    for (int y = 250; y < 302; ++y)
        for (int x = 100; x < 205; ++x) {
            double r = std::hypot(x + 0.5 - resgen::PivotX, y + 0.5 - resgen::PivotY);
            if (r < 42) {
                ++inside;
                shaded += dial->GetColor(x, y) != 0xD0D0D0u;
                ++tones[dial->GetColor(x, y)];
            }
        }
    EXPECT_GT(shaded, inside * 9 / 10);
    EXPECT_GT(tones.size(), 20u);
    for (int d = -60; d <= 60; d += 20)
        EXPECT_LT(Luma(DialAt(*dial, d, 47.5)), 0x50) << d;
    EXPECT_EQ(DialAt(*dial, 0, 60), 0xD0D0D0u);
    EXPECT_EQ(DialAt(*dial, 60, 62), 0xD0D0D0u);
}

TEST(Resources, ThumbIsKeyedAquaFromItsBottomLeftPixel)
{
    Bytes file = Committed("thumb.bmp");
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(Le16(file, 28), 24);
    auto thumb = plat::ReadBmp(file);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->Format(), plat::PixelFormat::Bpp24);
    ASSERT_EQ(thumb->Width(), 70);
    ASSERT_EQ(thumb->Height(), 37);
    EXPECT_EQ(thumb->GetColor(0, 36), resgen::ThumbKey);
    EXPECT_EQ(thumb->GetColor(0, 35), resgen::ThumbKey);
    EXPECT_EQ(resgen::ThumbKey, plat::Rgb(0, 255, 255));
    // The cap is solid inside its outline, the key only round it.
    int keyed = 0;
    for (int y = 0; y < 37; ++y)
        for (int x = 0; x < 70; ++x) {
            bool key = thumb->GetColor(x, y) == resgen::ThumbKey;
            keyed += key;
            if (x >= 5 && x < 64 && y >= 2 && y < 34) {
                EXPECT_FALSE(key) << x << "," << y;
            }
        }
    EXPECT_GT(keyed, 37 * 2);
    EXPECT_LT(keyed, 70 * 37 / 6);
    // A dark grip line across the middle, between lighter faces.
    auto rowLuma = [&](int y) {
        int sum = 0;
        for (int x = 10; x < 60; ++x)
            sum += Luma(thumb->GetColor(x, y));
        return sum / 50;
    };
    int darkest = 0;
    for (int y = 1; y < 36; ++y)
        if (rowLuma(y) < rowLuma(darkest))
            darkest = y;
    EXPECT_GE(darkest, 15);
    EXPECT_LE(darkest, 19);
    EXPECT_GT(rowLuma(8), rowLuma(darkest) + 60);
    EXPECT_GT(rowLuma(8), rowLuma(30));   // lit from above
}

TEST(Resources, RulerIsKeyedWhiteWithASlotThatTiles)
{
    Bytes file = Committed("ruler.bmp");
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(Le16(file, 28), 24);
    auto ruler = plat::ReadBmp(file);
    ASSERT_TRUE(ruler);
    EXPECT_EQ(ruler->Format(), plat::PixelFormat::Bpp24);
    ASSERT_EQ(ruler->Width(), 70);
    ASSERT_EQ(ruler->Height(), 275);
    EXPECT_EQ(ruler->GetColor(0, 274), resgen::RulerKey);
    // The middle rows repeat when the slider is longer: all of them are alike.
    for (int y = resgen::RulerEdge; y < 275 - resgen::RulerEdge; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(ruler->GetColor(x, y), ruler->GetColor(x, 100)) << x << "," << y;
    // The edge rows differ from the middle: they close the plate.
    EXPECT_NE(ruler->GetColor(35, 0), ruler->GetColor(35, 100));
    EXPECT_NE(ruler->GetColor(25, 274), ruler->GetColor(25, 100));
    // A dark slot centred on x = 35, 6 to 8 pixels wide, in an opaque plate.
    int first = -1, last = -1;
    for (int x = 0; x < 70; ++x)
        if (Luma(ruler->GetColor(x, 100)) < 0x50) {
            first = first < 0 ? x : first;
            last = x;
        }
    ASSERT_GE(first, 0);
    EXPECT_GE(last - first + 1, 6);
    EXPECT_LE(last - first + 1, 8);
    EXPECT_NEAR((first + last + 1) / 2.0, 35.0, 0.5);
    int opaqueFrom = -1, opaqueTo = -1;
    for (int x = 0; x < 70; ++x)
        if (ruler->GetColor(x, 100) != resgen::RulerKey) {
            opaqueFrom = opaqueFrom < 0 ? x : opaqueFrom;
            opaqueTo = x;
        }
    EXPECT_LT(opaqueFrom, first - 4);
    EXPECT_GT(opaqueTo, last + 4);
    for (int x = opaqueFrom; x <= opaqueTo; ++x)
        for (int y : { 0, 1, 100, 273, 274 })
            EXPECT_NE(ruler->GetColor(x, y), resgen::RulerKey) << "hole at " << x << "," << y;
}

TEST(Resources, LogoIsA16ColourIconWithAMask)
{
    Bytes file = Committed("logo.ico");
    ASSERT_GT(file.size(), 22u);
    EXPECT_EQ(Le16(file, 2), 1);   // an icon, not a cursor
    EXPECT_EQ(Le16(file, 4), 1);
    EXPECT_EQ(file[6], 32);
    EXPECT_EQ(file[7], 32);
    EXPECT_EQ(file[8], 16);        // colours in the directory entry
    EXPECT_EQ(Le16(file, 12), 4);
    auto images = plat::ReadIco(file);
    ASSERT_EQ(images.size(), 1u);
    const auto& logo = images[0];
    EXPECT_EQ(logo.bpp, 4);
    EXPECT_EQ(logo.palette.size(), 16u);
    ASSERT_EQ(logo.color.Width(), 32);
    ASSERT_EQ(logo.color.Height(), 32);
    ASSERT_EQ(logo.alpha.size(), 32u * 32u);
    int opaque = 0;
    std::map<plat::Color, int> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (logo.alpha[size_t(y * 32 + x)]) {
                ++opaque;
                ++used[logo.color.GetColor(x, y)];
            }
    EXPECT_EQ(logo.alpha[0], 0);
    EXPECT_EQ(logo.alpha[31], 0);
    EXPECT_EQ(logo.alpha[16 * 32 + 16], 255);
    EXPECT_GT(opaque, 32 * 32 / 3);
    EXPECT_LT(opaque, 32 * 32 * 4 / 5);
    EXPECT_GE(used.size(), 8u);
}

TEST(Resources, ApplicationIconsComeInEverySize)
{
    Bytes main = Committed("metronome.png");
    for (int size : resgen::AppIconSizes) {
        SCOPED_TRACE(size);
        std::string dim = std::to_string(size) + "x" + std::to_string(size);
        Bytes file = Committed("icons/hicolor/" + dim + "/apps/metronome.png");
        auto icon = plat::ReadPng(file);
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->color.Width(), size);
        EXPECT_EQ(icon->color.Height(), size);
        ASSERT_EQ(icon->alpha.size(), size_t(size * size));
        EXPECT_EQ(icon->alpha[0], 0);                       // rounded corner
        EXPECT_EQ(icon->alpha[size_t(size / 2 * size + size / 2)], 255);
        if (size == 64) {
            EXPECT_TRUE(file == main);
        }
    }
}

TEST(Resources, VersionDataNamesTheProgram)
{
    Bytes file = Committed("version.txt");
    std::string text(file.begin(), file.end());
    EXPECT_NE(text.find("Kelvo Music Metronome"), std::string::npos);
    EXPECT_NE(text.find("version=1.0\n"), std::string::npos);
}

} // namespace
