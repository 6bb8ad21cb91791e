#include "platform/text/Font.h"
#include "platform/raster/Surface.h"
#include "platform/text/Glyphs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

using namespace plat;

namespace {

std::shared_ptr<const Font> Arial(int32_t height, bool bold = false, bool italic = false)
{
    FontSpec s;
    s.family = "Arial";
    s.height = height;
    s.bold = bold;
    s.italic = italic;
    return Font::Get(s);
}

std::vector<char32_t> Decode(std::string_view s)
{
    std::vector<char32_t> out;
    DecodeText(s, out);
    return out;
}

} // namespace

TEST(FontTest, ArialResolvesToItsMetricTwinAndOtherFamiliesToSans)
{
    EXPECT_EQ(FontFaceName(*Arial(-11)), "Liberation Sans");
    EXPECT_EQ(FontFaceName(*Arial(-11, true, true)), "Liberation Sans");

    FontSpec sans;
    sans.family = "sans-serif";
    const std::string sansFace = FontFaceName(*Font::Get(sans));
    EXPECT_TRUE(sansFace == "DejaVu Sans" || sansFace == "Liberation Sans") << sansFace;

    FontSpec ms; // the default family
    EXPECT_EQ(FontFaceName(*Font::Get(ms)), sansFace);
    FontSpec unknown;
    unknown.family = "No Such Family At All";
    auto f = Font::Get(unknown);
    EXPECT_EQ(FontFaceName(*f), sansFace);
    EXPECT_GT(f->Extent("W").cx, 0);
}

TEST(FontTest, ExtentsOfShortLabelsArePositiveStableAndScale)
{
    for (int32_t h : { -11, -40 }) {
        auto f = Arial(h);
        Size w = f->Extent("W"), quit = f->Extent("Quit");
        EXPECT_GT(w.cx, 0);
        EXPECT_GT(quit.cx, w.cx);
        EXPECT_EQ(w.cy, f->Metrics().height);
        EXPECT_EQ(quit.cy, f->Metrics().height);
        EXPECT_EQ(f->Extent("Quit"), quit);
        EXPECT_EQ(Arial(h)->Extent("Quit"), quit);
        // Advances are whole pixels, so a run measures the sum of its letters.
        EXPECT_EQ(
            quit.cx, f->Extent("Q").cx + f->Extent("u").cx + f->Extent("i").cx + f->Extent("t").cx);
    }
    // Larger type is wider by roughly the ratio of the sizes (each letter rounds by < 1 px).
    int32_t small = Arial(-11)->Extent("Quit").cx, large = Arial(-40)->Extent("Quit").cx;
    EXPECT_NEAR(large, small * 40.0 / 11.0, 4 * 40.0 / 11.0);
    EXPECT_EQ(Arial(-11)->Extent("").cx, 0);
}

TEST(FontTest, NegativeHeightIsTheEmAndPositiveHeightTheCell)
{
    for (int32_t em : { 8, 11, 13, 20, 40, 100 }) {
        const FontMetrics& m = Arial(-em)->Metrics();
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_EQ(m.height - m.internalLeading, em);
        EXPECT_GT(m.ascent, m.descent);
        EXPECT_GE(m.height, em); // the face's cell is taller than its em
    }
    for (int32_t cell : { 1, 8, 12, 13, 16, 29, 56 }) {
        for (const char* family : { "Arial", "MS Sans Serif" }) {
            FontSpec s;
            s.family = family;
            s.height = cell;
            const FontMetrics& m = Font::Get(s)->Metrics();
            EXPECT_EQ(m.height, cell) << family;
            EXPECT_EQ(m.ascent + m.descent, cell) << family;
            EXPECT_LE(m.internalLeading, cell) << family;
        }
    }
    FontSpec zero;
    zero.height = 0;
    EXPECT_EQ(Font::Get(zero)->Metrics().height, 13);
    // Absurd sizes are bounded instead of allocating giant glyphs.
    auto huge = Arial(INT32_MIN);
    EXPECT_GT(huge->Metrics().height, 0);
    EXPECT_LE(huge->Metrics().height, 4096);
    EXPECT_GT(huge->Metrics().averageCharWidth, 0);
}

TEST(FontTest, BoldIsWiderAndStylesAreCachedSeparately)
{
    auto normal = Arial(-20), bold = Arial(-20, true), italic = Arial(-20, false, true);
    EXPECT_GT(bold->Extent("Quit").cx, normal->Extent("Quit").cx);
    EXPECT_NE(normal.get(), bold.get());
    EXPECT_EQ(normal.get(), Arial(-20).get());

    std::vector<GlyphRef> n, i;
    auto chars = Decode("l");
    FontGlyphs(*normal, chars, n);
    FontGlyphs(*italic, chars, i);
    ASSERT_FALSE(n[0]->coverage.empty());
    ASSERT_FALSE(i[0]->coverage.empty());
    // A slanted upright stroke covers more columns than the upright one.
    EXPECT_GT(i[0]->width, n[0]->width);
}

