#pragma once
// The one-voice mixer behind the sound service. It keeps the mapping from the program
// clock to output sample positions and places each sound at its own sample inside the
// buffer being produced. Render runs on the output's thread; every other member may be
// called from any thread. All state is guarded by one mutex, held only briefly.

#include "platform/sound/Wave_p.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace plat::sound {

class Mixer {
public:
    // Starts a new stream of `rate` frames per second: forgets voices and the mapping.
    void Reset(int rate);
    // Queues a sound and returns its id. A sound that has not started yet is dropped; one
    // that is audible keeps playing until the new one starts. Timed sounds start at the
    // sample that corresponds to clockMs + latency, others at the first unmixed sample.
    uint64_t Start(
        std::shared_ptr<const DecodedSound> sound, bool loop, std::optional<double> clockMs);
    void Stop();
    bool Playing() const;
    // Waits until the sound `id` has ended, was stopped or replaced, or realMs passed.
    void WaitEnded(uint64_t id, double realMs);
    // Produces `frames` stereo float frames (out may be null) for a callback at clockMs.
    void Render(float* out, int frames, double clockMs);

    std::vector<int64_t> StartedAt() const;
    int64_t MixedFrames() const;

private:
    struct Voice {
        uint64_t id = 0;
        std::shared_ptr<const DecodedSound> sound;
        bool loop = false;
        std::optional<double> clockMs;
        int64_t start = -1; // first output sample, once known
    };

    bool Active(uint64_t id) const;
    void UpdateMapping(double clockMs, int64_t firstSample);
    void Resolve(Voice& v, int64_t firstUnmixed) const;
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
    // Clock mapping: sample(t) = rate * (t - FT0) / 1000 + FOffset.
    bool FMapped = false;
    double FT0 = 0.0, FOffset = 0.0;
    int64_t FCallbacks = 0;
};

} // namespace plat::sound
