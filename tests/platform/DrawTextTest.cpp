#include "platform/raster/Dc.h"
#include "platform/text/Glyphs.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

constexpr Color White = 0xFFFFFF, Black = 0, Red = 0x0000FF, Blue = 0xFF0000;

std::shared_ptr<const Font> Arial(int32_t height)
{
    FontSpec s;
    s.family = "Arial";
    s.height = height;
    return Font::Get(s);
}

// A white surface with a context drawing black, transparent Arial text.
struct Canvas {
    Surface surface;
    Dc dc;
    Canvas(int32_t w, int32_t h, int32_t fontHeight = -11, Color bg = White)
        : surface(w, h)
        , dc(&surface)
    {
        surface.Fill(bg);
        dc.SetFont(Arial(fontHeight));
        dc.SetBkMode(BkMode::Transparent);
        dc.SetTextColor(Black);
    }
};

// Bounds of the pixels that differ from bg.
Rect InkBounds(const Surface& s, Color bg)
{
    Rect r;
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x)
            if (s.GetColor(x, y) != bg)
                r = r.Union({ x, y, x + 1, y + 1 });
    return r;
}

int64_t CountColor(const Surface& s, Color c, const Rect& area)
{
    int64_t n = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            n += s.GetColor(x, y) == c;
    return n;
}

} // namespace

TEST(DrawTextTest, TextOutInksOnlyInsideItsCell)
{
    for (int32_t h : { -11, -40 }) {
        Canvas c(300, 80, h);
        Size ext = c.dc.TextExtent("Quit");
        c.dc.TextOut(20, 10, "Quit");
        Rect ink = InkBounds(c.surface, White);
        ASSERT_FALSE(ink.Empty());
        Rect cell { 20, 10, 20 + ext.cx, 10 + ext.cy };
        EXPECT_EQ(ink.Intersect(cell), ink) << "font " << h;
        // Large type has fully covered pixels in exactly the text colour.
        if (h == -40) {
            EXPECT_GT(CountColor(c.surface, Black, cell), 50);
        }
    }
}

TEST(DrawTextTest, CoverageBlendsTheTextColourOverTheBackground)
{
    // Drawn white on black, each pixel's red channel is the glyph coverage.
    Canvas cov(120, 60, -30, Black);
    cov.dc.SetTextColor(White);
    cov.dc.TextOut(5, 5, "Sa");

    const Color bg = Rgb(200, 40, 90), fg = Rgb(10, 220, 90);
    Canvas c(120, 60, -30, bg);
    c.dc.SetTextColor(fg);
    c.dc.TextOut(5, 5, "Sa");

    auto mix = [](int d, int s, int a) {
        int v = (s - d) * a;
        return d + (v >= 0 ? (v + 127) / 255 : -((-v + 127) / 255));
    };
    int partial = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            int a = RedOf(cov.surface.GetColor(x, y));
            partial += a > 0 && a < 255;
            Color got = c.surface.GetColor(x, y);
            ASSERT_EQ(RedOf(got), mix(200, 10, a)) << x << "," << y;
            ASSERT_EQ(GreenOf(got), mix(40, 220, a)) << x << "," << y;
            ASSERT_EQ(BlueOf(got), 90);
        }
    EXPECT_GT(partial, 10);
}

TEST(DrawTextTest, TextOutHonoursOriginAndClip)
{
    Canvas plain(200, 60, -40);
    plain.dc.TextOut(30, 5, "Run");

    Canvas shifted(200, 60, -40);
    shifted.dc.SetOrigin({ 20, 3 });
    shifted.dc.TextOut(10, 2, "Run");
    EXPECT_EQ(shifted.surface, plain.surface);

    // A clip through the middle of the word: outside it nothing, inside the same pixels.
    Canvas clipped(200, 60, -40);
    const Rect clip { 45, 20, 80, 40 };
    clipped.dc.IntersectClipRect(clip);
    clipped.dc.TextOut(30, 5, "Run");
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 200; ++x) {
            Color want = clip.Contains(x, y) ? plain.surface.GetColor(x, y) : White;
            ASSERT_EQ(clipped.surface.GetColor(x, y), want) << x << "," << y;
        }
    EXPECT_GT(CountColor(clipped.surface, Black, clip), 0);
}

