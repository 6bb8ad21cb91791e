#include "platform/sound/Wave_p.h"

#include "platform/system/Failure.h"
#include "platform/sound/Sound.h"

#include <SDL.h>

#include <cstring>
#include <string>

namespace plat::sound {

namespace {

// The longest sound accepted, so that a hostile header cannot ask for a huge buffer.
constexpr double MaxSeconds = 600.0;

uint16_t U16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
bool Id(const uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

std::nullopt_t Refuse(const char* why)
{
    ReportFailure(std::string("wave image refused: ") + why);
    return std::nullopt;
}

// Checks the "fmt " chunk body; fills the format fields of `info`. Empty string = good.
const char* CheckFormat(const uint8_t* f, uint32_t len, WaveInfo& info, int& coefCount)
{
    if (len < 16)
        return "format chunk too short";
    uint16_t tag = U16(f);
    info.channels = U16(f + 2);
    uint32_t rate = U32(f + 4);
    info.blockAlign = U16(f + 12);
    info.bits = U16(f + 14);
    if (info.channels < 1 || info.channels > 8)
        return "channel count";
    if (rate < 1000 || rate > 384000)
        return "sample rate";
    info.rate = int(rate);
    if (info.blockAlign <= 0)
        return "block align";
    const int ch = info.channels;
    switch (tag) {
    case 1:
        info.tag = WaveTag::Pcm;
        if (info.bits != 8 && info.bits != 16 && info.bits != 24 && info.bits != 32)
            return "PCM sample size";
        if (info.blockAlign != ch * info.bits / 8)
            return "PCM block align";
        return "";
    case 3:
        info.tag = WaveTag::Float;
        if (info.bits != 32 || info.blockAlign != ch * 4)
            return "float sample size";
        return "";
    case 2: {
        info.tag = WaveTag::MsAdpcm;
        if (info.bits != 4 || len < 22)
            return "MS ADPCM header";
        uint16_t extra = U16(f + 16);
        if (extra < 32 || uint32_t(18) + extra > len)
            return "MS ADPCM extra size";
        if (info.blockAlign < 7 * ch)
            return "MS ADPCM block align";
        int perBlock = U16(f + 18);
        int most = (info.blockAlign - 7 * ch) * 8 / (4 * ch) + 2;
        if (perBlock < 2 || perBlock > most)
            return "MS ADPCM samples per block";
        info.framesPerBlock = perBlock;
        coefCount = U16(f + 20);
        if (coefCount < 7 || coefCount > 256 || 4 + 4 * coefCount > extra)
            return "MS ADPCM coefficient count";
        return "";
    }
    case 0x11: {
        info.tag = WaveTag::ImaAdpcm;
        if (info.bits != 4 || len < 20)
            return "IMA ADPCM header";
        uint16_t extra = U16(f + 16);
        if (extra < 2 || uint32_t(18) + extra > len)
            return "IMA ADPCM extra size";
        int body = info.blockAlign - 4 * ch;
        if (body < 0 || body % (4 * ch) != 0)
            return "IMA ADPCM block align";
        int perBlock = U16(f + 18);
        if (perBlock < 1 || perBlock > body * 8 / (4 * ch) + 1)
            return "IMA ADPCM samples per block";
        info.framesPerBlock = perBlock;
        return "";
    }
    default:
        return "unsupported format tag";
    }
}

// Block headers carry table indices; every one must lie inside its table.
bool CheckBlocks(const uint8_t* data, const WaveInfo& info, int coefCount)
{
    const size_t align = size_t(info.blockAlign);
    const size_t ch = size_t(info.channels);
    for (size_t at = 0; at < info.dataSize; at += align) {
        size_t left = info.dataSize - at;
        const uint8_t* b = data + at;
        if (info.tag == WaveTag::MsAdpcm) {
            for (size_t c = 0; c < ch && c < left; ++c)
                if (b[c] >= coefCount)
                    return false;
        } else if (info.tag == WaveTag::ImaAdpcm) {
            for (size_t c = 0; c < ch && 4 * c + 2 < left; ++c)
                if (b[4 * c + 2] > 88)
                    return false;
        }
    }
    return true;
}

} // namespace

std::optional<WaveInfo> ParseWave(const uint8_t* image, size_t size)
{
    if (!image || size < 12)
        return Refuse("shorter than a RIFF header");
    if (!Id(image, "RIFF") || !Id(image + 8, "WAVE"))
        return Refuse("not a RIFF WAVE form");
    uint64_t riffEnd = uint64_t(U32(image + 4)) + 8;
    if (riffEnd > size)
        return Refuse("RIFF length exceeds the image");
    WaveInfo info;
    info.end = size_t(riffEnd);
    int coefCount = 0;
    bool haveFormat = false, haveData = false;
    uint64_t pos = 12;
    while (pos + 8 <= riffEnd) {
        const uint8_t* chunk = image + pos;
        uint32_t len = U32(chunk + 4);
        uint64_t body = pos + 8;
        if (body + len > riffEnd)
            return Refuse("chunk length exceeds the image");
        if (Id(chunk, "fmt ")) {
            if (haveFormat)
                return Refuse("two format chunks");
            const char* why = CheckFormat(image + body, len, info, coefCount);
            if (*why)
                return Refuse(why);
            haveFormat = true;
        } else if (Id(chunk, "fact") && len >= 4 && info.factFrames < 0) {
            info.factFrames = U32(image + body);
        } else if (Id(chunk, "data")) {
            if (haveData)
                return Refuse("two data chunks");
            info.dataOffset = size_t(body);
            info.dataSize = len;
            haveData = true;
        }
        // Chunks are padded to even lengths; a missing final pad byte is tolerated.
        pos = body + len + (len & 1u);
    }
    if (!haveFormat || !haveData)
        return Refuse("format or data chunk missing");
    if (info.dataSize < size_t(info.tag == WaveTag::MsAdpcm ? 7 * info.channels
                : info.tag == WaveTag::ImaAdpcm             ? 4 * info.channels
                                                            : info.blockAlign))
        return Refuse("no whole frame of data");
    double blocks = double(info.dataSize) / info.blockAlign + 1.0;
    if (blocks * info.framesPerBlock > MaxSeconds * info.rate)
        return Refuse("sound too long");
    if (!CheckBlocks(image + info.dataOffset, info, coefCount))
        return Refuse("block header index out of range");
    return info;
}

bool ValidWave(const uint8_t* image, size_t size)
{
    return ParseWave(image, size).has_value();
}

std::shared_ptr<const DecodedSound> DecodeWave(const uint8_t* image, size_t size, int outRate)
{
    if (outRate <= 0)
        return nullptr;
    // The decoder works on a private copy that was checked, so a caller changing its
    // buffer meanwhile cannot slip unchecked bytes past the checks.
    std::vector<uint8_t> copy(image, image + (image ? size : 0));
    auto info = ParseWave(copy.data(), copy.size());
    if (!info)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(copy.data(), int(info->end));
    if (!rw)
        return nullptr;
    SDL_AudioSpec spec {};
    Uint8* buf = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &buf, &len)) {
        ReportFailure(std::string("wave decoder: ") + SDL_GetError());
        return nullptr;
    }
    auto sound = std::make_shared<DecodedSound>();
    sound->rate = outRate;
    sound->sourceRate = spec.freq;
    sound->sourceChannels = spec.channels;
    const int frameBytes = int(SDL_AUDIO_BITSIZE(spec.format) / 8) * spec.channels;
    int64_t frames = frameBytes > 0 ? int64_t(len / Uint32(frameBytes)) : 0;
    sound->decodedFrames = frames;
    // A decoder fills whole blocks; the fact chunk says how many frames are real.
    bool compressed = info->tag == WaveTag::MsAdpcm || info->tag == WaveTag::ImaAdpcm;
    if (compressed && info->factFrames > 0 && info->factFrames < frames)
        frames = info->factFrames;
    sound->sourceFrames = frames;
    // One conversion of the whole sound to stereo float at the output rate.
    SDL_AudioCVT cvt;
    bool ok = frames > 0
        && SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 2, outRate)
            >= 0;
    if (ok) {
        const int inBytes = int(frames * frameBytes);
        std::vector<uint8_t> work(size_t(inBytes) * size_t(cvt.len_mult) + 64);
        std::memcpy(work.data(), buf, size_t(inBytes));
        cvt.buf = work.data();
        cvt.len = inBytes;
        ok = cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0;
        int outBytes = cvt.needed ? cvt.len_cvt : inBytes;
        if (ok && !cvt.needed && (spec.format != AUDIO_F32SYS || spec.channels != 2))
            ok = false;
        // A sound shorter than one output frame (a few samples taken to a much lower
        // rate) converts to nothing and is refused below.
        if (ok && size_t(outBytes) >= 2 * sizeof(float)) {
            sound->samples.resize(size_t(outBytes) / sizeof(float) / 2 * 2);
            std::memcpy(sound->samples.data(), work.data(), sound->samples.size() * sizeof(float));
            sound->frames = int64_t(sound->samples.size() / 2);
        }
    }
    SDL_FreeWAV(buf);
    if (!ok || sound->frames == 0) {
        ReportFailure("wave conversion failed");
        return nullptr;
    }
    return sound;
}

} // namespace plat::sound
