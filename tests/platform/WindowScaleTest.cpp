#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/window/WindowScale.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

using namespace plat;

TEST(WindowScaleTest, ParseAcceptsOnlyTheDigitsOneToFour)
{
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(ParseWindowScale(std::to_string(n)), n);
    for (const char* bad : { "", "0", "5", "9", "12", "02", "2.0", "1.5", " 2", "2 ", "+2", "-1", "2x", "x" })
        EXPECT_EQ(ParseWindowScale(bad), 0) << '"' << bad << '"';
}

// dpi / 96 rounded to the nearest whole number, a half up: the first resolution that
// gives 2 is 144.
TEST(WindowScaleTest, XftDpiGivesTheNearestWholeScale)
{
    struct Case {
        const char* value;
        int scale;
    } cases[] = {
        { "96", 1 }, { "120", 1 }, { "143", 1 }, { "143.9", 1 }, { "144", 2 }, { "144.0", 2 },
        { "192", 2 }, { "239", 2 }, { "240", 3 }, { "288", 3 }, { "384", 4 }, { "1000", 4 },
        { "1", 1 }, { "0.5", 1 }, { "99999999999999999999", 4 },
    };
    for (const Case& c : cases) {
        std::string db = std::string("Xft.antialias:\t1\nXft.dpi:\t") + c.value + "\nXft.hinting:\t1\n";
        EXPECT_EQ(ScaleFromXftDpi(db), c.scale) << c.value;
    }
}

TEST(WindowScaleTest, XftDpiIsReadOnlyFromItsOwnWellFormedLine)
{
    // Spacing around the colon, no final newline.
    EXPECT_EQ(ScaleFromXftDpi("Xft.dpi:192"), 2);
    EXPECT_EQ(ScaleFromXftDpi("  Xft.dpi  :  192  "), 2);
    // A later entry replaces an earlier one.
    EXPECT_EQ(ScaleFromXftDpi("Xft.dpi: 192\nXft.dpi: 96\n"), 1);
    EXPECT_EQ(ScaleFromXftDpi("Xft.dpi: 96\nXft.dpi: 288\n"), 3);
    // No usable resolution: nothing asked.
    for (const char* db : { "", "\n\n", "Xft.antialias:\t1\n", "Xft.dpi:\n", "Xft.dpi: abc\n",
             "Xft.dpi: 0\n", "Xft.dpi: -192\n", "Xft.dpi: 192dpi\n", "Xft.dpi: 1.9.2\n",
             "Xft.dpi: .\n", "!Xft.dpi: 192\n", "Xft.dpix: 192\n", "XXft.dpi: 192\n",
             "Xft.dpi 192\n", "*.dpi: 192\n" })
        EXPECT_EQ(ScaleFromXftDpi(db), 0) << db;
    // A bad later entry leaves no resolution, as the database holds only the last.
    EXPECT_EQ(ScaleFromXftDpi("Xft.dpi: 192\nXft.dpi: none\n"), 0);
}

// GDK_SCALE, when valid, comes before Xft.dpi; otherwise Xft.dpi; otherwise 1.
TEST(WindowScaleTest, DesktopScalePrefersGdkScaleThenXftDpi)
{
    const char* hiDpi = "Xft.dpi:\t192\n";
    EXPECT_EQ(DesktopWindowScale("", nullptr), 1);
    EXPECT_EQ(DesktopWindowScale(hiDpi, nullptr), 2);
    EXPECT_EQ(DesktopWindowScale("Xft.dpi:\t288\n", nullptr), 3);
    EXPECT_EQ(DesktopWindowScale(hiDpi, "1"), 1);
    EXPECT_EQ(DesktopWindowScale(hiDpi, "3"), 3);
    EXPECT_EQ(DesktopWindowScale("", "4"), 4);
    for (const char* bad : { "", "0", "5", "abc", "2.5", "-2" }) {
        EXPECT_EQ(DesktopWindowScale(hiDpi, bad), 2) << bad;
        EXPECT_EQ(DesktopWindowScale("", bad), 1) << bad;
    }
}