TEST(DrawTextTest, OpaqueModeFillsTheCellFirst)
{
    Canvas c(200, 50, -20);
    c.dc.SetBkMode(BkMode::Opaque);
    c.dc.SetBkColor(Red);
    c.dc.SetTextColor(Blue);
    const Size ext = c.dc.TextExtent("Beep");
    c.dc.TextOut(10, 7, "Beep");
    const Rect cell { 10, 7, 10 + ext.cx, 7 + ext.cy };
    EXPECT_EQ(InkBounds(c.surface, White), cell);
    for (int32_t y = cell.top; y < cell.bottom; ++y)
        for (int32_t x = cell.left; x < cell.right; ++x) {
            Color p = c.surface.GetColor(x, y);
            // Only blends of red and blue: no white is left in the cell.
            ASSERT_EQ(GreenOf(p), 0) << x << "," << y;
            ASSERT_EQ(RedOf(p) + BlueOf(p), 255) << x << "," << y;
        }
    EXPECT_EQ(c.surface.GetColor(cell.left, cell.top), Red);
    EXPECT_GT(CountColor(c.surface, Blue, cell), 0);
}

TEST(DrawTextTest, NoFontSelectedUsesTheDefaultFont)
{
    Surface s(10, 10);
    Dc dc(&s);
    EXPECT_EQ(dc.TextExtent("Quit"), Font::Get(FontSpec {})->Extent("Quit"));
}

TEST(DrawTextTest, SingleLineCentringMatchesTextOutAtTheComputedPlace)
{
    const Rect box { 10, 10, 110, 50 };
    for (uint32_t h : { dt::Left, dt::Center, dt::Right })
        for (uint32_t v : { dt::Top, dt::VCenter, dt::Bottom }) {
            Canvas drawn(140, 70, -17);
            Rect r = box;
            int32_t height = drawn.dc.DrawText("Quit", r, dt::SingleLine | h | v);
            EXPECT_EQ(r, box); // left alone without CalcRect

            Canvas expected(140, 70, -17);
            const Size ext = expected.dc.TextExtent("Quit");
            EXPECT_EQ(height, ext.cy);
            int32_t x = h == dt::Center ? 10 + (100 - ext.cx) / 2
                : h == dt::Right        ? 110 - ext.cx
                                        : 10;
            int32_t y = v == dt::VCenter ? 10 + (40 - ext.cy) / 2
                : v == dt::Bottom        ? 50 - ext.cy
                                         : 10;
            expected.dc.TextOut(x, y, "Quit");
            EXPECT_EQ(drawn.surface, expected.surface) << "flags " << h << "," << v;
        }
}

TEST(DrawTextTest, PrefixUnderlinesOnlyTheMarkedCharacter)
{
    Canvas marked(120, 40, -17), plain(120, 40, -17);
    Rect r { 5, 5, 115, 35 };
    marked.dc.DrawText("&Run", r, dt::SingleLine);
    plain.dc.TextOut(5, 5, "Run");
    const int32_t rWidth = plain.dc.TextExtent("R").cx;
    ASSERT_FALSE(InkBounds(plain.surface, White).Empty());
    // Every differing pixel is an underline pixel under the R, in the text colour.
    int64_t changed = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            if (marked.surface.GetColor(x, y) == plain.surface.GetColor(x, y))
                continue;
            ++changed;
            EXPECT_GE(x, 5);
            EXPECT_LT(x, 5 + rWidth);
            EXPECT_GT(y, 5 + marked.dc.GetFont()->Metrics().ascent - 1);
            EXPECT_EQ(marked.surface.GetColor(x, y), Black);
        }
    EXPECT_GE(changed, rWidth / 2);
    // The full row under the R is black, and the underline stops there.
    const int32_t row = 5 + marked.dc.GetFont()->Metrics().ascent
        + FontDecoration(*marked.dc.GetFont()).underline;
    EXPECT_EQ(CountColor(marked.surface, Black, { 5, row, 5 + rWidth, row + 1 }), rWidth);

    Canvas noPrefix(120, 40, -17);
    noPrefix.dc.DrawText("&Run", r, dt::SingleLine | dt::NoPrefix);
    Canvas amp(120, 40, -17);
    amp.dc.TextOut(5, 5, "&Run");
    EXPECT_EQ(noPrefix.surface, amp.surface);
}

