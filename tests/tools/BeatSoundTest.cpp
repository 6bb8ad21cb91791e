#include "tools/resgen/Adpcm.h"
#include "tools/resgen/Resources.h"

#include "platform/raster/ImageFiles.h"
#include "platform/sound/Wave_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

namespace {

namespace adpcm = resgen::adpcm;
namespace snd = plat::sound;
using plat::Bytes;

uint32_t Le32(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
int Le16s(const Bytes& b, size_t at) { return int16_t(uint16_t(b[at] | b[at + 1] << 8)); }
bool IdAt(const Bytes& b, size_t at, const char* id) { return std::memcmp(b.data() + at, id, 4) == 0; }

Bytes CommittedBeat()
{
    auto bytes = plat::ReadFileBytes(std::string(SOURCE_DIR) + "/resources/beat.wav");
    return bytes ? *bytes : Bytes {};
}

double Db(double v) { return 20 * std::log10(v); }

// Energy of `x` between f0 and f1 Hz, from a plain DFT.
double BandEnergy(const std::vector<double>& x, double rate, double f0, double f1)
{
    const size_t n = x.size();
    double sum = 0;
    for (size_t k = 1; k < n / 2; ++k) {
        double f = k * rate / n;
        if (f < f0 || f >= f1)
            continue;
        double re = 0, im = 0;
        for (size_t i = 0; i < n; ++i) {
            double a = 2 * std::numbers::pi * double(k * i % n) / double(n);
            re += x[i] * std::cos(a);
            im -= x[i] * std::sin(a);
        }
        sum += re * re + im * im;
    }
    return sum;
}

TEST(BeatWave, HasTheExactChunkLayout)
{
    Bytes w = CommittedBeat();
    ASSERT_EQ(w.size(), resgen::BeatImageSize);
    EXPECT_TRUE(IdAt(w, 0, "RIFF"));
    EXPECT_EQ(Le32(w, 4), 1184u);
    EXPECT_TRUE(IdAt(w, 8, "WAVE"));
    EXPECT_TRUE(IdAt(w, 12, "fmt "));
    EXPECT_EQ(Le32(w, 16), 50u);
    EXPECT_EQ(Le16s(w, 20), 2);        // Microsoft ADPCM
    EXPECT_EQ(Le16s(w, 22), 2);        // channels
    EXPECT_EQ(Le32(w, 24), 22050u);
    EXPECT_EQ(Le32(w, 28), 22311u);    // average bytes per second
    EXPECT_EQ(Le16s(w, 32), 1024);     // block align
    EXPECT_EQ(Le16s(w, 34), 4);
    EXPECT_EQ(Le16s(w, 36), 32);       // extra size
    EXPECT_EQ(Le16s(w, 38), 1012);     // samples per block
    EXPECT_EQ(Le16s(w, 40), 7);
    const int coefs[7][2] = { { 256, 0 }, { 512, -256 }, { 0, 0 }, { 192, 64 }, { 240, 0 }, { 460, -208 },
        { 392, -232 } };
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Le16s(w, size_t(42 + 4 * i)), coefs[i][0]) << i;
        EXPECT_EQ(Le16s(w, size_t(44 + 4 * i)), coefs[i][1]) << i;
    }
    EXPECT_TRUE(IdAt(w, 70, "fact"));
    EXPECT_EQ(Le32(w, 74), 4u);
    EXPECT_EQ(Le32(w, 78), 679u);
    EXPECT_TRUE(IdAt(w, 82, "data"));
    EXPECT_EQ(Le32(w, 86), 1024u);
    EXPECT_TRUE(IdAt(w, 1114, "LIST"));
    EXPECT_EQ(Le32(w, 1118), 70u);
    EXPECT_TRUE(IdAt(w, 1122, "INFO"));
    // The INFO texts: creation date, engineer, software, each zero-terminated, filling
    // the list exactly.
    size_t at = 1126;
    std::vector<std::string> ids;
    while (at + 8 <= w.size()) {
        ids.emplace_back(reinterpret_cast<const char*>(w.data() + at), 4);
        uint32_t len = Le32(w, at + 4);
        ASSERT_GT(len, 1u);
        ASSERT_LE(at + 8 + len, w.size());
        EXPECT_EQ(w[at + 8 + len - 1], 0) << ids.back();
        at += 8 + len + (len & 1);
    }
    EXPECT_EQ(at, w.size());
    EXPECT_EQ(ids, (std::vector<std::string> { "ICRD", "IENG", "ISFT" }));
    auto info = snd::ParseWave(w.data(), w.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->factFrames, 679);
    EXPECT_EQ(info->dataOffset, 90u);
}