// Screen pixels of the window map to the framebuffer pixel whose block holds them, also
// left of and above the window (a captured pointer), and never overflow.
TEST(WindowScaleTest, PointsMapToTheBlockThatHoldsThem)
{
    const int32_t in[] = { 0, 1, 2, 3, 4, 5, -1, -2, -3, -4, -5 };
    const int32_t by2[] = { 0, 0, 1, 1, 2, 2, -1, -1, -2, -2, -3 };
    const int32_t by3[] = { 0, 0, 0, 1, 1, 1, -1, -1, -1, -2, -2 };
    for (size_t i = 0; i < std::size(in); ++i) {
        EXPECT_EQ(ToFramebuffer(in[i], 1), in[i]);
        EXPECT_EQ(ToFramebuffer(in[i], 2), by2[i]) << in[i];
        EXPECT_EQ(ToFramebuffer(in[i], 3), by3[i]) << in[i];
    }
    EXPECT_EQ(ToFramebuffer(INT32_MIN, 4), INT32_MIN / 4);
    EXPECT_EQ(ToFramebuffer(INT32_MAX, 4), INT32_MAX / 4);
    EXPECT_EQ(ToFramebuffer(Point { 729, 127 }, 2), (Point { 364, 63 }));
}

TEST(WindowScaleTest, AreasRoundOutwardsOneWayAndMultiplyTheOther)
{
    EXPECT_EQ(FramebufferArea({ 0, 0, 824, 886 }, 2), (Rect { 0, 0, 412, 443 }));
    EXPECT_EQ(FramebufferArea({ 1, 1, 3, 3 }, 2), (Rect { 0, 0, 2, 2 }));
    EXPECT_EQ(FramebufferArea({ 3, 4, 4, 5 }, 3), (Rect { 1, 1, 2, 2 }));
    EXPECT_EQ(FramebufferArea({ -3, -3, -1, -1 }, 2), (Rect { -2, -2, 0, 0 }));
    EXPECT_EQ(FramebufferArea({ INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX }, 4),
        (Rect { INT32_MIN / 4, INT32_MIN / 4, INT32_MAX / 4 + 1, INT32_MAX / 4 + 1 }));
    EXPECT_TRUE(FramebufferArea({ 5, 5, 5, 9 }, 2).Empty());

    EXPECT_EQ(ScreenArea({ 1, 2, 3, 4 }, 3), (Rect { 3, 6, 9, 12 }));
    EXPECT_EQ(ScreenArea({ -1, 0, INT32_MAX / 2, INT32_MAX }, 4),
        (Rect { -4, 0, INT32_MAX, INT32_MAX }));
    // A screen area of whole blocks comes back as it was.
    Rect r { 7, 11, 20, 13 };
    for (int s = 1; s <= 4; ++s)
        EXPECT_EQ(FramebufferArea(ScreenArea(r, s), s), r) << s;
}

// The upscaling copy against a per-pixel reference: every screen pixel of the area's
// blocks is its framebuffer pixel, and nothing outside them (the rest of each row, the
// padding after it, the rows around) is touched.
TEST(WindowScaleTest, ScaleUpWritesExactlyTheBlocksOfTheArea)
{
    std::mt19937 rng(19);
    Surface src(13, 9);
    for (int32_t y = 0; y < src.Height(); ++y)
        for (int32_t x = 0; x < src.Width(); ++x)
            src.Row(y)[x] = rng() & 0xFFFFFF;
    constexpr uint32_t Sentinel = 0xDEADBEEF;
    for (int s = 1; s <= 4; ++s) {
        const int32_t w = src.Width() * s, h = src.Height() * s;
        const size_t pitchPixels = size_t(w) + 5;
        for (int round = 0; round < 40; ++round) {
            int32_t l = int32_t(rng() % 13), t = int32_t(rng() % 9);
            Rect area { l, t, l + 1 + int32_t(rng() % (13 - l)), t + 1 + int32_t(rng() % (9 - t)) };
            std::vector<uint32_t> dst(pitchPixels * size_t(h), Sentinel);
            uint32_t* corner = dst.data() + size_t(area.top * s) * pitchPixels + size_t(area.left * s);
            ScaleUp(src, area, s, corner, pitchPixels * sizeof(uint32_t));
            const Rect blocks = ScreenArea(area, s);
            for (int32_t y = 0; y < h; ++y)
                for (size_t x = 0; x < pitchPixels; ++x) {
                    uint32_t want = blocks.Contains(int32_t(x), y) ? src.Row(y / s)[x / size_t(s)] : Sentinel;
                    ASSERT_EQ(dst[size_t(y) * pitchPixels + x], want)
                        << "scale " << s << " at " << x << "," << y;
                }
        }
    }
}