TEST(DrawTextTest, DoubledAndTrailingAmpersands)
{
    struct Case {
        const char* text;
        const char* shown;
    } cases[] = { { "&&", "&" }, { "A&&B", "A&B" }, { "Vol&", "Vol" }, { "&", "" } };
    for (const Case& k : cases) {
        Canvas drawn(120, 30), expected(120, 30);
        Rect r { 2, 2, 118, 28 };
        drawn.dc.DrawText(k.text, r, dt::SingleLine);
        expected.dc.TextOut(2, 2, k.shown);
        EXPECT_EQ(drawn.surface, expected.surface) << k.text;
        Rect calc = r;
        drawn.dc.DrawText(k.text, calc, dt::SingleLine | dt::CalcRect);
        EXPECT_EQ(calc.right - calc.left, drawn.dc.TextExtent(k.shown).cx) << k.text;
    }
}

TEST(DrawTextTest, CalcRectMeasuresAndDrawsNothing)
{
    Canvas c(100, 100, -11);
    const Size a = c.dc.TextExtent("Run"), b = c.dc.TextExtent("Beep");
    Rect r { 7, 9, 8, 10 };
    EXPECT_EQ(c.dc.DrawText("Run", r, dt::SingleLine | dt::CalcRect), a.cy);
    EXPECT_EQ(r, (Rect { 7, 9, 7 + a.cx, 9 + a.cy }));

    r = { 7, 9, 8, 10 };
    EXPECT_EQ(c.dc.DrawText("Run\nBeep", r, dt::CalcRect), 2 * a.cy);
    EXPECT_EQ(r, (Rect { 7, 9, 7 + std::max(a.cx, b.cx), 9 + 2 * a.cy }));
    EXPECT_TRUE(InkBounds(c.surface, White).Empty());
}

TEST(DrawTextTest, MultipleLinesStackAndWordBreakWraps)
{
    Canvas drawn(120, 80), expected(120, 80);
    Rect r { 4, 4, 116, 76 };
    const int32_t h = drawn.dc.TextExtent("A").cy;
    EXPECT_EQ(drawn.dc.DrawText("Run\r\nBeep\nRST", r, dt::Center), 3 * h);
    const char* lines[] = { "Run", "Beep", "RST" };
    for (int i = 0; i < 3; ++i)
        expected.dc.TextOut(
            4 + (112 - expected.dc.TextExtent(lines[i]).cx) / 2, 4 + i * h, lines[i]);
    EXPECT_EQ(drawn.surface, expected.surface);

    // Wrapping at spaces: two words that do not fit side by side go on two lines.
    Canvas wrapped(120, 80), stacked(120, 80);
    const int32_t oneWord = wrapped.dc.TextExtent("Beep").cx;
    Rect narrow { 4, 4, 4 + oneWord + 3, 76 };
    EXPECT_EQ(wrapped.dc.DrawText("Beep Beep", narrow, dt::WordBreak), 2 * h);
    stacked.dc.TextOut(4, 4, "Beep");
    stacked.dc.TextOut(4, 4 + h, "Beep");
    EXPECT_EQ(wrapped.surface, stacked.surface);
    Rect wide { 4, 4, 116, 76 };
    EXPECT_EQ(wrapped.dc.DrawText("Beep Beep", wide, dt::WordBreak | dt::CalcRect), h);
    // A word wider than the rectangle stays whole on its line.
    Rect tiny { 0, 0, 2, 10 };
    EXPECT_EQ(wrapped.dc.DrawText("Beep", tiny, dt::WordBreak | dt::CalcRect), h);
    EXPECT_EQ(tiny.right, oneWord);
}

TEST(DrawTextTest, ClipsToTheRectangleUnlessNoClip)
{
    Canvas clipped(200, 40, -20), free(200, 40, -20);
    Rect r { 50, 5, 70, 35 };
    clipped.dc.DrawText("Quit Quit", r, dt::SingleLine | dt::Center | dt::VCenter);
    free.dc.DrawText("Quit Quit", r, dt::SingleLine | dt::Center | dt::VCenter | dt::NoClip);
    const Rect inkClipped = InkBounds(clipped.surface, White),
               inkFree = InkBounds(free.surface, White);
    ASSERT_FALSE(inkClipped.Empty());
    EXPECT_EQ(inkClipped.Intersect(r), inkClipped);
    EXPECT_LT(inkFree.left, r.left);
    EXPECT_GT(inkFree.right, r.right);
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
            ASSERT_EQ(clipped.surface.GetColor(x, y), free.surface.GetColor(x, y));
}