// The committed beat, decoded by the platform's decoder at the file's own rate, as
// 16-bit sample values per channel.
struct Decoded {
    std::vector<double> left, right;
};

Decoded DecodeBeat(const Bytes& w)
{
    auto sound = snd::DecodeWave(w.data(), w.size(), resgen::BeatRate);
    Decoded d;
    if (!sound)
        return d;
    for (int64_t i = 0; i < sound->frames; ++i) {
        d.left.push_back(sound->samples[size_t(2 * i)] * 32768.0);
        d.right.push_back(sound->samples[size_t(2 * i + 1)] * 32768.0);
    }
    return d;
}

TEST(BeatWave, DecodesToTheSynthesisedClick)
{
    Bytes w = CommittedBeat();
    auto sound = snd::DecodeWave(w.data(), w.size(), resgen::BeatRate);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sourceChannels, 2);
    EXPECT_EQ(sound->sourceRate, 22050);
    EXPECT_GE(sound->decodedFrames, 679);
    EXPECT_EQ(sound->sourceFrames, 679);
    EXPECT_EQ(sound->frames, 679);

    Decoded d = DecodeBeat(w);
    const std::vector<int16_t> ideal = resgen::SynthesizeBeat();
    ASSERT_EQ(d.left.size(), ideal.size());
    double signal = 0, noise = 0, worst = 0;
    for (size_t i = 0; i < ideal.size(); ++i) {
        EXPECT_EQ(d.left[i], d.right[i]) << i;
        double e = d.left[i] - ideal[i];
        signal += double(ideal[i]) * ideal[i];
        noise += e * e;
        worst = std::max(worst, std::abs(e));
    }
    EXPECT_GT(10 * std::log10(signal / noise), 20.0) << "ADPCM error too large";
    EXPECT_LT(worst, 0.15 * 32768);

    // The encoder's own model of the decoder agrees with the platform's, sample for sample.
    auto block = std::span<const uint8_t>(w.data() + 90, 1024);
    std::vector<int16_t> model = adpcm::DecodeBlock(block, 2, 1012);
    ASSERT_EQ(model.size(), 2u * 1012u);
    for (size_t i = 0; i < d.left.size(); ++i)
        ASSERT_EQ(model[2 * i], d.left[i]) << i;
}

TEST(BeatWave, SoundsLikeAShortWoodyClick)
{
    Decoded d = DecodeBeat(CommittedBeat());
    ASSERT_EQ(d.left.size(), 679u);
    const auto& x = d.left;
    double peak = 0, sum = 0, early = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        peak = std::max(peak, std::abs(x[i]));
        sum += x[i];
        if (i < 330)
            early += x[i] * x[i];
    }
    EXPECT_NEAR(Db(peak / 32768), -3.0, 1.0);
    double rms = std::sqrt(early / 330) / 32768;   // over the first 15 ms
    EXPECT_GT(Db(rms), -22.0);
    EXPECT_LT(Db(rms), -8.0);
    EXPECT_LT(std::abs(sum / x.size()), 0.002 * 32768) << "offset";
    // The attack is sharp: the peak comes within 3 ms.
    size_t at = 0;
    while (std::abs(x[at]) < peak)
        ++at;
    EXPECT_LT(at, 66u);
    // Silent well before the end, with no step at the end.
    for (size_t i = 640; i < x.size(); ++i)
        ASSERT_LE(std::abs(x[i]), 40.0) << i;
    EXPECT_LE(std::abs(x.back()), 8.0);
    // The energy sits in the body and the bright modes, not in hiss.
    double all = BandEnergy(x, 22050, 0, 11025);
    double body = BandEnergy(x, 22050, 350, 800);
    double bright = BandEnergy(x, 22050, 1100, 2700);
    double hiss = BandEnergy(x, 22050, 5000, 11025);
    EXPECT_GT(body / all, 0.05);
    EXPECT_GT(bright / all, 0.4);
    EXPECT_LT(hiss / all, 0.03);
}

