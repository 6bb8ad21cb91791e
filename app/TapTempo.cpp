#include "app/TapTempo.h"

#include "platform/system/Clock.h"

#include <algorithm>
#include <cmath>

std::optional<int> TTapTempo::Tap(int32_t nowMs)
{
    // A tap that seems to come before the last one (a clock that went back) starts anew,
    // as a pause does.
    if (FCount > 0) {
        int32_t since = plat::ElapsedMs(FTaps[size_t(FCount - 1)], nowMs);
        if (since >= PauseMs || since < 0)
            FCount = 0;
    }
    if (FCount == int(FTaps.size())) {
        std::move(FTaps.begin() + 1, FTaps.end(), FTaps.begin());
        --FCount;
    }
    FTaps[size_t(FCount++)] = nowMs;
    if (FCount < 2)
        return std::nullopt;
    // The span of the kept taps over their intervals is the mean interval; taps in the
    // same millisecond are as fast as anything can be.
    const double span = double(plat::ElapsedMs(FTaps[0], nowMs));
    if (span <= 0)
        return MaxTempo;
    const double tempo = 60000.0 * (FCount - 1) / span;
    return int(std::clamp<double>(std::round(tempo), MinTempo, MaxTempo));
}
