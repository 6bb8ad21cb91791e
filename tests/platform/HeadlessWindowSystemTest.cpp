#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace plat;

namespace {

constexpr Color Red = Rgb(255, 0, 0);
constexpr Color Blue = Rgb(0, 0, 255);

struct HeadlessWindowSystemTest : ::testing::Test {
    HeadlessWindowSystem ws;
    WindowId win = ws.CreateWindow({ { 100, 50, 110, 58 }, "panel", true });

    std::vector<Event> Drain()
    {
        std::vector<Event> all;
        Event e;
        while (ws.WaitEvent(e, 0))
            all.push_back(e);
        return all;
    }
};

TEST_F(HeadlessWindowSystemTest, WindowRecordsFollowTheCalls)
{
    EXPECT_TRUE(ws.HasWindow(win));
    EXPECT_TRUE(ws.IsBorderless(win));
    EXPECT_FALSE(ws.IsVisible(win));
    EXPECT_EQ(ws.WindowBounds(win), (Rect { 100, 50, 110, 58 }));
    EXPECT_EQ(ws.KeyWindow(), 0u);

    ws.ShowWindow(win, true);
    ws.SetWindowTitle(win, "renamed");
    ws.SetWindowBounds(win, { 300, 250, 290, 242 });   // given inverted: put in order
    EXPECT_TRUE(ws.IsVisible(win));
    EXPECT_EQ(ws.KeyWindow(), win);
    EXPECT_EQ(ws.WindowTitle(win), "renamed");
    EXPECT_EQ(ws.WindowBounds(win), (Rect { 290, 242, 300, 250 }));

    WindowId second = ws.CreateWindow({ { 0, 0, 4, 4 }, "other" });
    EXPECT_NE(second, win);
    EXPECT_NE(second, 0u);
    ws.DestroyWindow(win);
    EXPECT_FALSE(ws.HasWindow(win));
    EXPECT_EQ(ws.WindowCount(), 1u);
    EXPECT_EQ(ws.KeyWindow(), 0u);
    EXPECT_EQ(ws.WindowBounds(win), Rect {});
}

TEST_F(HeadlessWindowSystemTest, InputComesOutInOrderWithHeldButtonsAndCursor)
{
    ws.ShowWindow(win, true);
    ws.MouseMove(win, 3, 4, mod::Shift);
    ws.MouseDown(win, 5, 6, MouseButton::Left, 1, mod::Ctrl);
    ws.MouseMove(win, 7, 6);
    ws.MouseUp(win, 7, 6);
    ws.KeyDown(vk::Escape, mod::Alt, true);
    ws.Char(27);
    ws.KeyUp(vk::Escape);
    ws.Quit();

    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 8u);
    EXPECT_EQ(ev[0].type, Event::Type::MouseMove);
    EXPECT_EQ(ev[0].mods, mod::Shift);
    EXPECT_EQ(ev[1].type, Event::Type::MouseDown);
    EXPECT_EQ(ev[1].window, win);
    EXPECT_EQ(ev[1].x, 5);
    EXPECT_EQ(ev[1].y, 6);
    EXPECT_EQ(ev[1].mods, mod::Ctrl | mod::Left);   // the pressed button counts as held
    EXPECT_EQ(ev[2].mods, mod::Left);
    EXPECT_EQ(ev[3].type, Event::Type::MouseUp);
    EXPECT_EQ(ev[3].mods, 0u);                      // released
    EXPECT_EQ(ev[4].type, Event::Type::KeyDown);
    EXPECT_EQ(ev[4].key, vk::Escape);
    EXPECT_EQ(ev[4].window, win);
    EXPECT_TRUE(ev[4].repeat);
    EXPECT_EQ(ev[4].mods, mod::Alt);
    EXPECT_EQ(ev[5].type, Event::Type::Char);
    EXPECT_EQ(ev[5].ch, 27u);
    EXPECT_EQ(ev[6].type, Event::Type::KeyUp);
    EXPECT_EQ(ev[7].type, Event::Type::Quit);

    // The cursor is the last mouse position moved by the window's origin.
    EXPECT_EQ(ws.CursorPos(), (Point { 107, 56 }));
    ws.SetCursorPos({ 5, 9 });
    EXPECT_EQ(ws.CursorPos(), (Point { 5, 9 }));
}

TEST_F(HeadlessWindowSystemTest, DoubleClickMarksOnlyTheSecondPress)
{
    ws.DoubleClick(win, 1, 2);
    ws.Click(win, 1, 2, MouseButton::Right);
    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 6u);
    EXPECT_EQ(ev[0].clicks, 1);
    EXPECT_EQ(ev[2].type, Event::Type::MouseDown);
    EXPECT_EQ(ev[2].clicks, 2);
    EXPECT_EQ(ev[4].button, MouseButton::Right);
    EXPECT_EQ(ev[4].mods, mod::Right);
    EXPECT_EQ(ev[4].clicks, 1);
}

