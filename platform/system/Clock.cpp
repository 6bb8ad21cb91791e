#include "platform/system/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace plat {

namespace {
using SteadyClock = std::chrono::steady_clock;
const SteadyClock::time_point gStart = SteadyClock::now();
std::atomic<bool> gManual { false };
std::atomic<int32_t> gManualMs { 0 };
}

double TickCountPrecise()
{
    if (gManual.load(std::memory_order_acquire))
        return gManualMs.load(std::memory_order_acquire);
    auto d = std::chrono::duration<double, std::milli>(SteadyClock::now() - gStart);
    return d.count();
}

int32_t TickCount()
{
    if (gManual.load(std::memory_order_acquire))
        return gManualMs.load(std::memory_order_acquire);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - gStart);
    // Wraps like a 32-bit counter; the conversion through uint32_t keeps it defined.
    return int32_t(uint32_t(uint64_t(ms.count())));
}

void UseManualClock(bool on, int32_t startMs)
{
    gManualMs.store(startMs, std::memory_order_release);
    gManual.store(on, std::memory_order_release);
}

bool ManualClockActive() { return gManual.load(std::memory_order_acquire); }

void SetManualClock(int32_t ms) { gManualMs.store(ms, std::memory_order_release); }

void AdvanceManualClock(int32_t ms)
{
    int32_t cur = gManualMs.load(std::memory_order_acquire);
    gManualMs.store(int32_t(uint32_t(cur) + uint32_t(ms)), std::memory_order_release);
}

void SleepMs(int32_t ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace plat
