#include "platform/sound/Mixer_p.h"

#include "platform/sound/Sound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace plat::sound {

namespace {
// The estimate's weight per callback once the start-up average has settled.
constexpr double DriftWeight = 1e-4;
// A callback this far off the estimate means the stream stalled (a sound server may hold
// a new stream for half a second before it starts); the estimate restarts rather than
// averaging the stall in, which would move every later anchor for minutes.
constexpr double ResyncSeconds = 0.1;
// Start positions kept for inspection.
constexpr size_t StartedKept = 1024;

// round(beat * 60 * rate / bpm) in exact integer arithmetic, halves rounded up.
int64_t BeatOffset(int64_t beat, int rate, int bpm)
{
    const int64_t num = beat * 60 * int64_t(rate);
    return (2 * num + bpm) / (2 * int64_t(bpm));
}
}

void Mixer::Reset(int rate, bool timingReported)
{
    std::lock_guard lock(FMutex);
    FRate = rate;
    FMixed = 0;
    FCurrent.reset();
    FNext.reset();
    FStarted.clear();
    FSkipped = 0;
    FMapped = false;
    FReported = timingReported;
    FCallbacks = 0;
    FAnchor.reset();
    FEnded.notify_all();
}

int Mixer::Rate() const
{
    std::lock_guard lock(FMutex);
    return FRate;
}

uint64_t Mixer::Queue(Voice v)
{
    v.id = FNextId++;
    bool audible = FCurrent && FCurrent->start >= 0 && FCurrent->start < FMixed;
    // A later beat waits behind an earlier one that is still to come.
    bool earlierBeat = v.placement == Placement::Beat && FCurrent
        && FCurrent->placement == Placement::Beat && FCurrent->beat < v.beat;
    if (audible || earlierBeat)
        FNext = std::move(v);
    else {
        FCurrent = std::move(v);
        FNext.reset();
    }
    FEnded.notify_all();
    return FNextId - 1;
}

uint64_t Mixer::Start(std::shared_ptr<const DecodedSound> sound, bool loop)
{
    std::lock_guard lock(FMutex);
    Voice v;
    v.sound = std::move(sound);
    v.loop = loop;
    return Queue(std::move(v));
}

uint64_t Mixer::StartAtClock(std::shared_ptr<const DecodedSound> sound, bool loop, double clockMs)
{
    std::lock_guard lock(FMutex);
    Voice v;
    v.sound = std::move(sound);
    v.loop = loop;
    v.placement = Placement::Clock;
    v.clockMs = clockMs;
    return Queue(std::move(v));
}

