#pragma once
// Tempo from taps on a key. Taps less than 2 s apart belong to one measurement; the tempo
// is 60000 ms over the mean of its last intervals (at most four), rounded and held to
// 40..208. A first tap, or one after a pause of 2 s or more, starts a new measurement.
// Times come from the caller (the program's millisecond clock), so any clock will do.
// GUI thread only.

#include <array>
#include <cstdint>
#include <optional>

class TTapTempo {
public:
    static constexpr int32_t PauseMs = 2000;
    static constexpr int MaxIntervals = 4;
    static constexpr int MinTempo = 40, MaxTempo = 208;

    // A tap at nowMs. The tempo the measurement gives, or nothing after its first tap.
    std::optional<int> Tap(int32_t nowMs);
    void Reset() { FCount = 0; }
    // Taps of the current measurement that still count (at most MaxIntervals + 1).
    int Taps() const { return FCount; }

private:
    std::array<int32_t, MaxIntervals + 1> FTaps {};
    int FCount = 0;
};