TEST_F(HeadlessWindowSystemTest, WaitingOnAnEmptyQueueReturnsAtOnce)
{
    Event e;
    e.type = Event::Type::Close;
    EXPECT_FALSE(ws.WaitEvent(e, -1));   // would hang forever on a real display
    EXPECT_FALSE(ws.WaitEvent(e, 0));
    EXPECT_FALSE(ws.WaitEvent(e, 5));
    EXPECT_EQ(e.type, Event::Type::Close);   // untouched on a time-out
}

TEST_F(HeadlessWindowSystemTest, WakesFoldIntoOneEventUntilItIsRead)
{
    ws.Wake();
    ws.Wake();
    ws.Close(win);
    ws.Wake();
    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].type, Event::Type::Wake);
    EXPECT_EQ(ev[1].type, Event::Type::Close);

    ws.Wake();
    Event e;
    ASSERT_TRUE(ws.WaitEvent(e, -1));
    EXPECT_EQ(e.type, Event::Type::Wake);
}

TEST_F(HeadlessWindowSystemTest, WakeFromAnotherThreadEndsALongWait)
{
    std::atomic<bool> waiting { false };
    std::thread worker([&] {
        while (!waiting.load())
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ws.Wake();
    });
    waiting = true;
    Event e;
    // A wait of ten minutes: only the wake can end it within the test's time limit.
    bool got = ws.WaitEvent(e, 600000);
    worker.join();
    ASSERT_TRUE(got);
    EXPECT_EQ(e.type, Event::Type::Wake);
}

TEST_F(HeadlessWindowSystemTest, InputPostedFromManyThreadsKeepsEachThreadsOrder)
{
    constexpr int Threads = 4, PerThread = 500;
    std::vector<std::thread> posters;
    for (int t = 0; t < Threads; ++t)
        posters.emplace_back([this, t] {
            for (int i = 0; i < PerThread; ++i)
                ws.Char(uint32_t(t * 10000 + i));
        });
    for (auto& p : posters)
        p.join();
    std::vector<int> next(Threads, 0);
    int total = 0;
    Event e;
    while (ws.WaitEvent(e, 0)) {
        int t = int(e.ch / 10000), i = int(e.ch % 10000);
        ASSERT_LT(t, Threads);
        EXPECT_EQ(i, next[t]) << "thread " << t;
        next[t] = i + 1;
        ++total;
    }
    EXPECT_EQ(total, Threads * PerThread);
}

TEST_F(HeadlessWindowSystemTest, DestroyingAWindowDropsItsQueuedInput)
{
    WindowId other = ws.CreateWindow({ { 0, 0, 5, 5 }, "other" });
    ws.Click(win, 1, 1);
    ws.Click(other, 2, 2);
    ws.Quit();
    ws.DestroyWindow(win);
    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].window, other);
    EXPECT_EQ(ev[1].window, other);
    EXPECT_EQ(ev[2].type, Event::Type::Quit);
}

TEST_F(HeadlessWindowSystemTest, FocusMovesTheKeyWindow)
{
    WindowId other = ws.CreateWindow({ { 0, 0, 5, 5 }, "other" });
    ws.ShowWindow(win, true);
    ws.ShowWindow(other, true);
    EXPECT_EQ(ws.KeyWindow(), win);   // the first shown keeps the keys
    ws.Focus(other);
    ws.KeyDown('A');
    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].type, Event::Type::FocusOut);
    EXPECT_EQ(ev[0].window, win);
    EXPECT_EQ(ev[1].type, Event::Type::FocusIn);
    EXPECT_EQ(ev[1].window, other);
    EXPECT_EQ(ev[2].window, other);
}

TEST_F(HeadlessWindowSystemTest, PresentCopiesOnlyTheDirtyPixels)
{
    Surface fb(10, 8);
    fb.Fill(Red);
    ws.Present(win, fb, Region(Rect { 2, 3, 5, 6 }));
    EXPECT_EQ(ws.PresentedPixels(), 9);
    EXPECT_EQ(ws.PresentCount(), 1);
    EXPECT_EQ(ws.PresentedColor(win, 2, 3), Red);
    EXPECT_EQ(ws.PresentedColor(win, 4, 5), Red);
    EXPECT_EQ(ws.PresentedColor(win, 5, 5), 0u);   // right edge is outside
    EXPECT_EQ(ws.PresentedColor(win, 4, 6), 0u);   // bottom edge is outside
    EXPECT_EQ(ws.PresentedColor(win, 1, 3), 0u);

    // Pixels outside the dirty region keep what was shown before, even if the
    // framebuffer changed there.
    fb.Fill(Blue);
    Rect pieces[] = { { 0, 0, 2, 2 }, { 4, 5, 6, 7 } };
    ws.Present(win, fb, Region::FromRects(pieces));
    EXPECT_EQ(ws.PresentedPixels(), 9 + 4 + 4);
    Surface shown = ws.Presented(win);
    int red = 0, blue = 0;
    for (int32_t y = 0; y < shown.Height(); ++y)
        for (int32_t x = 0; x < shown.Width(); ++x) {
            red += shown.GetColor(x, y) == Red;
            blue += shown.GetColor(x, y) == Blue;
        }
    EXPECT_EQ(blue, 8);
    EXPECT_EQ(red, 8);   // one of the nine red pixels was covered by blue
    EXPECT_EQ(ws.PresentedColor(win, 4, 5), Blue);
    EXPECT_EQ(ws.PresentedColor(win, 3, 5), Red);
}

