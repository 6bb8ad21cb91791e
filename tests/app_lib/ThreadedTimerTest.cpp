#include "app/CThreadedTimer.h"
#include "framework/core/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Counts the ticks that reach the GUI thread and checks they arrive there.
struct TickCounter {
    int ticks = 0;
    bool offGuiThread = false;
    TObject* lastSender = reinterpret_cast<TObject*>(1);
    TNotifyEvent Event()
    {
        return TNotifyEvent::FromFunction([this](TObject* sender) {
            ++ticks;
            lastSender = sender;
            if (std::this_thread::get_id() != MainThreadID.load())
                offGuiThread = true;
        });
    }
};

class ThreadedTimerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MainThreadID = std::this_thread::get_id();
        SetSynchronizeShutdown(false);
    }
    // Runs hand-overs for ms milliseconds of real time.
    static void Pump(int ms)
    {
        auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < end)
            CheckSynchronize(5);
    }
};

} // namespace

TEST_F(ThreadedTimerTest, StartsSuspendedWithItsDefaults)
{
    ZRThreadedTimer timer(true);
    EXPECT_EQ(timer.Interval(), 100);
    EXPECT_FALSE(timer.OnTimer());
    EXPECT_TRUE(timer.Suspended());
    EXPECT_FALSE(timer.FreeOnTerminate);
    // A timer that never ran is stopped and freed without waiting for anything.
    timer.Stop();
    EXPECT_TRUE(timer.Terminated());
}

TEST_F(ThreadedTimerTest, TicksRunOnTheGuiThreadWithANullSender)
{
    TickCounter c;
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.SetOnTimer(c.Event());
    timer.Resume();
    while (c.ticks < 5)
        CheckSynchronize(50);
    timer.Stop();
    EXPECT_FALSE(c.offGuiThread);
    EXPECT_EQ(c.lastSender, nullptr);
    EXPECT_EQ(timer.TickCount(), c.ticks);
}

TEST_F(ThreadedTimerTest, WithoutOnTimerNothingIsHandedOver)
{
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.Resume();
    bool ran = false;
    for (int i = 0; i < 20; ++i)
        ran = CheckSynchronize(5) || ran;
    EXPECT_FALSE(ran);
    timer.Stop();
    EXPECT_EQ(timer.TickCount(), 0);
}

// With no sleep, the worker hands the next tick over as soon as the last one has run:
// every wait of the GUI thread finds exactly one tick.
TEST_F(ThreadedTimerTest, ZeroAndNegativeIntervalsLetTheGuiThreadSetThePace)
{
    for (int interval : { 0, -25 }) {
        TickCounter c;
        ZRThreadedTimer timer(true);
        timer.SetInterval(interval);
        timer.SetOnTimer(c.Event());
        timer.Resume();
        int delivered = 0;
        for (int i = 0; i < 100; ++i)
            delivered += CheckSynchronize(2000) ? 1 : 0;
        timer.Stop();
        EXPECT_EQ(delivered, 100) << interval;
        EXPECT_EQ(c.ticks, 100) << interval;
    }
}

// While the GUI thread is busy the worker waits inside the hand-over: one tick is pending,
// not a burst.
TEST_F(ThreadedTimerTest, BlockedGuiThreadGetsExactlyOnePendingTick)
{
    TickCounter c;
    ZRThreadedTimer timer(true);
    timer.SetInterval(40);
    timer.SetOnTimer(c.Event());
    timer.Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(c.ticks, 0);
    CheckSynchronize(0);
    EXPECT_EQ(c.ticks, 1);
    CheckSynchronize(0);
    EXPECT_EQ(c.ticks, 1);
    timer.Stop();
}