Bytes CommittedAccent()
{
    auto bytes = plat::ReadFileBytes(std::string(SOURCE_DIR) + "/resources/accent.wav");
    return bytes ? *bytes : Bytes {};
}

// Where the energy of x sits on average, in Hz.
double Centroid(const std::vector<double>& x, double rate)
{
    double weighted = 0, all = 0;
    for (double f = 100; f < rate / 2; f += 100) {
        double e = BandEnergy(x, rate, f, f + 100);
        weighted += e * (f + 50);
        all += e;
    }
    return weighted / all;
}

size_t FirstSound(const std::vector<double>& x)
{
    size_t i = 0;
    while (i < x.size() && x[i] == 0)
        ++i;
    return i;
}

// The accent is a file of the beat's very layout (every byte but the sound data the same),
// decodes to its own synthesis, starts on the same frame and is as loud, with its energy
// clearly higher in pitch and brighter.
TEST(AccentWave, SameFormatAsTheBeatHigherAndBrighter)
{
    Bytes accent = CommittedAccent(), beat = CommittedBeat();
    ASSERT_EQ(accent.size(), beat.size());
    EXPECT_TRUE(std::equal(accent.begin(), accent.begin() + 90, beat.begin()));   // up to the block
    EXPECT_TRUE(std::equal(accent.begin() + 1114, accent.end(), beat.begin() + 1114));
    EXPECT_FALSE(std::equal(accent.begin(), accent.end(), beat.begin()));

    Decoded a = DecodeBeat(accent), b = DecodeBeat(beat);
    const std::vector<int16_t> ideal = resgen::SynthesizeAccent();
    ASSERT_EQ(a.left.size(), ideal.size());
    double signal = 0, noise = 0;
    for (size_t i = 0; i < ideal.size(); ++i) {
        ASSERT_EQ(a.left[i], a.right[i]) << i;
        double e = a.left[i] - ideal[i];
        signal += double(ideal[i]) * ideal[i];
        noise += e * e;
    }
    EXPECT_GT(10 * std::log10(signal / noise), 20.0) << "ADPCM error too large";

    EXPECT_EQ(FirstSound(a.left), FirstSound(b.left));
    EXPECT_LE(FirstSound(a.left), 3u);
    double pa = 0, pb = 0;
    for (size_t i = 0; i < a.left.size(); ++i) {
        pa = std::max(pa, std::abs(a.left[i]));
        pb = std::max(pb, std::abs(b.left[i]));
    }
    EXPECT_NEAR(Db(pa / pb), 0.0, 1.0);
    for (size_t i = 640; i < a.left.size(); ++i)
        ASSERT_LE(std::abs(a.left[i]), 40.0) << i;

    const double ca = Centroid(a.left, 22050), cb = Centroid(b.left, 22050);
    EXPECT_GT(ca, 1.3 * cb) << ca << " Hz against " << cb << " Hz";
    const double brightA = BandEnergy(a.left, 22050, 2700, 5000) / BandEnergy(a.left, 22050, 0, 11025);
    const double brightB = BandEnergy(b.left, 22050, 2700, 5000) / BandEnergy(b.left, 22050, 0, 11025);
    EXPECT_GT(brightA, 2 * brightB);
    EXPECT_LT(BandEnergy(a.left, 22050, 5000, 11025) / BandEnergy(a.left, 22050, 0, 11025), 0.05);

    // At the usual output rates both sounds are audible (at least one 16-bit step) from
    // their very first frame, so a recording shows each click's exact frame on the grid.
    for (int rate : { 44100, 48000 })
        for (const Bytes* w : { &accent, &beat }) {
            auto sound = snd::DecodeWave(w->data(), w->size(), rate);
            ASSERT_TRUE(sound);
            EXPECT_GE(std::abs(sound->samples[0]) * 32768.0, 1.0) << rate;
        }
}

