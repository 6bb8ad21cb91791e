#pragma once
// WAVE image checking and decoding, private to the sound service. The checker reads the
// raw bytes only; the decoder hands a checked private copy to SDL's loader and converts
// the result to stereo float at the output rate.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace plat::sound {

enum class WaveTag : uint16_t { Pcm = 1, MsAdpcm = 2, Float = 3, ImaAdpcm = 0x11 };

struct WaveInfo {
    WaveTag tag = WaveTag::Pcm;
    int channels = 0;
    int rate = 0;
    int blockAlign = 0;
    int bits = 0;
    int framesPerBlock = 1;
    int64_t factFrames = -1; // -1 when the image has no fact chunk
    size_t dataOffset = 0;
    size_t dataSize = 0;
    size_t end = 0; // bytes of the RIFF form, header included
};

std::optional<WaveInfo> ParseWave(const uint8_t* image, size_t size);

// A decoded sound: interleaved stereo float frames at `rate`.
struct DecodedSound {
    int rate = 0;
    int64_t frames = 0;
    std::vector<float> samples;
    int sourceRate = 0;
    int sourceChannels = 0;
    int64_t sourceFrames = 0; // frames kept from the decoder's output
    int64_t decodedFrames = 0; // frames the decoder produced (whole blocks)
    double DurationMs() const { return rate > 0 ? frames * 1000.0 / rate : 0.0; }
};

// Decodes a whole image at `outRate`; empty for an image that fails the checks or that
// the decoder refuses. Compressed images are cut to their fact chunk's frame count.
std::shared_ptr<const DecodedSound> DecodeWave(const uint8_t* image, size_t size, int outRate);

} // namespace plat::sound
