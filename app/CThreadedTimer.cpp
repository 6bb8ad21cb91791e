#include "app/CThreadedTimer.h"

#include <chrono>
#include <thread>

ZRThreadedTimer::ZRThreadedTimer(bool createSuspended)
    : TThread(createSuspended)
{
}

// The worker reads this object's members, so it must end before they go; the inherited
// destructor would only wait once they are gone.
ZRThreadedTimer::~ZRThreadedTimer()
{
    Stop();
}

TNotifyEvent ZRThreadedTimer::OnTimer() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FOnTimer;
}

void ZRThreadedTimer::SetOnTimer(const TNotifyEvent& value)
{
    std::lock_guard<std::mutex> g(FLock);
    FOnTimer = value;
}

bool ZRThreadedTimer::Enabled() const
{
    std::lock_guard<std::mutex> g(FLock);
    return FEnabled;
}

void ZRThreadedTimer::SetEnabled(bool value)
{
    {
        std::lock_guard<std::mutex> g(FLock);
        if (value == FEnabled)
            return;
        FEnabled = value;
    }
    FWake.notify_all();
}

bool ZRThreadedTimer::WaitUntilEnabled()
{
    std::unique_lock<std::mutex> g(FLock);
    FWake.wait(g, [this] { return FEnabled || FWoken; });
    return !FWoken;
}

void ZRThreadedTimer::Stop()
{
    Terminate();
    {
        std::lock_guard<std::mutex> g(FLock);
        FWoken = true;
    }
    FWake.notify_all();
    CancelPendingSynchronize(this);
    // A timer that was never resumed has no thread to wait for.
    if (!Suspended())
        WaitFor();
}

void ZRThreadedTimer::Sleep(int ms)
{
    if (ms <= 0) {
        std::this_thread::yield();
        return;
    }
    std::unique_lock<std::mutex> g(FLock);
    if (FWoken)
        return;
    FWake.wait_for(g, std::chrono::milliseconds(ms), [this] { return FWoken; });
}

void ZRThreadedTimer::Execute()
{
    while (!Terminated()) {
        if (!WaitUntilEnabled())
            break;
        ++FSleeps;
        Sleep(Interval());
        if (Terminated())
            break;
        bool set;
        {
            std::lock_guard<std::mutex> g(FLock);
            set = FEnabled && bool(FOnTimer);
        }
        if (set)
            Synchronize(&ZRThreadedTimer::DoTimer);
    }
}

// Runs on the GUI thread. A hand-over queued just before Stop began is still dropped here,
// so that no tick reaches a window that is being destroyed.
void ZRThreadedTimer::DoTimer()
{
    if (Terminated())
        return;
    TNotifyEvent handler = OnTimer();
    if (!handler)
        return;
    ++FTicks;
    handler(nullptr);
}
