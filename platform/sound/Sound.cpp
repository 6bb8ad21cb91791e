#include "platform/sound/Sound.h"

#include "platform/system/Failure.h"
#include "platform/sound/Mixer_p.h"
#include "platform/sound/Wave_p.h"
#include "platform/system/Clock.h"

#include "platform/sound/Output_p.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <list>
#include <span>
#include <string>

namespace plat::sound {

namespace {

constexpr int DeviceRate = 48000;
// Without any output, a new attempt to open one is made at most this often.
constexpr double RetryMs = 1000.0;
constexpr size_t CacheEntries = 16;
constexpr size_t CacheBytes = size_t(64) << 20;
// A Sync call waits this much longer than its sound lasts before it gives up, so that a
// stalled device cannot hang the caller.
constexpr double SyncGraceMs = 2000.0;

uint64_t HashBytes(const uint8_t* p, size_t n)
{
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Decoded sounds by content, most recently used first; bounded by count and bytes.
class SoundCache {
public:
    std::shared_ptr<const DecodedSound> Find(std::span<const uint8_t> image, uint64_t hash)
    {
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->hash == hash && std::ranges::equal(it->image, image)) {
                FEntries.splice(FEntries.begin(), FEntries, it);
                return it->sound;
            }
        return nullptr;
    }
    void Add(std::vector<uint8_t> image, uint64_t hash, std::shared_ptr<const DecodedSound> s)
    {
        FEntries.push_front({ hash, std::move(image), std::move(s) });
        while (FEntries.size() > 1 && (FEntries.size() > CacheEntries || Bytes() > CacheBytes))
            FEntries.pop_back();
    }
    void Clear() { FEntries.clear(); }

private:
    struct Entry {
        uint64_t hash;
        std::vector<uint8_t> image;
        std::shared_ptr<const DecodedSound> sound;
    };
    size_t Bytes() const
    {
        size_t n = 0;
        for (const Entry& e : FEntries)
            n += e.image.size() + e.sound->samples.size() * sizeof(float);
        return n;
    }
    std::list<Entry> FEntries;
};

// The service's state. FControl serialises opening, closing and decoding; the mixer has
// its own lock, the only one the output thread takes, so closing the output while
// holding FControl cannot deadlock with a running callback.
struct Service {
    std::mutex FControl;
    Mixer FMixer;
    SoundCache FCache;
    bool FManual = false;
    int FManualBuffer = 0;
    bool FOpened = false; // an output was opened, or found missing
    bool FSilent = false; // no output: valid images play silently
    std::unique_ptr<Output> FOutput;
    int FRate = 0;
    double FFailedAt = 0.0; // program clock of the last failed open
    bool FToldSilent = false; // standard error was told that nothing sounds
    bool FGrid = false;

