#include "tools/resgen/Adpcm.h"
#include "tools/resgen/Paint.h"
#include "tools/resgen/Resources.h"

#include <string>

namespace resgen {

namespace {

// A damped resonance of the struck wood: frequency in Hz, level, decay time in ms.
struct Mode {
    double freq, level, tauMs;
};

constexpr Mode Modes[] = {
    { 1870, 1.00, 3.2 },   // the bright "tock" of the block
    { 2480, 0.40, 2.0 },
    { 1180, 0.45, 4.2 },
    { 610, 0.60, 6.0 },    // the body
    { 430, 0.22, 7.0 },
};

// The accent is the same strike on a smaller, harder block: every mode higher, the bright
// ones stronger and the body weaker, so it stands out as "one" of the bar.
constexpr Mode AccentModes[] = {
    { 2960, 1.00, 3.0 },
    { 3950, 0.55, 2.0 },
    { 1870, 0.35, 3.6 },
    { 960, 0.30, 5.0 },
    { 680, 0.10, 6.0 },
};

constexpr int Onset = 2;            // frames of silence before the strike
constexpr int FadeFrom = 420, FadeTo = 620;
constexpr double PeakDbfs = -3.0;
constexpr int SamplesPerBlock = 1012;

void Put16(plat::Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(plat::Bytes& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutId(plat::Bytes& out, const char* id)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(id[i]));
}

// A text sub-chunk of an INFO list: the text with its terminating zero, padded to even.
void PutInfo(plat::Bytes& out, const char* id, const std::string& text)
{
    PutId(out, id);
    Put32(out, uint32_t(text.size() + 1));
    for (char ch : text)
        out.push_back(uint8_t(ch));
    out.push_back(0);
    if ((text.size() + 1) & 1)
        out.push_back(0);
}

// A click: the strike, a short burst of seeded noise differenced so that it stays bright,
// under the sum of the modes, all starting at rest at the same frame.
template <size_t N>
std::vector<int16_t> SynthesizeClick(const Mode (&modes)[N], uint64_t seed)
{
    const double fs = BeatRate;
    std::vector<double> x(BeatFrames, 0.0);
    Noise noise(seed);
    double prev = 0;
    for (int n = Onset; n < BeatFrames; ++n) {
        double t = (n - Onset) / fs;
        double v = 0;
        for (const Mode& m : modes)
            v += m.level * std::exp(-t * 1000 / m.tauMs) * std::sin(2 * Pi * m.freq * t);
        double white = noise.Signed();
        v += 0.35 * std::exp(-t * 1000 / 0.35) * (white - prev);
        prev = white;
        x[size_t(n)] = v;
    }
    // A gentle high-pass takes out any offset; then the tail is faded to exact silence.
    const double a = 1 / (1 + 2 * Pi * 40 / fs);
    double y = 0, last = 0;
    for (double& v : x) {
        y = a * (y + v - last);
        last = v;
        v = y;
    }
    for (int n = 0; n < BeatFrames; ++n) {
        double g = n < FadeFrom ? 1.0 : n >= FadeTo ? 0.0 : 0.5 + 0.5 * std::cos(Pi * (n - FadeFrom) / (FadeTo - FadeFrom));
        x[size_t(n)] *= g;
    }
    double peak = 0;
    for (double v : x)
        peak = std::max(peak, std::abs(v));
    const double target = 32767 * std::pow(10.0, PeakDbfs / 20);
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        out[i] = int16_t(std::lround(x[i] * target / peak));
    return out;
}

// The complete wave image of a click: one MS ADPCM block, both channels alike, and the
// INFO list of the program's sounds.
plat::Bytes MakeClickWave(const std::vector<int16_t>& mono)
{
    std::vector<int16_t> stereo;
    for (int16_t s : mono) {
        stereo.push_back(s);
        stereo.push_back(s);
    }
    const std::vector<uint8_t> block = adpcm::EncodeBlock(stereo, 2, SamplesPerBlock);

    plat::Bytes info;
    PutId(info, "INFO");
    PutInfo(info, "ICRD", "2004-03-21");
    PutInfo(info, "IENG", "Kelvo Music");
    PutInfo(info, "ISFT", "Kelvo resgen 1.0");
    plat::Bytes list;
    PutId(list, "LIST");
    Put32(list, uint32_t(info.size()));
    list.insert(list.end(), info.begin(), info.end());
    return adpcm::WaveImage(block, 2, BeatRate, SamplesPerBlock, BeatFrames, list);
}

} // namespace

std::vector<int16_t> SynthesizeBeat() { return SynthesizeClick(Modes, 0x626561742121ull); }
std::vector<int16_t> SynthesizeAccent() { return SynthesizeClick(AccentModes, 0x616363656E74ull); }
plat::Bytes MakeBeatWave() { return MakeClickWave(SynthesizeBeat()); }
plat::Bytes MakeAccentWave() { return MakeClickWave(SynthesizeAccent()); }

} // namespace resgen