TEST_F(HeadlessWindowSystemTest, PresentClipsToWindowAndFramebuffer)
{
    Surface big(40, 40);
    big.Fill(Red);
    // A dirty area reaching far outside both: only the 10 x 8 window is copied.
    ws.Present(win, big, Region(Rect { -100, -100, 100, 100 }));
    EXPECT_EQ(ws.PresentedPixels(), 80);
    EXPECT_EQ(ws.PresentedColor(win, 9, 7), Red);

    ws.ResetPresentStats();
    Surface small(3, 2);
    small.Fill(Blue);
    ws.Present(win, small, Region(Rect { 0, 0, 10, 8 }));
    EXPECT_EQ(ws.PresentedPixels(), 6);
    EXPECT_EQ(ws.PresentedColor(win, 2, 1), Blue);
    EXPECT_EQ(ws.PresentedColor(win, 3, 1), Red);

    ws.ResetPresentStats();
    ws.Present(win, big, Region());   // nothing changed: nothing copied
    ws.Present(999, big, Region(Rect { 0, 0, 5, 5 }));
    EXPECT_EQ(ws.PresentedPixels(), 0);
}

TEST_F(HeadlessWindowSystemTest, ResizingKeepsTheShownPixels)
{
    Surface fb(10, 8);
    fb.Fill(Red);
    ws.Present(win, fb, Region(fb.Bounds()));
    ws.SetWindowBounds(win, { 0, 0, 12, 4 });
    Surface shown = ws.Presented(win);
    EXPECT_EQ(shown.Width(), 12);
    EXPECT_EQ(shown.Height(), 4);
    EXPECT_EQ(shown.GetColor(9, 3), Red);
    EXPECT_EQ(shown.GetColor(10, 0), 0u);
}

TEST_F(HeadlessWindowSystemTest, MessageBoxesAreRecordedAndAnswered)
{
    EXPECT_EQ(ws.MessageBox(win, "Error", "Division by zero", MessageBoxKind::Error), 1);
    ws.SetMessageBoxAnswer(0);
    EXPECT_EQ(ws.MessageBox(0, "Quit?", "Really?", MessageBoxKind::Question), 0);
    auto boxes = ws.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].owner, win);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text, "Division by zero");
    EXPECT_EQ(boxes[0].kind, MessageBoxKind::Error);
    EXPECT_EQ(boxes[1].kind, MessageBoxKind::Question);
    EXPECT_EQ(ws.PendingEvents(), 0u);   // answering queues nothing
}

TEST_F(HeadlessWindowSystemTest, CursorShapeAndCaptureAreRecorded)
{
    EXPECT_EQ(ws.LastCursor(), Cursor::Arrow);
    ws.SetCursor(Cursor::Hand);
    EXPECT_EQ(ws.LastCursor(), Cursor::Hand);

    ws.CaptureMouse(win, true);
    EXPECT_EQ(ws.CapturedWindow(), win);
    ws.CaptureMouse(win, false);
    EXPECT_EQ(ws.CapturedWindow(), 0u);
    ws.CaptureMouse(12345, true);   // no such window
    EXPECT_EQ(ws.CapturedWindow(), 0u);
    ws.CaptureMouse(win, true);
    ws.DestroyWindow(win);
    EXPECT_EQ(ws.CapturedWindow(), 0u);
}

TEST_F(HeadlessWindowSystemTest, WheelAndLeaveCarryTheirData)
{
    ws.MouseDown(win, 0, 0, MouseButton::Middle);
    ws.MouseWheel(win, 4, 5, -240, mod::Ctrl);
    ws.MouseLeave(win);
    std::vector<Event> ev = Drain();
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[1].type, Event::Type::MouseWheel);
    EXPECT_EQ(ev[1].wheel, -240);
    EXPECT_EQ(ev[1].mods, mod::Ctrl | mod::Middle);
    EXPECT_EQ(ev[2].type, Event::Type::MouseLeave);
    EXPECT_EQ(ev[2].mods, mod::Middle);
}

} // namespace