TEST(WindowScaleTest, ScaleUpRefusesAreasOutsideTheSourceAndOtherScales)
{
    Surface src(4, 4);
    src.Fill(0x123456);
    std::vector<uint32_t> dst(64 * 64, 0);
    const size_t pitch = 64 * sizeof(uint32_t);
    ScaleUp(src, { 2, 2, 5, 3 }, 2, dst.data(), pitch);     // past the right edge
    ScaleUp(src, { -1, 0, 1, 1 }, 2, dst.data(), pitch);    // left of it
    ScaleUp(src, { 1, 1, 1, 3 }, 2, dst.data(), pitch);     // empty
    ScaleUp(src, { 0, 0, 4, 4 }, 0, dst.data(), pitch);
    ScaleUp(src, { 0, 0, 4, 4 }, 5, dst.data(), pitch);
    for (uint32_t p : dst)
        ASSERT_EQ(p, 0u);
}

// The headless window system at scale 2: the window shows blocks, a present writes only
// the blocks of its area, and input, exposes and drag-area points come back in
// framebuffer pixels, while positions on the screen stay screen pixels.
TEST(WindowScaleTest, HeadlessWindowSystemShowsAndMapsAtItsScale)
{
    HeadlessWindowSystem ws(2);
    EXPECT_EQ(ws.Scale(), 2);
    WindowParams params;
    params.bounds = { 100, 50, 110, 58 };
    WindowId id = ws.CreateWindow(params);
    EXPECT_EQ(ws.WindowBounds(id), params.bounds);
    EXPECT_EQ(ws.Presented(id).Width(), 20);
    EXPECT_EQ(ws.Presented(id).Height(), 16);

    Surface fb(10, 8);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x)
            fb.Row(y)[x] = Pixel(y * 16 + x + 1);
    ws.Present(id, fb, Region(Rect { 2, 1, 5, 3 }));
    EXPECT_EQ(ws.PresentedPixels(), 3 * 2 * 4);
    Surface shown = ws.Presented(id);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            bool inside = x >= 4 && x < 10 && y >= 2 && y < 6;
            ASSERT_EQ(shown.Row(y)[x], inside ? fb.Row(y / 2)[x / 2] : 0u) << x << "," << y;
        }

    ws.MouseDown(id, 7, 5);
    Event e;
    ASSERT_TRUE(ws.WaitEvent(e, 0));
    EXPECT_EQ(e.type, Event::Type::MouseDown);
    EXPECT_EQ((Point { e.x, e.y }), (Point { 3, 2 }));
    EXPECT_EQ(ws.CursorPos(), (Point { 107, 55 }));
    ws.MouseMove(id, -1, -3, mod::Left);
    ASSERT_TRUE(ws.WaitEvent(e, 0));
    EXPECT_EQ((Point { e.x, e.y }), (Point { -1, -2 }));
    EXPECT_EQ(ws.CursorPos(), (Point { 99, 47 }));

    ws.Expose(id, { 3, 3, 6, 4 });
    ASSERT_TRUE(ws.WaitEvent(e, 0));
    EXPECT_EQ(e.area, (Rect { 1, 1, 3, 2 }));

    std::vector<Point> asked;
    ws.SetDragAreaQuery(id, [&asked](Point p) {
        asked.push_back(p);
        return p.x == 4;
    });
    EXPECT_TRUE(ws.IsDragArea(id, { 9, 1 }));
    EXPECT_FALSE(ws.IsDragArea(id, { 10, 1 }));
    EXPECT_EQ(asked, (std::vector<Point> { { 4, 0 }, { 5, 0 } }));

    ws.SetWindowBounds(id, { 30, 40, 34, 43 });
    EXPECT_EQ(ws.WindowBounds(id), (Rect { 30, 40, 34, 43 }));
    EXPECT_EQ(ws.Presented(id).Width(), 8);
    EXPECT_EQ(ws.Presented(id).Height(), 6);
}
