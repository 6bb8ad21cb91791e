#pragma once
// A small Microsoft ADPCM encoder and the matching reference decoder.
//
// A block holds, per channel, a 7-byte header (predictor index, initial step "delta",
// the second and the first sample verbatim; stereo fields interleaved L, R), then 4-bit
// codes interleaved L, R, the high nibble first. Each code n (signed) gives the sample
//   pred = (s1 * c1 + s2 * c2) / 256 (truncated), s = clamp16(pred + n * delta),
// and the step adapts as delta = max(16, delta * Adapt[n & 15] / 256).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace resgen::adpcm {

struct CoefPair {
    int c1, c2;
};
// The seven standard predictor coefficient pairs, in the order they are stored.
constexpr std::array<CoefPair, 7> Coefs { { { 256, 0 }, { 512, -256 }, { 0, 0 }, { 192, 64 },
    { 240, 0 }, { 460, -208 }, { 392, -232 } } };
constexpr std::array<int, 16> Adapt { 230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512,
    409, 307, 230, 230, 230 };
constexpr int MinDelta = 16;

// Bytes of one block holding `frames` frames (2 in the header, the rest as codes).
int BlockBytes(int channels, int frames);

// Encodes one block of `frames` frames from interleaved samples; frames missing from
// `samples` are taken as silence. For each channel every predictor, and a range of
// starting steps, is tried; the pair with the least squared error is kept.
std::vector<uint8_t> EncodeBlock(std::span<const int16_t> samples, int channels, int frames);

// Decodes one block back into interleaved samples (`frames` frames); empty when the
// block is too short or names a predictor outside the table.
std::vector<int16_t> DecodeBlock(std::span<const uint8_t> block, int channels, int frames);

// A complete RIFF WAVE image of one block: the "fmt " chunk (50 bytes: the extended
// format with the coefficient table), "fact" with `factFrames`, "data", then `trailing`
// (whole chunks, such as a LIST) as given.
std::vector<uint8_t> WaveImage(std::span<const uint8_t> block, int channels, int rate, int framesPerBlock,
    int factFrames, std::span<const uint8_t> trailing = {});

} // namespace resgen::adpcm
