#pragma once
// The millisecond clock: milliseconds since the process started, as a signed 32-bit value
// that wraps after 2^31 - 1 ms like the classic tick counter. Differences of two readings
// are taken with ElapsedMs, in 32-bit two's-complement arithmetic without undefined
// behaviour. Tests switch to a manual clock that only moves when told. Thread-safe.

#include <cstdint>

namespace plat {

int32_t TickCount();
// The same clock in fractions of a millisecond (for placing sounds on the beat).
double TickCountPrecise();

// b - a wrapped to 32 bits.
constexpr int32_t ElapsedMs(int32_t from, int32_t to)
{
    return int32_t(uint32_t(to) - uint32_t(from));
}

// Manual clock for tests: while enabled, TickCount returns the set value.
void UseManualClock(bool on, int32_t startMs = 0);
bool ManualClockActive();
void SetManualClock(int32_t ms);
void AdvanceManualClock(int32_t ms);

// Sleeps the calling thread; with the manual clock active this still sleeps real time.
void SleepMs(int32_t ms);

} // namespace plat
