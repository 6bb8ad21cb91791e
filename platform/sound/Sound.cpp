#include "platform/sound/Sound.h"

#include "platform/system/Failure.h"
#include "platform/sound/Mixer_p.h"
#include "platform/sound/Wave_p.h"
#include "platform/system/Clock.h"

#include <SDL.h>

#include <cstring>
#include <list>
#include <string>

namespace plat::sound {

namespace {

constexpr int DeviceRate = 48000;
// 10 ms, a whole number of microseconds: with 512 frames a timer-driven sound server's
// null output ran 250 ppm fast against the system clock, with 480 it kept time.
constexpr int DeviceBufferFrames = 480;
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
    std::shared_ptr<const DecodedSound> Find(const std::vector<uint8_t>& image, uint64_t hash)
    {
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->hash == hash && it->image == image) {
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
// its own lock, the only one the output thread takes, so closing the device while
// holding FControl cannot deadlock with a running callback.
struct Service {
    std::mutex FControl;
    Mixer FMixer;
    SoundCache FCache;
    bool FManual = false;
    int FManualBuffer = 0;
    bool FOpened = false; // an output was opened, or found missing
    bool FSilent = false; // no device: valid images play silently
    bool FSdlAudio = false;
    SDL_AudioDeviceID FDevice = 0;
    int FRate = 0;

    void EnsureOpen();
    void CloseOutput();
    bool Play(const uint8_t* image, size_t size, uint32_t flags, std::optional<double> at);
};

// Never destroyed: the output thread may still run while static objects are torn down.
Service& TheService()
{
    static Service* service = new Service;
    return *service;
}

void AudioCallback(void* userdata, Uint8* stream, int len)
{
    auto* mixer = static_cast<Mixer*>(userdata);
    int frames = len / int(2 * sizeof(float));
    mixer->Render(reinterpret_cast<float*>(stream), frames, TickCountPrecise());
}

void Service::EnsureOpen()
{
    if (FOpened)
        return;
    FOpened = true;
    FSilent = true;
    FRate = DeviceRate; // the nominal rate images are checked against without a device
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReportFailure(std::string("no audio: ") + SDL_GetError());
        return;
    }
    FSdlAudio = true;
    SDL_AudioSpec want {}, have {};
    want.freq = DeviceRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = DeviceBufferFrames;
    want.callback = AudioCallback;
    want.userdata = &FMixer;
    FDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (FDevice == 0) {
        ReportFailure(std::string("no audio device: ") + SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSdlAudio = false;
        return;
    }
    FSilent = false;
    FRate = have.freq;
    FMixer.Reset(have.freq);
    FCache.Clear();
    SDL_PauseAudioDevice(FDevice, 0);
}

void Service::CloseOutput()
{
    if (FDevice != 0) {
        SDL_CloseAudioDevice(FDevice);
        FDevice = 0;
    }
    if (FSdlAudio) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSdlAudio = false;
    }
    FMixer.Stop();
    FOpened = false;
    FSilent = false;
    FRate = 0;
    FCache.Clear();
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
    // The service keeps its own copy, so the caller may reuse its buffer at once.
    std::vector<uint8_t> copy(image, image + size);
    uint64_t hash = HashBytes(copy.data(), copy.size());
    auto sound = FCache.Find(copy, hash);
    if (!sound) {
        sound = DecodeWave(copy.data(), copy.size(), FRate);
        if (!sound) {
            FMixer.Stop(); // an unplayable image still replaces the sound playing
            return false;
        }
        FCache.Add(std::move(copy), hash, sound);
    }
    if (FSilent)
        return true;
    bool loop = (flags & Loop) && (flags & Async);
    double duration = sound->DurationMs();
    uint64_t id = FMixer.Start(std::move(sound), loop, at);
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

void Shutdown()
{
    Service& s = TheService();
    std::lock_guard lock(s.FControl);
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
