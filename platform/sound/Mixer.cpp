#include "platform/sound/Mixer_p.h"

#include "platform/sound/Sound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace plat::sound {

namespace {
// The drift correction's weight per callback once the start-up average has settled.
constexpr double DriftWeight = 1e-4;
// A callback this far off the mapping means the stream stalled (a sound server may hold
// a new stream for half a second before it starts); the mapping restarts rather than
// averaging the stall in, which would move every later sound for minutes.
constexpr double ResyncSeconds = 0.1;
// Start positions kept for inspection.
constexpr size_t StartedKept = 1024;
}

void Mixer::Reset(int rate)
{
    std::lock_guard lock(FMutex);
    FRate = rate;
    FMixed = 0;
    FCurrent.reset();
    FNext.reset();
    FStarted.clear();
    FMapped = false;
    FCallbacks = 0;
    FEnded.notify_all();
}

uint64_t Mixer::Start(
    std::shared_ptr<const DecodedSound> sound, bool loop, std::optional<double> clockMs)
{
    std::lock_guard lock(FMutex);
    Voice v;
    v.id = FNextId++;
    v.sound = std::move(sound);
    v.loop = loop;
    v.clockMs = clockMs;
    bool audible = FCurrent && FCurrent->start >= 0 && FCurrent->start < FMixed;
    if (audible)
        FNext = std::move(v);
    else {
        FCurrent = std::move(v);
        FNext.reset();
    }
    FEnded.notify_all();
    return FNextId - 1;
}

void Mixer::Stop()
{
    std::lock_guard lock(FMutex);
    FCurrent.reset();
    FNext.reset();
    FEnded.notify_all();
}

bool Mixer::Playing() const
{
    std::lock_guard lock(FMutex);
    return FCurrent || FNext;
}

bool Mixer::Active(uint64_t id) const
{
    return (FCurrent && FCurrent->id == id) || (FNext && FNext->id == id);
}

void Mixer::WaitEnded(uint64_t id, double realMs)
{
    std::unique_lock lock(FMutex);
    auto limit = std::chrono::duration<double, std::milli>(realMs);
    FEnded.wait_for(lock, limit, [&] { return !Active(id); });
}

std::vector<int64_t> Mixer::StartedAt() const
{
    std::lock_guard lock(FMutex);
    return FStarted;
}

int64_t Mixer::MixedFrames() const
{
    std::lock_guard lock(FMutex);
    return FMixed;
}

void Mixer::UpdateMapping(double clockMs, int64_t firstSample)
{
    double predicted = FRate * (clockMs - FT0) / 1000.0 + FOffset;
    double error = double(firstSample) - predicted;
    if (!FMapped || std::fabs(error) > ResyncSeconds * FRate) {
        FMapped = true;
        FT0 = clockMs;
        FOffset = double(firstSample);
        FCallbacks = 1;
        return;
    }
    // The first callbacks are averaged, then a slow low-pass follows the drift between
    // the device's clock and ours; callback jitter never moves the mapping by a buffer.
    ++FCallbacks;
    double weight = std::max(DriftWeight, 1.0 / double(FCallbacks));
    FOffset += weight * error;
}

void Mixer::Resolve(Voice& v, int64_t firstUnmixed) const
{
    if (v.start >= 0)
        return;
    int64_t at = firstUnmixed;
    if (v.clockMs && FMapped) {
        double exact = (*v.clockMs + LatencyMs() - FT0) * FRate / 1000.0;
        at = std::llround(exact) + std::llround(FOffset);
    }
    // A request whose sample was already produced starts at once.
    v.start = std::max(at, firstUnmixed);
}

bool Mixer::MixVoice(Voice& v, float* out, int64_t base, int64_t from, int64_t to)
{
    const int64_t length = v.sound->frames;
    from = std::max(from, v.start);
    if (from >= to)
        return true;
    if (from == v.start && FStarted.size() < StartedKept)
        FStarted.push_back(v.start);
    const float* src = v.sound->samples.data();
    int64_t s = from;
    while (s < to) {
        int64_t index = s - v.start;
        if (v.loop)
            index %= length;
        else if (index >= length)
            return false;
        int64_t n = std::min(to - s, length - index);
        if (out)
            std::memcpy(out + 2 * (s - base), src + 2 * index, size_t(n) * 2 * sizeof(float));
        s += n;
    }
    return v.loop || s - v.start < length;
}

void Mixer::Render(float* out, int frames, double clockMs)
{
    if (out)
        std::memset(out, 0, size_t(frames) * 2 * sizeof(float));
    std::lock_guard lock(FMutex);
    if (frames <= 0 || FRate <= 0)
        return;
    const int64_t base = FMixed, end = FMixed + frames;
    UpdateMapping(clockMs, base);
    bool ended = false;
    if (FCurrent)
        Resolve(*FCurrent, base);
    if (FNext)
        Resolve(*FNext, base);
    // The sound playing is cut where its successor starts.
    if (FNext && FNext->start < end) {
        if (FCurrent)
            MixVoice(*FCurrent, out, base, base, FNext->start);
        FCurrent = std::move(FNext);
        FNext.reset();
        ended = true;
    }
    if (FCurrent && !MixVoice(*FCurrent, out, base, base, end)) {
        FCurrent.reset();
        ended = true;
    }
    FMixed = end;
    if (ended)
        FEnded.notify_all();
}

} // namespace plat::sound