// A disabled timer neither sleeps nor ticks; enabled, it ticks; disabled again, it goes
// quiet after at most the sleep under way; and Stop still ends a disabled worker.
TEST_F(ThreadedTimerTest, DisabledTimerNeverWakes)
{
    TickCounter c;
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.SetOnTimer(c.Event());
    timer.SetEnabled(false);
    timer.Resume();
    Pump(60);
    EXPECT_EQ(timer.SleepCount(), 0);
    EXPECT_EQ(c.ticks, 0);

    timer.SetEnabled(true);
    for (int i = 0; i < 100 && c.ticks < 3; ++i)
        CheckSynchronize(50);
    ASSERT_GE(c.ticks, 3);

    timer.SetEnabled(false);
    Pump(20);
    const long sleeps = timer.SleepCount();
    const int ticks = c.ticks;
    Pump(60);
    EXPECT_EQ(timer.SleepCount(), sleeps);
    EXPECT_EQ(c.ticks, ticks);
    timer.Stop();
    EXPECT_TRUE(timer.Finished());
}

// A tick already waiting for the GUI thread when Stop begins is dropped, and none follows.
TEST_F(ThreadedTimerTest, NoTickAfterStop)
{
    TickCounter c;
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.SetOnTimer(c.Event());
    timer.Resume();
    CheckSynchronize(2000);
    ASSERT_EQ(c.ticks, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));   // the next one waits now
    timer.Stop();
    EXPECT_EQ(c.ticks, 1);
    EXPECT_TRUE(timer.Finished());
    Pump(50);
    EXPECT_EQ(c.ticks, 1);
    timer.Stop();   // again: nothing to do
}

// Stop cuts a long sleep short instead of waiting for it to end.
TEST_F(ThreadedTimerTest, StopWakesTheSleep)
{
    ZRThreadedTimer timer(true);
    timer.SetInterval(600000);
    timer.SetOnTimer(TNotifyEvent::FromFunction([](TObject*) { }));
    timer.Resume();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    auto start = Clock::now();
    timer.Stop();
    EXPECT_TRUE(timer.Finished());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(60));
}

TEST_F(ThreadedTimerTest, DestructorStopsARunningTimer)
{
    TickCounter c;
    auto timer = std::make_unique<ZRThreadedTimer>(true);
    timer->SetInterval(0);
    timer->SetOnTimer(c.Event());
    timer->Resume();
    CheckSynchronize(2000);
    int before = c.ticks;
    timer.reset();
    Pump(20);
    EXPECT_EQ(c.ticks, before);
}

// The handler may be replaced while the worker runs; ticks after the change reach the new
// one only.
TEST_F(ThreadedTimerTest, OnTimerAndIntervalMayChangeWhileRunning)
{
    TickCounter a, b;
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.SetOnTimer(a.Event());
    timer.Resume();
    while (a.ticks < 3)
        CheckSynchronize(100);
    timer.SetOnTimer(b.Event());
    timer.SetInterval(0);
    int aBefore = a.ticks;
    while (b.ticks < 3)
        CheckSynchronize(100);
    EXPECT_EQ(a.ticks, aBefore);
    EXPECT_EQ(timer.Interval(), 0);
    timer.Stop();
}

// An exception of the handler travels back to the worker and ends the thread; it is shown
// once, and the timer delivers nothing more.
TEST_F(ThreadedTimerTest, ExceptionInTheHandlerEndsTheThread)
{
    int shown = 0;
    auto previous = ThreadExceptionHandler;
    ThreadExceptionHandler = [&](const Exception&) { ++shown; };
    int ticks = 0;
    ZRThreadedTimer timer(true);
    timer.SetInterval(1);
    timer.SetOnTimer(TNotifyEvent::FromFunction([&](TObject*) {
        ++ticks;
        throw Exception("tick failed");
    }));
    timer.Resume();
    for (int i = 0; i < 200 && !timer.Finished(); ++i)
        CheckSynchronize(10);
    Pump(30);
    EXPECT_TRUE(timer.Finished());
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(shown, 1);
    timer.Stop();
    ThreadExceptionHandler = previous;
}