uint64_t Mixer::StartOnBeat(std::shared_ptr<const DecodedSound> sound, int64_t beat)
{
    std::lock_guard lock(FMutex);
    if (!FGrid)
        return 0;
    Voice v;
    v.sound = std::move(sound);
    v.placement = Placement::Beat;
    v.beat = beat;
    // Placed now if the anchor is known, so that a beat already past is skipped at once.
    if (FAnchor)
        Resolve(v, FMixed);
    if (v.skip)
        return 0;
    return Queue(std::move(v));
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

void Mixer::SetGrid(double clockMs, int bpm)
{
    std::lock_guard lock(FMutex);
    // A beat of the previous grid that has not begun belongs to a run that is over.
    if (FNext && FNext->placement == Placement::Beat)
        FNext.reset();
    if (FCurrent && FCurrent->placement == Placement::Beat && FCurrent->start < 0)
        FCurrent.reset();
    FGrid = bpm > 0;
    FGridClockMs = clockMs;
    FGridBpm = bpm;
    FAnchor.reset();
    FixAnchor();
}

void Mixer::ClearGrid()
{
    std::lock_guard lock(FMutex);
    FGrid = false;
    FAnchor.reset();
    if (FNext && FNext->placement == Placement::Beat)
        FNext.reset();
    if (FCurrent && FCurrent->placement == Placement::Beat
        && (FCurrent->start < 0 || FCurrent->start >= FMixed))
        FCurrent.reset();
    FEnded.notify_all();
}

std::optional<double> Mixer::GridElapsedMs(double clockMs) const
{
    std::lock_guard lock(FMutex);
    auto heard = HeardAt(clockMs);
    if (!FAnchor || !heard)
        return std::nullopt;
    return (*heard - double(*FAnchor)) * 1000.0 / FRate;
}

int64_t Mixer::SkippedBeats() const
{
    std::lock_guard lock(FMutex);
    return FSkipped;
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

std::optional<double> Mixer::HeardAt(double clockMs) const
{
    if (!FMapped || FRate <= 0)
        return std::nullopt;
    return FRate * (clockMs - FT0) / 1000.0 + FOffset;
}

void Mixer::ReportTiming(double clockMs, double heard)
{
    std::lock_guard lock(FMutex);
    FReported = true;
    FMapped = true;
    FT0 = clockMs;
    FOffset = heard;
    FixAnchor();
}

void Mixer::UpdateEstimate(double clockMs, int64_t firstSample)
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
    // the device's clock and ours; callback jitter never moves the estimate by a buffer.
    ++FCallbacks;
    double weight = std::max(DriftWeight, 1.0 / double(FCallbacks));
    FOffset += weight * error;
}

void Mixer::FixAnchor()
{
    if (!FGrid || FAnchor)
        return;
    if (auto heard = HeardAt(FGridClockMs))
        FAnchor = std::llround(*heard);
}

void Mixer::Resolve(Voice& v, int64_t firstUnmixed)
{
    if (v.start >= 0 || v.skip)
        return;
    switch (v.placement) {
    case Placement::Now:
        v.start = firstUnmixed;
        break;
    case Placement::Clock: {
        int64_t at = firstUnmixed;
        if (FMapped) {
            double exact = (v.clockMs + LatencyMs() - FT0) * FRate / 1000.0;
            at = std::llround(exact) + std::llround(FOffset);
        }
        // A request whose sample was already produced starts at once.
        v.start = std::max(at, firstUnmixed);
        break;
    }
    case Placement::Beat: {
        if (!FGrid || !FAnchor)
            return; // placed once the grid has its anchor
        int64_t at = v.beat < 0 ? -1 : *FAnchor + BeatOffset(v.beat, FRate, FGridBpm);
        // A beat whose sample has gone is skipped, never played late.
        if (at < firstUnmixed) {
            v.skip = true;
            ++FSkipped;
        } else
            v.start = at;
        break;
    }
    }
}

bool Mixer::MixVoice(Voice& v, float* out, int64_t base, int64_t from, int64_t to)
{
    if (v.start < 0)
        return true; // not placed yet
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

void Mixer::Discard(int64_t sample)
{
    std::lock_guard lock(FMutex);
    if (sample <= FMixed)
        return;
    bool ended = false;
    if (FNext)
        Resolve(*FNext, FMixed);
    if (FNext && !FNext->skip && FNext->start >= 0 && FNext->start < sample) {
        FCurrent = std::move(FNext);
        FNext.reset();
        ended = true;
    }
    if (FCurrent)
        Resolve(*FCurrent, FMixed);
    // A sound that was to start in the gap is lost; a beat counts as skipped.
    if (FCurrent && FCurrent->start >= FMixed && FCurrent->start < sample) {
        if (FCurrent->placement == Placement::Beat)
            ++FSkipped;
        FCurrent.reset();
        ended = true;
    }
    if (FCurrent && !FCurrent->skip && FCurrent->start >= 0 && !FCurrent->loop
        && sample - FCurrent->start >= FCurrent->sound->frames) {
        FCurrent.reset();
        ended = true;
    }
    if (FCurrent && FCurrent->skip) {
        FCurrent.reset();
        ended = true;
    }
    if (FNext && FNext->skip)
        FNext.reset();
    FMixed = sample;
    if (ended)
        FEnded.notify_all();
}

void Mixer::Render(float* out, int frames, double clockMs)
{
    if (out)
        std::memset(out, 0, size_t(frames) * 2 * sizeof(float));
    std::lock_guard lock(FMutex);
    if (frames <= 0 || FRate <= 0)
        return;
    const int64_t base = FMixed, end = FMixed + frames;
    if (!FReported) {
        UpdateEstimate(clockMs, base);
        FixAnchor();
    }
    bool ended = false;
    if (FCurrent)
        Resolve(*FCurrent, base);
    if (FNext)
        Resolve(*FNext, base);
    if (FNext && FNext->skip)
        FNext.reset();
    if (FCurrent && FCurrent->skip) {
        FCurrent = std::move(FNext);
        FNext.reset();
        ended = true;
    }
    // The sound playing is cut where its successor starts.
    if (FNext && FNext->start >= 0 && FNext->start < end) {
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