    void EnsureOpen();
    void LoseOutput();
    void CloseOutput();
    std::shared_ptr<const DecodedSound> Decode(const uint8_t* image, size_t size);
    bool Play(const uint8_t* image, size_t size, uint32_t flags, std::optional<double> at);
};

// Never destroyed: the output thread may still run while static objects are torn down.
Service& TheService()
{
    static Service* service = new Service;
    return *service;
}

// The server's client unless SDL is told to use another driver (tests name "dummy").
bool ServerWanted()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (!driver || !*driver)
        return true;
    std::string d(driver);
    return d == "pulseaudio" || d == "pulse" || d == "pipewire";
}

// Opens the first output that works: the sound server's, then SDL's device. Without
// either, the service plays silently and tries the server again now and then (a server
// that starts later is found; the devices SDL knows do not come and go). It says so once.
void Service::EnsureOpen()
{
    const bool retry = FOpened;
    if (FOpened && (!FSilent || FManual || TickCountPrecise() - FFailedAt < RetryMs))
        return;
    FOpened = true;
    FSilent = true;
    FRate = DeviceRate; // the nominal rate images are checked against without a device
    if (FManual) {
        FSilent = false;
        FRate = FMixer.Rate();
        return;
    }
    std::string serverError, deviceError;
    if (ServerWanted()) {
        FOutput = CreateServerOutput();
        if (FOutput->Open(FMixer, DeviceRate, serverError)) {
            FSilent = false;
            FRate = FOutput->Rate();
            if (FToldSilent)
                std::fprintf(stderr, "sound output found again\n");
            FToldSilent = false;
            return;
        }
        FOutput.reset();
    }
    if (!retry) {
        auto device = CreateDeviceOutput();
        if (device->Open(FMixer, DeviceRate, deviceError)) {
            FOutput = std::move(device);
            FSilent = false;
            FRate = FOutput->Rate();
            return;
        }
    }
    FFailedAt = TickCountPrecise();
    const std::string reason = serverError.empty() ? deviceError : serverError;
    ReportFailure("no sound output: " + reason);
    if (!FToldSilent && !retry) {
        FToldSilent = true;
        std::fprintf(stderr, "no sound output (%s): running silent until one appears\n",
            reason.c_str());
    }
}

// The server went away: the stream is dropped, and the next attempt comes at once.
void Service::LoseOutput()
{
    FOutput->Close();
    FOutput.reset();
    FMixer.Stop();
    FSilent = true;
    FFailedAt = TickCountPrecise() - RetryMs;
    if (!FToldSilent) {
        FToldSilent = true;
        std::fprintf(stderr, "sound server lost: running silent until it is back\n");
    }
}

void Service::CloseOutput()
{
    if (FOutput) {
        FOutput->Close();
        FOutput.reset();
    }
    FMixer.Stop();
    FOpened = false;
    FSilent = false;
    FRate = 0;
    FCache.Clear();
}

std::shared_ptr<const DecodedSound> Service::Decode(const uint8_t* image, size_t size)
{
    // A sound played again, as every beat's is, is found by its bytes without a copy.
    uint64_t hash = HashBytes(image, size);
    if (auto sound = FCache.Find({ image, size }, hash))
        return sound;
    // The service keeps its own copy, so the caller may reuse its buffer at once.
    std::vector<uint8_t> copy(image, image + size);
    auto sound = DecodeWave(copy.data(), copy.size(), FRate);
    if (sound)
        FCache.Add(std::move(copy), hash, sound);
    return sound;
}

bool Service::Play(const uint8_t* image, size_t size, uint32_t flags, std::optional<double> at)
{
    if (!image || size == 0) {
        FMixer.Stop();
        return true;
    }
    std::unique_lock lock(FControl);
    EnsureOpen();
    if ((flags & NoStop) && FMixer.Playing())
        return false;
    auto sound = Decode(image, size);
    if (!sound) {
        FMixer.Stop(); // an unplayable image still replaces the sound playing
        return false;
    }
    if (FSilent)
        return true;
    bool loop = (flags & Loop) && (flags & Async);
    double duration = sound->DurationMs();
    uint64_t id = at ? FMixer.StartAtClock(std::move(sound), loop, *at)
                     : FMixer.Start(std::move(sound), loop);
    lock.unlock();
    if (!(flags & Async))
        FMixer.WaitEnded(id, duration + LatencyMs() + SyncGraceMs);
    return true;
}

} // namespace

bool PlaySound(const uint8_t* image, size_t size, uint32_t flags)
{
    return TheService().Play(image, size, flags, std::nullopt);
}

bool PlaySoundAt(const uint8_t* image, size_t size, uint32_t flags, double clockMs)
{
    return TheService().Play(image, size, flags, clockMs);
}

void Stop()
{
    TheService().FMixer.Stop();
}

void Prepare()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.EnsureOpen();
}

bool Playing()
{
    return TheService().FMixer.Playing();
}

void SetBeatGrid(double clockMs, int bpm)
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.EnsureOpen();
    s.FGrid = true;
    s.FMixer.SetGrid(clockMs, bpm);
}