TEST(DrawTextTest, AnyBytesAndLongTextDrawSafely)
{
    Canvas c(100, 30, -11);
    const std::string junk("\xFF\xFE\xC3(\xE2\x82\xF0\x9F\x92\x00\x80\xBF&", 14);
    c.dc.TextOut(0, 0, junk);
    Rect r { 0, 0, 100, 30 };
    c.dc.DrawText(junk, r, dt::Center | dt::WordBreak | dt::ExpandTabs);
    EXPECT_GT(c.dc.TextExtent(junk).cx, 0);

    const std::string longText(100000, 'W');
    const int32_t w = c.dc.TextExtent("W").cx;
    EXPECT_EQ(c.dc.TextExtent(longText).cx, 100000 * w);
    c.dc.TextOut(-5000, 3, longText);
    r = { -20, 0, 120, 30 };
    c.dc.DrawText(longText, r, dt::SingleLine | dt::Right | dt::VCenter);
    c.dc.DrawText(longText, r, dt::WordBreak);
    EXPECT_FALSE(InkBounds(c.surface, White).Empty());

    // Extreme positions are clipped, not wrapped around.
    Canvas edge(50, 20, -11);
    edge.dc.TextOut(INT32_MAX - 3, INT32_MAX - 3, "Quit");
    edge.dc.TextOut(INT32_MIN, 2, "Quit");
    edge.dc.SetOrigin({ INT32_MAX - 10, 0 });
    edge.dc.TextOut(INT32_MAX, 2, "Quit");
    edge.dc.DrawText("Quit", r, dt::NoClip);
    EXPECT_TRUE(InkBounds(edge.surface, White).Empty());
    // Device = logical + origin is computed without overflow: these two meet at x = 9.
    Canvas far(50, 20, -11), near(50, 20, -11);
    far.dc.SetOrigin({ INT32_MIN + 10, 0 });
    far.dc.TextOut(INT32_MAX, 2, "Quit");
    near.dc.TextOut(9, 2, "Quit");
    EXPECT_EQ(far.surface, near.surface);
}

TEST(DrawTextTest, WidthsBeyondTheIntRangeAreClamped)
{
    Canvas c(20, 20, -2000);
    const std::string text(1200000, 'W');
    EXPECT_EQ(c.dc.TextExtent(text).cx, INT32_MAX);
    Rect r { 0, 0, 10, 10 };
    c.dc.DrawText(text, r, dt::SingleLine | dt::CalcRect);
    EXPECT_EQ(r.right, INT32_MAX);
}

TEST(DrawTextTest, PaletteSurfacesReceiveOnlyPaletteColours)
{
    Surface s(80, 30, PixelFormat::Bpp8);
    Dc dc(&s);
    s.Fill(White);
    dc.SetFont(Arial(-20));
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextColor(Rgb(10, 100, 200));
    dc.TextOut(2, 2, "Beep");
    const auto& pal = s.Palette();
    ASSERT_FALSE(pal.empty());
    bool inked = false;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            Color p = s.GetColor(x, y);
            inked |= p != White;
            ASSERT_NE(std::find(pal.begin(), pal.end(), p), pal.end()) << x << "," << y;
        }
    EXPECT_TRUE(inked);
}

TEST(DrawTextTest, MissingFontsDrawNothingButStillMeasure)
{
    SimulateNoFontsForTesting(true);
    FontSpec spec;
    spec.height = -16;
    auto font = Font::Get(spec);
    SimulateNoFontsForTesting(false);

    Surface s(100, 30);
    s.Fill(White);
    Dc dc(&s);
    dc.SetFont(font);
    dc.SetBkMode(BkMode::Opaque);
    dc.TextOut(2, 2, "Quit");
    Rect r { 0, 0, 100, 30 };
    EXPECT_EQ(dc.DrawText("&Quit", r, dt::SingleLine | dt::Center), font->Metrics().height);
    EXPECT_TRUE(InkBounds(s, White).Empty());
    EXPECT_EQ(dc.TextExtent("Quit").cx, 4 * 8);
}
