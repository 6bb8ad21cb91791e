#pragma once
// ZRThreadedTimer: the program's tick source. A worker thread sleeps Interval milliseconds,
// then hands one tick to the GUI thread through Synchronize and waits until it has run, so
// at most one tick is ever outstanding. OnTimer runs on the GUI thread with a null sender.
// Interval and OnTimer may be set from the GUI thread while the worker runs; a new
// Interval takes effect from the next sleep. While disabled the worker waits without a
// time limit, so an idle program is never woken; enabling starts a fresh sleep. Stop
// (also called by the destructor) ends the thread without a further tick. The owner
// deletes the timer.

#include "framework/core/Thread.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

class ZRThreadedTimer : public TThread {
public:
    explicit ZRThreadedTimer(bool createSuspended);
    ~ZRThreadedTimer() override;

    int Interval() const { return FInterval.load(); }
    // A negative interval sleeps 0 ms.
    void SetInterval(int value) { FInterval.store(value); }
    TNotifyEvent OnTimer() const;
    void SetOnTimer(const TNotifyEvent& value);
    // Enabled from construction. Disabling lets a sleep under way run out without a tick.
    bool Enabled() const;
    void SetEnabled(bool value);

    // Terminates the thread, cuts its sleep short, drops a tick waiting for the GUI thread
    // and waits until the thread has ended. No tick runs once Stop has begun. GUI thread;
    // calling it again does nothing.
    void Stop();
    // Ticks handed over so far (statistics for tests and measurements).
    long TickCount() const { return FTicks.load(); }
    // Sleeps begun so far: every periodic wake-up of the worker.
    long SleepCount() const { return FSleeps.load(); }

protected:
    void Execute() override;

private:
    void DoTimer();
    // Sleeps ms milliseconds unless Stop wakes it first.
    void Sleep(int ms);

    std::atomic<int> FInterval { 100 };
    // Waits while disabled; false once Stop has begun.
    bool WaitUntilEnabled();

    mutable std::mutex FLock;   // guards FOnTimer, FEnabled and FWoken
    TNotifyEvent FOnTimer;
    std::condition_variable FWake;
    bool FEnabled = true;
    bool FWoken = false;
    std::atomic<long> FTicks { 0 };
    std::atomic<long> FSleeps { 0 };
};
