// The wave checker and decoder: the input is a whole WAVE file image, as the wave player
// hands it to the sound service. The check never reads outside the image; an image that
// passes decodes to a bounded sound or is refused, and a decoded sound is whole stereo
// frames at the requested rate.

#include "FuzzTargets.h"

#include "platform/sound/Sound.h"
#include "platform/sound/Wave_p.h"

#include <cmath>
#include <vector>

namespace fuzz {

int Wave(const uint8_t* data, size_t size)
{
    // The image goes in a buffer of exactly its size, so any read past it is caught.
    std::vector<uint8_t> image(data, data + size);
    namespace snd = plat::sound;
    bool valid = snd::ValidWave(image.data(), image.size());
    auto info = snd::ParseWave(image.data(), image.size());
    FUZZ_CHECK(valid == info.has_value());
    if (!info)
        return 0;
    FUZZ_CHECK(info->end <= size);
    FUZZ_CHECK(info->dataOffset + info->dataSize <= info->end);
    FUZZ_CHECK(info->channels >= 1 && info->rate > 0 && info->blockAlign > 0);
    for (int rate : { 48000, 22050 }) {
        auto sound = snd::DecodeWave(image.data(), image.size(), rate);
        if (!sound)
            continue;
        FUZZ_CHECK(sound->rate == rate);
        FUZZ_CHECK(sound->frames > 0);
        FUZZ_CHECK(sound->samples.size() == size_t(sound->frames) * 2);
        // At most the checker's ten minutes, and about as long as the source says.
        FUZZ_CHECK(sound->DurationMs() <= 600000.0 + 1000.0);
        double sourceMs = sound->sourceFrames * 1000.0 / info->rate;
        FUZZ_CHECK(std::fabs(sound->DurationMs() - sourceMs) <= 2.0 + sourceMs * 0.01);
        if (info->factFrames > 0 && info->tag != snd::WaveTag::Pcm && info->tag != snd::WaveTag::Float)
            FUZZ_CHECK(sound->sourceFrames <= info->factFrames);
    }
    return 0;
}

} // namespace fuzz
