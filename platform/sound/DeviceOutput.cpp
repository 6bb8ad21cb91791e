// The output through SDL's audio device, for systems without a sound server. SDL tells
// nothing of the device's position, so the mixer estimates the clock mapping from the
// callback times; sounds already placed never move with that estimate.

#include "platform/sound/Mixer_p.h"
#include "platform/sound/Output_p.h"
#include "platform/system/Clock.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace plat::sound {

namespace {

// 10 ms, a whole number of microseconds: with 512 frames a timer-driven sound server's
// null output ran 250 ppm fast against the system clock, with 480 it kept time.
constexpr int BufferFrames = 480;

// Standard error goes to /dev/null while it lives. The audio libraries SDL probes print
// their own lines for every device they do not find; the service says in one line what
// matters.
class QuietStandardError {
public:
    QuietStandardError()
    {
        std::fflush(stderr);
        FSaved = dup(STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (FSaved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStandardError()
    {
        if (FSaved < 0)
            return;
        std::fflush(stderr);
        dup2(FSaved, STDERR_FILENO);
        close(FSaved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int FSaved = -1;
};

class DeviceOutput final : public Output {
public:
    ~DeviceOutput() override { Close(); }

    bool Open(Mixer& mixer, int rate, std::string& error) override
    {
        QuietStandardError quiet;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            error = SDL_GetError();
            return false;
        }
        FInitialised = true;
        SDL_AudioSpec want {}, have {};
        want.freq = rate;
        want.format = AUDIO_F32SYS;
        want.channels = 2;
        want.samples = BufferFrames;
        want.callback = Callback;
        want.userdata = &mixer;
        FDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (FDevice == 0) {
            error = SDL_GetError();
            Close();
            return false;
        }
        FRate = have.freq;
        mixer.Reset(have.freq);
        SDL_PauseAudioDevice(FDevice, 0);
        return true;
    }

    int Rate() const override { return FRate; }

    void Close() override
    {
        if (FDevice != 0) {
            SDL_CloseAudioDevice(FDevice);
            FDevice = 0;
        }
        if (FInitialised) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            FInitialised = false;
        }
        FRate = 0;
    }

private:
    static void Callback(void* userdata, Uint8* stream, int len)
    {
        auto* mixer = static_cast<Mixer*>(userdata);
        int frames = len / int(2 * sizeof(float));
        mixer->Render(reinterpret_cast<float*>(stream), frames, TickCountPrecise());
    }

    bool FInitialised = false;
    SDL_AudioDeviceID FDevice = 0;
    int FRate = 0;
};

} // namespace

std::unique_ptr<Output> CreateDeviceOutput() { return std::make_unique<DeviceOutput>(); }

} // namespace plat::sound