TEST(AdpcmEncoder, StereoBlockKeepsEachChannelInItsPlace)
{
    const int frames = 1012;
    std::vector<int16_t> pcm;
    for (int i = 0; i < frames; ++i) {
        pcm.push_back(int16_t(std::lround(9000 * std::sin(2 * std::numbers::pi * 440 * i / 22050.0))));
        pcm.push_back(int16_t(std::lround(-5000 * std::sin(2 * std::numbers::pi * 1500 * i / 22050.0))));
    }
    std::vector<uint8_t> block = adpcm::EncodeBlock(pcm, 2, frames);
    ASSERT_EQ(block.size(), 1024u);
    std::vector<int16_t> back = adpcm::DecodeBlock(block, 2, frames);
    ASSERT_EQ(back.size(), pcm.size());
    for (int ch = 0; ch < 2; ++ch) {
        double signal = 0, noise = 0;
        for (int i = 0; i < frames; ++i) {
            double s = pcm[size_t(2 * i + ch)], e = back[size_t(2 * i + ch)] - s;
            signal += s * s;
            noise += e * e;
        }
        EXPECT_GT(10 * std::log10(signal / noise), 20.0) << "channel " << ch;
    }
    // The header keeps the first two frames verbatim.
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(back[i], pcm[i]);

    // The platform decoder reads the same samples from a wave image of the block.
    Bytes image = adpcm::WaveImage(block, 2, 22050, frames, frames);
    auto sound = snd::DecodeWave(image.data(), image.size(), 22050);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->frames, frames);
    for (size_t i = 0; i < back.size(); ++i)
        ASSERT_EQ(sound->samples[i] * 32768.0, back[i]) << i;
}

TEST(AdpcmEncoder, ExtremeInputStaysInRangeAndMatchesThePlatformDecoder)
{
    // Full-scale square waves drive the predictor into clamping and the step to its largest.
    const int frames = 500;
    std::vector<int16_t> pcm;
    for (int i = 0; i < frames; ++i) {
        int16_t v = (i / 7) % 2 ? int16_t(32767) : int16_t(-32768);
        pcm.push_back(v);
        pcm.push_back(int16_t(-1 - v));
    }
    std::vector<uint8_t> block = adpcm::EncodeBlock(pcm, 2, frames);
    std::vector<int16_t> back = adpcm::DecodeBlock(block, 2, frames);
    ASSERT_EQ(back.size(), pcm.size());
    Bytes image = adpcm::WaveImage(block, 2, 22050, frames, frames);
    auto sound = snd::DecodeWave(image.data(), image.size(), 22050);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->frames, frames);
    for (size_t i = 0; i < back.size(); ++i)
        ASSERT_EQ(sound->samples[i] * 32768.0, back[i]) << i;
    // Silence stays exact silence.
    std::vector<int16_t> quiet(2 * 100, 0);
    for (int16_t v : adpcm::DecodeBlock(adpcm::EncodeBlock(quiet, 2, 100), 2, 100))
        ASSERT_EQ(v, 0);
}

TEST(AdpcmEncoder, ShortOrForeignBlocksAreRefused)
{
    std::vector<int16_t> pcm(2 * 64, 100);
    std::vector<uint8_t> block = adpcm::EncodeBlock(pcm, 2, 64);
    ASSERT_EQ(block.size(), size_t(adpcm::BlockBytes(2, 64)));
    EXPECT_TRUE(adpcm::DecodeBlock(std::span(block).first(block.size() - 1), 2, 64).empty());
    block[1] = 7;   // the right channel names a predictor beyond the table
    EXPECT_TRUE(adpcm::DecodeBlock(block, 2, 64).empty());
    EXPECT_TRUE(adpcm::EncodeBlock(pcm, 0, 64).empty());
    EXPECT_TRUE(adpcm::EncodeBlock(pcm, 2, 1).empty());
    // Frames missing from the input are encoded as silence.
    std::vector<int16_t> partial(2 * 10, 1000);
    std::vector<int16_t> back = adpcm::DecodeBlock(adpcm::EncodeBlock(partial, 2, 300), 2, 300);
    ASSERT_EQ(back.size(), 600u);
    EXPECT_NEAR(back[2 * 5], 1000, 300);
    EXPECT_NEAR(back[2 * 299], 0, 40);
}

} // namespace