bool PlaySoundOnBeat(const uint8_t* image, size_t size, uint32_t flags, int64_t beat)
{
    Service& s = TheService();
    if (!image || size == 0) {
        s.FMixer.Stop();
        return true;
    }
    std::lock_guard lock(s.FControl);
    if (!s.FGrid)
        return false;
    s.EnsureOpen();
    if ((flags & NoStop) && s.FMixer.Playing())
        return false;
    auto sound = s.Decode(image, size);
    if (!sound) {
        s.FMixer.Stop();
        return false;
    }
    if (!s.FSilent)
        s.FMixer.StartOnBeat(std::move(sound), beat);
    return true;
}

std::optional<double> BeatGridElapsedMs()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    if (!s.FGrid)
        return std::nullopt;
    if (s.FOutput && s.FOutput->Broken())
        s.LoseOutput();
    // Silent: a server may have come. The mixer keeps the grid, which anchors anew on the
    // new stream's first timing.
    if (s.FSilent)
        s.EnsureOpen();
    if (s.FSilent)
        return std::nullopt;
    return s.FMixer.GridElapsedMs(TickCountPrecise());
}

int64_t SkippedBeats() { return TheService().FMixer.SkippedBeats(); }

void ClearBeatGrid()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.FGrid = false;
    s.FMixer.ClearGrid();
    if (s.FManual) {
        s.FOpened = false;
        return;
    }
    s.CloseOutput();
}

void Shutdown()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.FGrid = false;
    s.FMixer.ClearGrid();
    int rate = s.FRate;
    s.CloseOutput();
    if (s.FManual) {
        // A manual output stays in place.
        s.FOpened = true;
        s.FRate = rate;
    }
}

namespace testing {

void UseManualOutput(int rate, int bufferFrames)
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.CloseOutput();
    s.FManual = true;
    s.FManualBuffer = bufferFrames > 0 ? bufferFrames : 1;
    s.FOpened = true;
    s.FRate = rate > 0 ? rate : DeviceRate;
    s.FGrid = false;
    s.FMixer.ClearGrid();
    s.FMixer.Reset(s.FRate);
}

void UseDeviceOutput()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    s.CloseOutput();
    s.FManual = false;
}

void RenderNext(float* out)
{
    Service& s = TheService();
    int frames = 0;
    {
        std::lock_guard lock(s.FControl);
        if (!s.FManual)
            return;
        frames = s.FManualBuffer;
    }
    s.FMixer.Render(out, frames, TickCountPrecise());
}

std::vector<float> RenderFrames(int frames)
{
    Service& s = TheService();
    int buffer = 0;
    {
        std::lock_guard lock(s.FControl);
        if (!s.FManual)
            return {};
        buffer = s.FManualBuffer;
    }
    std::vector<float> result;
    std::vector<float> block(size_t(buffer) * 2);
    for (int done = 0; done < frames; done += buffer) {
        RenderNext(block.data());
        result.insert(result.end(), block.begin(), block.end());
    }
    return result;
}

void ReportTiming(double clockMs, double heard) { TheService().FMixer.ReportTiming(clockMs, heard); }

void Discard(int64_t sample) { TheService().FMixer.Discard(sample); }

void RenderAt(float* out, int frames, double clockMs)
{
    Service& s = TheService();
    {
        std::lock_guard lock(s.FControl);
        if (!s.FManual)
            return;
    }
    s.FMixer.Render(out, frames, clockMs);
}

bool OutputOpen()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    return s.FManual ? s.FOpened : s.FOutput != nullptr;
}

std::vector<int64_t> StartedAt()
{
    return TheService().FMixer.StartedAt();
}

int64_t MixedFrames()
{
    return TheService().FMixer.MixedFrames();
}

int OutputRate()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
    return s.FSilent ? 0 : s.FRate;
}

} // namespace testing

} // namespace plat::sound
