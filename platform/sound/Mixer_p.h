#pragma once
// The one-voice mixer behind the sound service. It renders the output stream by absolute
// sample index: sample n of the stream is the n-th frame the output was ever asked for.
// A sound is placed either at the first sample not rendered yet, at the sample heard at a
// given program-clock time, or on a beat of the beat grid, whose samples are fixed once the
// grid is anchored and never move afterwards, whatever the callbacks do.
//
// The mapping between the program clock and the samples heard comes from the output: a
// sound server reports it (ReportTiming); where nothing reports it, it is estimated from the
// callback times (the estimate only anchors grids and serves untimed outputs; it never moves
// a sound that is already placed).
//
// Render runs on the output's thread; every other member may be called from any thread.
// All state is guarded by one mutex, held only briefly.

#include "platform/sound/Wave_p.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace plat::sound {

class Mixer {
public:
    // Starts a new stream of `rate` frames per second: forgets voices, the grid's anchor
    // and the mapping (a grid that is set anchors again). With timingReported the output
    // will report its timing, and nothing is estimated from callback times meanwhile.
    void Reset(int rate, bool timingReported = false);
    int Rate() const;

    // Queues a sound and returns its id. A sound that has not started yet is dropped; one
    // that is audible keeps playing until the new one starts. Untimed sounds start at the
    // first sample not rendered yet.
    uint64_t Start(std::shared_ptr<const DecodedSound> sound, bool loop);
    // Starts at the sample heard at clockMs + latency; a time already rendered starts at once.
    uint64_t StartAtClock(std::shared_ptr<const DecodedSound> sound, bool loop, double clockMs);
    // Starts exactly on beat `beat` of the grid; skipped (and counted) if that sample was
    // rendered before the sound could be placed. 0 when no grid is set.
    uint64_t StartOnBeat(std::shared_ptr<const DecodedSound> sound, int64_t beat);
    void Stop();
    bool Playing() const;
    // Waits until the sound `id` has ended, was stopped or replaced, or realMs passed.
    void WaitEnded(uint64_t id, double realMs);

    // The beat grid: beat 0 is heard at program-clock time clockMs, beat k
    // round(k * 60 * rate / bpm) samples later. The anchor sample is fixed at the first
    // moment a mapping exists and stays for the grid's life.
    void SetGrid(double clockMs, int bpm);
    void ClearGrid();
    // Milliseconds of the grid's own time heard at program-clock time clockMs (beat k is
    // at k * 60000 / bpm); empty before the anchor is fixed.
    std::optional<double> GridElapsedMs(double clockMs) const;
    // Beats that could not be placed on time and were skipped rather than played late.
    int64_t SkippedBeats() const;

    // The output reports that sample `heard` (fractional) is heard at program-clock time
    // clockMs. Replaces the estimate from callback times for good.
    void ReportTiming(double clockMs, double heard);
    // Samples before `sample` will never be heard (the output fell behind and skipped
    // them): sounds that were to start there are skipped, a playing one moves on.
    void Discard(int64_t sample);
    // Produces `frames` stereo float frames (out may be null) starting at the next sample,
    // for a callback at program-clock time clockMs.
    void Render(float* out, int frames, double clockMs);

    std::vector<int64_t> StartedAt() const;
    int64_t MixedFrames() const;

private:
    enum class Placement { Now, Clock, Beat };
    struct Voice {
        uint64_t id = 0;
        std::shared_ptr<const DecodedSound> sound;
        bool loop = false;
        Placement placement = Placement::Now;
        double clockMs = 0.0;
        int64_t beat = 0;
        int64_t start = -1; // first output sample, once known
        bool skip = false; // a beat that was due before it could be placed
    };

    uint64_t Queue(Voice v);
    bool Active(uint64_t id) const;
    std::optional<double> HeardAt(double clockMs) const;
    void UpdateEstimate(double clockMs, int64_t firstSample);
    void FixAnchor();
    void Resolve(Voice& v, int64_t firstUnmixed);
    // Copies v's frames for output samples [from, to) into out (buffer starts at base).
    // Returns false once a one-shot voice has run out.
    bool MixVoice(Voice& v, float* out, int64_t base, int64_t from, int64_t to);

    mutable std::mutex FMutex;
    std::condition_variable FEnded;
    int FRate = 0;
    int64_t FMixed = 0;
    uint64_t FNextId = 1;
    std::optional<Voice> FCurrent, FNext;
    std::vector<int64_t> FStarted;
    int64_t FSkipped = 0;

    // Clock mapping: heard(t) = rate * (t - FT0) / 1000 + FOffset.
    bool FMapped = false;
    bool FReported = false; // the output reports its timing: no estimate from callbacks
    double FT0 = 0.0, FOffset = 0.0;
    int64_t FCallbacks = 0;

    // Beat grid.
    bool FGrid = false;
    double FGridClockMs = 0.0;
    int FGridBpm = 0;
    std::optional<int64_t> FAnchor;
};

} // namespace plat::sound