TEST(FontTest, GlyphsAreGreyScaleAndPlacedOnTheBaseline)
{
    auto f = Arial(-40);
    std::vector<GlyphRef> g;
    FontGlyphs(*f, Decode("O_ "), g);
    ASSERT_EQ(g.size(), 3u);
    const Glyph& o = *g[0];
    ASSERT_EQ(o.coverage.size(), size_t(o.width) * size_t(o.rows));
    bool full = false, partial = false;
    for (uint8_t c : o.coverage) {
        full |= c == 255;
        partial |= c > 0 && c < 255;
    }
    EXPECT_TRUE(full);
    EXPECT_TRUE(partial); // anti-aliased edges
    EXPECT_LE(o.top, f->Metrics().ascent);
    EXPECT_GT(o.top, 0);
    EXPECT_LE(g[1]->top, 0); // the underscore lies below the baseline
    EXPECT_TRUE(g[2]->coverage.empty());
    EXPECT_GT(g[2]->advance, 0);
}

TEST(FontTest, Utf8DecodingTakesInvalidBytesAsLatin1)
{
    EXPECT_EQ(Decode("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5"),
        (std::vector<char32_t> { U'A', 0xE9, 0x20AC, 0x1F3B5 }));
    EXPECT_EQ(Decode("\xE9t\xE9"), (std::vector<char32_t> { 0xE9, U't', 0xE9 }));
    EXPECT_EQ(Decode("\xC0\x80"), (std::vector<char32_t> { 0xC0, 0x80 })); // overlong
    EXPECT_EQ(Decode("\xED\xA0\x80"), (std::vector<char32_t> { 0xED, 0xA0, 0x80 })); // surrogate
    EXPECT_EQ(Decode("\xF4\x90\x80\x80"), (std::vector<char32_t> { 0xF4, 0x90, 0x80, 0x80 }));
    EXPECT_EQ(Decode("\xE2\x82"), (std::vector<char32_t> { 0xE2, 0x82 })); // cut short
    EXPECT_EQ(Decode(std::string_view("a\0b", 3)), (std::vector<char32_t> { U'a', 0, U'b' }));
}

TEST(FontTest, GlyphCacheStaysCorrectPastItsBound)
{
    auto f = Arial(-12);
    std::vector<char32_t> chars;
    for (char32_t c = 0x4E00; c < 0x4E00 + GlyphCacheCapacity + 100; ++c)
        chars.push_back(c);
    chars.push_back(U'W');
    std::vector<GlyphRef> first, again;
    FontGlyphs(*f, chars, first);
    FontGlyphs(*f, chars, again);
    ASSERT_EQ(first.size(), chars.size());
    ASSERT_EQ(again.size(), chars.size());
    for (size_t i = 0; i < chars.size(); ++i) {
        ASSERT_EQ(first[i]->advance, again[i]->advance) << i;
        ASSERT_EQ(first[i]->coverage, again[i]->coverage) << i;
    }
    EXPECT_EQ(first.back()->advance, f->Extent("W").cx);
}

TEST(FontTest, ConcurrentUseGivesTheSameResults)
{
    const std::string text = "120 bpm Quit Run Beep RST Vol.";
    std::vector<int32_t> expected;
    for (int32_t h : { -9, -11, -14, -17, -22, -40 })
        expected.push_back(Arial(h, h % 2 != 0)->Extent(text).cx);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                size_t k = 0;
                for (int32_t h : { -9, -11, -14, -17, -22, -40 })
                    mismatches[size_t(t)] += Arial(h, h % 2 != 0)->Extent(text).cx != expected[k++];
            }
        });
    for (auto& th : threads)
        th.join();
    for (int m : mismatches)
        EXPECT_EQ(m, 0);
}

// A font asked for while the configuration is still being read ahead waits for it and
// comes out as always; in a process of its own, where nothing has read it yet.
TEST(FontTest, FontsAskedForWhileTheConfigurationIsReadAheadComeOutTheSame)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            FinishFontLookup(); // nothing to wait for yet
            PrepareFontLookup();
            const bool arial = FontFaceName(*Arial(-11)) == "Liberation Sans";
            PrepareFontLookup(); // starts nothing more
            FinishFontLookup();
            FinishFontLookup();
            std::exit(arial && FontHasGlyphs(*Arial(-14, true)) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(FontTest, WithoutAnyFontFileSizesAreEstimatedAndNothingIsDrawn)
{
    SimulateNoFontsForTesting(true);
    FontSpec s;
    s.family = "Arial";
    s.height = -20;
    auto f = Font::Get(s);
    s.height = 16;
    auto cell = Font::Get(s);
    const std::string error = LastError();
    std::vector<GlyphRef> glyphs;
    FontGlyphs(*f, Decode("ab"), glyphs);
    SimulateNoFontsForTesting(false);

    EXPECT_EQ(error, "no font found for Arial");
    EXPECT_EQ(FontFaceName(*f), "");
    EXPECT_EQ(f->Metrics().height - f->Metrics().internalLeading, 20);
    EXPECT_EQ(f->Extent("abcd"), (Size { 40, f->Metrics().height }));
    EXPECT_EQ(cell->Metrics().height, 16);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_TRUE(glyphs[0]->coverage.empty());
    EXPECT_EQ(glyphs[0]->advance, 10);

    // The real fonts come back once the font set is restored.
    EXPECT_EQ(FontFaceName(*Arial(-20)), "Liberation Sans");
}
