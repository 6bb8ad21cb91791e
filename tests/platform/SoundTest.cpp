#include "platform/sound/Sound.h"
#include "platform/sound/Wave_p.h"
#include "platform/system/Clock.h"
#include "support/RiffWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace snd = plat::sound;

namespace {

using Writer = RiffWriter;

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

const int kCoef1[7] = { 256, 512, 0, 192, 240, 460, 392 };
const int kCoef2[7] = { 0, -256, 0, 64, 0, -208, -232 };
const int kAdapt[16]
    = { 230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230 };

// A small MS ADPCM encoder that always uses predictor 0 (coefficients 256, 0).
struct AdpcmChannel {
    int s1 = 0, s2 = 0, delta = 16;
    int Encode(int x)
    {
        int predict = (s1 * kCoef1[0] + s2 * kCoef2[0]) / 256;
        int nib = int(std::lround(double(x - predict) / delta));
        nib = std::clamp(nib, -8, 7);
        int value = std::clamp(predict + nib * delta, -32768, 32767);
        s2 = s1;
        s1 = value;
        delta = std::max(16, kAdapt[nib & 15] * delta / 256);
        return nib & 15;
    }
};

constexpr int kFactFrames = 679;
constexpr int kBlockFrames = 1012;

int16_t SourceSample(int frame, int channel)
{
    if (frame >= kFactFrames)
        return 0;
    double f = channel == 0 ? 440.0 : 660.0;
    return int16_t(std::lround(8000.0 * std::sin(2 * std::numbers::pi * f * frame / 22050.0)));
}

// The beat-sound layout: MS ADPCM stereo 22050 Hz, one 1024-byte block, fact 679,
// a LIST chunk at the end; 1192 bytes. Offsets used by the tests are named below.
constexpr size_t kFmtLen = 16, kBlockAlignAt = 32, kCoefCountAt = 40, kPerBlockAt = 38;
constexpr size_t kDataLenAt = 86, kDataAt = 90;

// `decoded` receives the frames a correct decoder must produce, interleaved stereo.
std::vector<uint8_t> AdpcmWave(std::vector<int>* decoded = nullptr)
{
    Writer w;
    w.AdpcmHead(1184, kFactFrames);
    AdpcmChannel ch[2];
    w.U8(0);
    w.U8(0);
    for (int c = 0; c < 2; ++c)
        w.U16(ch[c].delta = 512);
    for (int c = 0; c < 2; ++c)
        w.U16(ch[c].s1 = SourceSample(1, c));
    for (int c = 0; c < 2; ++c)
        w.U16(ch[c].s2 = SourceSample(0, c));
    std::vector<int> out
        = { SourceSample(0, 0), SourceSample(0, 1), SourceSample(1, 0), SourceSample(1, 1) };
    for (int f = 2; f < kBlockFrames; ++f) {
        w.U8((ch[0].Encode(SourceSample(f, 0)) << 4) | ch[1].Encode(SourceSample(f, 1)));
        out.push_back(ch[0].s1);
        out.push_back(ch[1].s1);
    }
    if (decoded)
        *decoded = out;
    w.AdpcmInfo("2026-12-07", "Test Engineer", "test encoder");
    return w.b;
}

// 16-bit PCM; a ramp makes every output position identifiable.
std::vector<uint8_t> PcmWave(int rate, int channels, const std::vector<int16_t>& samples)
{
    Writer w;
    w.PcmHead(rate, channels, uint32_t(samples.size() * 2));
    for (int16_t s : samples)
        w.U16(s & 0xFFFF);
    return w.b;
}

constexpr int kRampFrames = 1000;
int16_t RampValue(int i)
{
    return int16_t(8 * (i + 1));
}
std::vector<uint8_t> RampWave(int frames = kRampFrames, int scale = 1)
{
    std::vector<int16_t> s(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        s[size_t(i)] = int16_t(RampValue(i) * scale);
    return PcmWave(48000, 1, s);
}
float RampOut(int i)
{
    return RampValue(i) / 32768.0f;
}

bool Valid(const std::vector<uint8_t>& img)
{
    return snd::ValidWave(img.data(), img.size());
}

} // namespace

TEST(WaveCheck, AcceptsTheAdpcmBeatLayout)
{
    auto img = AdpcmWave();
    ASSERT_EQ(img.size(), 1192u);
    EXPECT_TRUE(Valid(img));
    auto info = snd::ParseWave(img.data(), img.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->tag, snd::WaveTag::MsAdpcm);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 22050);
    EXPECT_EQ(info->factFrames, kFactFrames);
    EXPECT_EQ(info->dataOffset, kDataAt);
    EXPECT_EQ(info->dataSize, 1024u);
}

TEST(WaveCheck, RejectsTruncatedImages)
{
    auto img = AdpcmWave();
    for (size_t n = 0; n < img.size(); ++n)
        EXPECT_FALSE(snd::ValidWave(img.data(), n)) << "cut at " << n;
    // Cut with a RIFF length that agrees: only the chunks themselves can tell. The image
    // stays valid when the cut falls after the data chunk, before a whole LIST header.
    const size_t afterData = kDataAt + 1024;
    for (size_t n = 12; n < img.size(); ++n) {
        std::vector<uint8_t> cut(img.begin(), img.begin() + long(n));
        PutU32(cut, 4, uint32_t(n - 8));
        bool expected = n >= afterData && n < afterData + 8;
        EXPECT_EQ(Valid(cut), expected) << "cut at " << n;
    }
    EXPECT_FALSE(snd::ValidWave(nullptr, 1192));
}

TEST(WaveCheck, RejectsHugeChunkLengths)
{
    const auto good = AdpcmWave();
    for (size_t at : { size_t(4), size_t(kFmtLen), size_t(kDataLenAt), size_t(kDataAt + 1028) }) {
        for (uint32_t len : { 0xFFFFFFFFu, 0xFFFFFFF8u, 0x80000000u, 1184u + 1u }) {
            auto img = good;
            PutU32(img, at, len);
            EXPECT_FALSE(Valid(img)) << "length " << len << " at " << at;
        }
    }
}

TEST(WaveCheck, ChecksAdpcmFormatFields)
{
    const auto good = AdpcmWave();
    auto with = [&](size_t at, int value16) {
        auto img = good;
        img[at] = uint8_t(value16 & 0xFF);
        img[at + 1] = uint8_t(value16 >> 8);
        return img;
    };
    EXPECT_FALSE(Valid(with(kBlockAlignAt, 0)));
    EXPECT_FALSE(Valid(with(kBlockAlignAt, 13))); // smaller than two block headers
    EXPECT_FALSE(Valid(with(kCoefCountAt, 0)));
    EXPECT_FALSE(Valid(with(kCoefCountAt, 6)));
    EXPECT_FALSE(Valid(with(kCoefCountAt, 8))); // an eighth pair is not in the chunk
    EXPECT_FALSE(Valid(with(kPerBlockAt, kBlockFrames + 1)));
    EXPECT_FALSE(Valid(with(kPerBlockAt, 0)));
    EXPECT_FALSE(Valid(with(22, 0))); // channels
    EXPECT_FALSE(Valid(with(22, 9)));
    EXPECT_FALSE(Valid(with(24, 999))); // rate
    EXPECT_FALSE(Valid(with(34, 8))); // bits
    EXPECT_FALSE(Valid(with(36, 30))); // extra size
    EXPECT_TRUE(Valid(with(kPerBlockAt, 500))); // fewer samples than the block holds
}

TEST(WaveCheck, RejectsPredictorIndexOutsideTheTable)
{
    auto img = AdpcmWave();
    img[kDataAt + 1] = 255;
    EXPECT_FALSE(Valid(img));
    img[kDataAt + 1] = 7;
    EXPECT_FALSE(Valid(img));
    img[kDataAt + 1] = 6;
    EXPECT_TRUE(Valid(img));
}

TEST(WaveCheck, ChecksPcmLayout)
{
    auto img = RampWave(10);
    EXPECT_TRUE(Valid(img));
    img[34] = 12; // 12-bit samples
    EXPECT_FALSE(Valid(img));
    auto noData = PcmWave(48000, 1, {});
    EXPECT_FALSE(Valid(noData));
    auto wrongAlign = RampWave(10);
    wrongAlign[32] = 4; // block align of stereo on a mono image
    EXPECT_FALSE(Valid(wrongAlign));
    auto notWave = RampWave(10);
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_FALSE(Valid(notWave));
}

// Damaged images are refused or decoded; neither the checks nor the decoder may read
// outside the image (the sanitizers watch this).
TEST(WaveCheck, SurvivesRandomDamage)
{
    std::mt19937 rng(12345);
    int decoded = 0;
    for (const auto& good : { AdpcmWave(), RampWave(64) }) {
        for (int round = 0; round < 1500; ++round) {
            auto img = good;
            int edits = 1 + int(rng() % 4);
            for (int e = 0; e < edits; ++e)
                img[rng() % img.size()] = uint8_t(rng());
            if (round % 5 == 0)
                img.resize(rng() % img.size());
            auto sound = snd::DecodeWave(img.data(), img.size(), 48000);
            if (sound) {
                ++decoded;
                EXPECT_GT(sound->frames, 0);
                EXPECT_EQ(sound->samples.size(), size_t(sound->frames) * 2);
            }
        }
    }
    EXPECT_GT(decoded, 0);
}

TEST(WaveDecode, AdpcmIsCutToTheFactFrameCount)
{
    std::vector<int> expected;
    auto img = AdpcmWave(&expected);
    auto sound = snd::DecodeWave(img.data(), img.size(), 22050);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sourceRate, 22050);
    EXPECT_EQ(sound->sourceChannels, 2);
    EXPECT_GE(sound->decodedFrames, kFactFrames);
    EXPECT_EQ(sound->frames, kFactFrames);
    // Every sample is the one the encoder's own model predicts, on both channels.
    for (size_t i = 0; i < size_t(2 * kFactFrames); ++i)
        ASSERT_EQ(int(std::lround(sound->samples[i] * 32768.0)), expected[i]) << "sample " << i;
    // And the encoder tracked its sine, so the image really carries the sound.
    double worst = 0;
    for (int f = 100; f < kFactFrames; ++f)
        worst = std::max(worst, std::fabs(expected[size_t(2 * f)] - double(SourceSample(f, 0))));
    EXPECT_LT(worst, 1500.0);
}

TEST(WaveDecode, PcmIsExactAndResampledOnce)
{
    auto img = RampWave(200);
    auto same = snd::DecodeWave(img.data(), img.size(), 48000);
    ASSERT_TRUE(same);
    ASSERT_EQ(same->frames, 200);
    for (int i = 0; i < 200; ++i) {
        EXPECT_FLOAT_EQ(same->samples[size_t(2 * i)], RampOut(i));
        EXPECT_FLOAT_EQ(same->samples[size_t(2 * i + 1)], RampOut(i));
    }
    auto adpcm = AdpcmWave();
    auto up = snd::DecodeWave(adpcm.data(), adpcm.size(), 48000);
    ASSERT_TRUE(up);
    EXPECT_NEAR(double(up->frames), kFactFrames * 48000.0 / 22050.0, 48.0);
}

namespace {

// Manual output at 48 kHz on the manual clock; every buffer advances the clock by its
// own duration, so the mapping is exact. Output is collected by absolute sample index.
class SoundManual : public ::testing::Test {
protected:
    static constexpr int kRate = 48000;
    int FBuffer = 480;
    std::vector<float> FOut; // stereo, from sample 0

    void Use(int buffer)
    {
        FBuffer = buffer;
        FOut.clear();
        plat::UseManualClock(true, 1000);
        snd::testing::UseManualOutput(kRate, buffer);
    }
    void SetUp() override { Use(480); }
    void TearDown() override
    {
        snd::Stop();
        snd::testing::UseDeviceOutput();
        plat::UseManualClock(false);
    }
    // Renders buffers until `frames` samples exist in total.
    void RenderTo(int64_t frames)
    {
        std::vector<float> block(size_t(FBuffer) * 2);
        while (int64_t(FOut.size() / 2) < frames) {
            snd::testing::RenderNext(block.data());
            FOut.insert(FOut.end(), block.begin(), block.end());
            plat::AdvanceManualClock(FBuffer * 1000 / kRate);
        }
    }
    float Left(int64_t sample) const { return FOut[size_t(2 * sample)]; }
    // Checks that the ramp starts at `start` and covers `frames` samples.
    void ExpectRampAt(int64_t start, int frames = kRampFrames)
    {
        ASSERT_GE(int64_t(FOut.size() / 2), start + frames);
        if (start > 0) {
            EXPECT_EQ(Left(start - 1), 0.0f) << "sound before " << start;
        }
        for (int i = 0; i < frames; i += 97)
            EXPECT_FLOAT_EQ(Left(start + i), RampOut(i)) << "at " << start + i;
        EXPECT_FLOAT_EQ(Left(start + frames - 1), RampOut(frames - 1));
    }
};

constexpr uint32_t kAsync = snd::Async | snd::Memory;

} // namespace

TEST_F(SoundManual, TimedRequestLandsOnItsExactSample)
{
    const auto img = RampWave();
    for (int buffer : { 48, 144, 480, 960 }) {
        Use(buffer);
        RenderTo(960); // clock now 1020 ms, mapping t0 = 1000 ms at sample 0
        ASSERT_TRUE(snd::PlaySoundAt(img.data(), img.size(), kAsync, 1012.5));
        int64_t expected = std::llround((1012.5 + snd::LatencyMs() - 1000.0) * kRate / 1000.0);
        RenderTo(expected + kRampFrames + 10);
        ASSERT_EQ(snd::testing::StartedAt(), std::vector<int64_t> { expected })
            << "buffer " << buffer;
        ExpectRampAt(expected);
        EXPECT_EQ(Left(expected + kRampFrames), 0.0f);
        EXPECT_FALSE(snd::Playing());
    }
}

TEST_F(SoundManual, LateRequestAndUntimedPlayStartAtTheFirstUnmixedSample)
{
    const auto img = RampWave();
    RenderTo(960);
    ASSERT_TRUE(snd::PlaySoundAt(img.data(), img.size(), kAsync, 900.0));
    RenderTo(960 + kRampFrames);
    ExpectRampAt(960);
    const int64_t next = snd::testing::MixedFrames();
    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync));
    RenderTo(next + kRampFrames);
    EXPECT_EQ(snd::testing::StartedAt(), (std::vector<int64_t> { 960, next }));
    ExpectRampAt(next);
}

TEST_F(SoundManual, JitteryCallbacksDoNotMoveTheMapping)
{
    const auto img = RampWave();
    std::vector<float> block(size_t(FBuffer) * 2);
    // Callbacks arrive 7 or 13 ms apart around the true 10 ms.
    for (int i = 0; i < 200; ++i) {
        plat::SetManualClock(1000 + 10 * i + (i % 2 ? 3 : -3) * (i > 0));
        snd::testing::RenderNext(block.data());
    }
    plat::SetManualClock(1000 + 10 * 200);
    ASSERT_TRUE(snd::PlaySoundAt(img.data(), img.size(), kAsync, 3005.0));
    snd::testing::RenderFrames(8 * 480);
    auto started = snd::testing::StartedAt();
    ASSERT_EQ(started.size(), 1u);
    int64_t ideal = std::llround((3005.0 + snd::LatencyMs() - 1000.0) * 48.0);
    EXPECT_LE(std::llabs(started[0] - ideal), 48) << "more than 1 ms off";
}

TEST_F(SoundManual, StalledStartRestartsTheMapping)
{
    // A sound server may take the first buffer and then hold the stream for a while
    // before it runs steadily; sounds must follow the steady relation, not an average
    // that still carries the stall.
    const auto img = RampWave();
    std::vector<float> block(size_t(FBuffer) * 2);
    plat::SetManualClock(1000);
    snd::testing::RenderNext(block.data());
    for (int i = 0; i < 120; ++i) {
        if (i == 100) {
            ASSERT_TRUE(snd::PlaySoundAt(img.data(), img.size(), kAsync, 2250.0));
        }
        plat::SetManualClock(1250 + 10 * i);
        snd::testing::RenderNext(block.data());
    }
    // Sample 480 was asked for at 1250 ms.
    const int64_t expected = 480 + std::llround((2250.0 + snd::LatencyMs() - 1250.0) * 48.0);
    EXPECT_EQ(snd::testing::StartedAt(), std::vector<int64_t> { expected });
}

TEST_F(SoundManual, NoStopRefusesWhileASoundPlays)
{
    const auto a = RampWave(), b = RampWave(kRampFrames, 2);
    EXPECT_TRUE(snd::PlaySound(a.data(), a.size(), kAsync | snd::NoStop)); // nothing playing
    RenderTo(480);
    EXPECT_FALSE(snd::PlaySound(b.data(), b.size(), kAsync | snd::NoStop));
    RenderTo(1440);
    ExpectRampAt(0); // the first sound went on undisturbed
    EXPECT_EQ(snd::testing::StartedAt().size(), 1u);
}

TEST_F(SoundManual, NewSoundReplacesThePlayingOneAtItsStart)
{
    const auto a = RampWave(), b = RampWave(kRampFrames, 2);
    ASSERT_TRUE(snd::PlaySound(a.data(), a.size(), kAsync));
    RenderTo(480);
    ASSERT_TRUE(snd::PlaySound(b.data(), b.size(), kAsync));
    RenderTo(480 + kRampFrames + 1);
    EXPECT_FLOAT_EQ(Left(479), RampOut(479));
    EXPECT_FLOAT_EQ(Left(480), 2 * RampOut(0));
    EXPECT_FLOAT_EQ(Left(480 + kRampFrames - 1), 2 * RampOut(kRampFrames - 1));
    EXPECT_EQ(Left(480 + kRampFrames), 0.0f);
    // A timed sound that has not begun is dropped by a later request.
    ASSERT_TRUE(snd::PlaySoundAt(a.data(), a.size(), kAsync, 1100.0));
    ASSERT_TRUE(snd::PlaySoundAt(b.data(), b.size(), kAsync, 1200.0));
    RenderTo(24000);
    int64_t at = std::llround((1200.0 + snd::LatencyMs() - 1000.0) * 48.0);
    EXPECT_EQ(snd::testing::StartedAt(), (std::vector<int64_t> { 0, 480, at }));
}

TEST_F(SoundManual, LoopWithAsyncRepeatsUntilStopped)
{
    const auto img = RampWave();
    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync | snd::Loop));
    RenderTo(3 * kRampFrames + 100);
    for (int rep = 0; rep < 3; ++rep)
        EXPECT_FLOAT_EQ(Left(rep * kRampFrames + 5), RampOut(5)) << "repeat " << rep;
    EXPECT_TRUE(snd::Playing());
    snd::Stop();
    EXPECT_FALSE(snd::Playing());
    const int64_t from = int64_t(FOut.size() / 2);
    RenderTo(from + 960);
    for (int64_t s = from; s < from + 960; ++s)
        ASSERT_EQ(Left(s), 0.0f);
}

TEST_F(SoundManual, SyncBlocksUntilTheEndAndPlaysLoopOnce)
{
    const auto img = RampWave(2000);
    for (uint32_t flags : { snd::Memory, snd::Memory | snd::Loop }) {
        Use(480);
        std::atomic<bool> returned { false };
        std::thread caller([&] {
            EXPECT_TRUE(snd::PlaySound(img.data(), img.size(), flags));
            returned = true;
        });
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!snd::Playing() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        if (!snd::Playing()) {
            snd::Stop();
            caller.join();
            FAIL() << "the sound never started";
        }
        RenderTo(1440); // 2000 frames are not through yet
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(returned);
        RenderTo(2400);
        caller.join();
        EXPECT_TRUE(returned);
        EXPECT_FALSE(snd::Playing());
        RenderTo(4800);
        EXPECT_EQ(Left(2000), 0.0f) << "flags " << flags;
        EXPECT_EQ(Left(4000), 0.0f) << "flags " << flags;
    }
}

TEST_F(SoundManual, NullImageStopsAndInvalidImageIsSilent)
{
    const auto img = RampWave();
    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync | snd::Loop));
    RenderTo(480);
    EXPECT_TRUE(snd::PlaySound(nullptr, 0, snd::Memory));
    EXPECT_FALSE(snd::Playing());
    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync | snd::Loop));
    EXPECT_TRUE(snd::PlaySound(img.data(), 0, kAsync));
    EXPECT_FALSE(snd::Playing());

    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync | snd::Loop));
    auto broken = img;
    PutU32(broken, 40, 0x7FFFFFFF); // data length beyond the image
    EXPECT_FALSE(snd::PlaySound(broken.data(), broken.size(), kAsync));
    EXPECT_FALSE(snd::Playing());
    EXPECT_FALSE(snd::PlaySound(broken.data(), broken.size(), snd::Memory)); // Sync: no hang
    const int64_t from = int64_t(FOut.size() / 2);
    RenderTo(from + 960);
    for (int64_t s = from; s < from + 960; ++s)
        ASSERT_EQ(Left(s), 0.0f);
}

TEST_F(SoundManual, CallerMayChangeOrFreeTheImageAtOnce)
{
    auto* image = new std::vector<uint8_t>(RampWave());
    ASSERT_TRUE(snd::PlaySound(image->data(), image->size(), kAsync));
    std::fill(image->begin() + 44, image->end(), 0x55);
    delete image;
    RenderTo(kRampFrames + 10);
    ExpectRampAt(0);
    // Same address, new content: the cache keys by content, so the new sound plays.
    std::vector<uint8_t> buf = RampWave();
    ASSERT_TRUE(snd::PlaySound(buf.data(), buf.size(), kAsync));
    RenderTo(2 * kRampFrames + 500);
    const int64_t second = snd::testing::StartedAt().back();
    ExpectRampAt(second);
    auto doubled = RampWave(kRampFrames, 2);
    std::copy(doubled.begin(), doubled.end(), buf.begin());
    ASSERT_TRUE(snd::PlaySound(buf.data(), buf.size(), kAsync));
    RenderTo(4 * kRampFrames);
    const int64_t third = snd::testing::StartedAt().back();
    ASSERT_GT(third, second);
    EXPECT_FLOAT_EQ(Left(third + 10), 2 * RampOut(10));
}

// ---- Beat grid on a simulated sound server ---------------------------------------------

namespace {

// A server stream of 48 kHz heard from program-clock time 1000 ms on, whose requests come
// at uneven moments and in bursts. Each request reports the heard position (as a server's
// timing information does) and fills the stream to 40 ms ahead of it; after a stall the
// samples already heard are discarded, as the server skips them.
class SoundGrid : public ::testing::Test {
protected:
    static constexpr int kRate = 48000;
    static constexpr int kBpm = 208;

    void SetUp() override
    {
        plat::UseManualClock(true, 1000);
        snd::testing::UseManualOutput(kRate, 480);
        FImage = RampWave(200);
    }
    void TearDown() override
    {
        snd::ClearBeatGrid();
        snd::testing::UseDeviceOutput();
        plat::UseManualClock(false);
    }
    static double Heard(double t) { return (t - 1000.0) * kRate / 1000.0; }
    static int64_t Offset(int64_t beat) { return (2 * beat * 60 * kRate + kBpm) / (2 * kBpm); }
    void Request(double t, double reportedAt)
    {
        snd::testing::ReportTiming(reportedAt, Heard(t));
        snd::testing::Discard(int64_t(Heard(t)));
        while (snd::testing::MixedFrames() < int64_t(Heard(t)) + kRate / 25)
            snd::testing::RenderAt(nullptr, 480, t);
    }
    // Runs the stream from `from` to `to` ms; beat k is handed over a beat ahead, at the
    // program-clock time of beat k - 1 on the grid.
    void Run(int from, int to, const std::function<bool(int)>& request, double noiseMs = 0.0)
    {
        for (int t = from; t < to; ++t) {
            plat::SetManualClock(t);
            while (1000.0 + double(FNextBeat - 1) * 60000.0 / kBpm <= t) {
                ASSERT_TRUE(snd::PlaySoundOnBeat(FImage.data(), FImage.size(), kAsync, FNextBeat));
                ++FNextBeat;
            }
            if (request(t))
                Request(t, t + noiseMs * std::sin(t * 0.37));
        }
    }
    // Every click started exactly on the grid, beats 1, 2, ... in order, except `skipped`.
    void ExpectOnGrid(const std::vector<int64_t>& skipped = {})
    {
        const auto starts = snd::testing::StartedAt();
        ASSERT_FALSE(starts.empty());
        const int64_t anchor = starts[0] - Offset(1);
        int64_t beat = 1;
        for (int64_t start : starts) {
            while (std::find(skipped.begin(), skipped.end(), beat) != skipped.end())
                ++beat;
            EXPECT_EQ(start, anchor + Offset(beat)) << "beat " << beat;
            ++beat;
        }
        EXPECT_GE(beat, 20);
    }

    std::vector<uint8_t> FImage;
    int64_t FNextBeat = 1;
};

} // namespace

TEST_F(SoundGrid, ClicksStayOnTheGridWhateverTheRequests)
{
    snd::SetBeatGrid(1000.0, kBpm);
    EXPECT_TRUE(snd::testing::OutputOpen());
    // Requests 3 to 17 ms apart, and every ninth a burst after a 30 ms silence; the reported
    // times carry up to 3 ms of noise. None of it may move a click.
    Run(1000, 8000, [](int t) {
        if (t % 90 >= 60 && t % 90 < 90)
            return t % 90 == 89;
        return (t * 7) % 10 == 0 || t % 17 == 0;
    }, 3.0);
    ExpectOnGrid();
    EXPECT_EQ(snd::SkippedBeats(), 0);
    // The first beat is where the program clock put it: the anchor is the sample heard at
    // the run's start, 1000 ms.
    EXPECT_NEAR(double(snd::testing::StartedAt()[0] - Offset(1)), 0.0, 3.0 * kRate / 1000);
}

TEST_F(SoundGrid, ABeatTheStreamStalledOverIsSkippedNotPlayedLate)
{
    snd::SetBeatGrid(1000.0, kBpm);
    // Regular requests every 10 ms, none for 300 ms from 3050 ms on: the server plays
    // past what was written (up to about 3090 ms), and beat 8 (at 1000 + 8 * 288.5 ms)
    // falls into the gap.
    Run(1000, 8000, [](int t) { return t % 10 == 0 && (t < 3050 || t >= 3350); });
    ExpectOnGrid({ 8 });
    EXPECT_EQ(snd::SkippedBeats(), 1);
}

TEST_F(SoundGrid, ClearingTheGridDropsTheBeatNotBegunAndClosesTheStream)
{
    snd::SetBeatGrid(1000.0, kBpm);
    Run(1000, 1400, [](int t) { return t % 10 == 0; });
    ASSERT_EQ(snd::testing::StartedAt().size(), 1u);
    snd::ClearBeatGrid();
    EXPECT_FALSE(snd::testing::OutputOpen());
    EXPECT_FALSE(snd::PlaySoundOnBeat(FImage.data(), FImage.size(), kAsync, 5));
    for (int t = 1400; t < 2000; t += 10)
        Request(t, t);
    EXPECT_EQ(snd::testing::StartedAt().size(), 1u);
    EXPECT_FALSE(snd::BeatGridElapsedMs());
}

// The grid's own time follows the stream's position, not the program clock.
TEST_F(SoundGrid, ElapsedTimeIsTheStreamsPosition)
{
    EXPECT_FALSE(snd::BeatGridElapsedMs());
    snd::SetBeatGrid(1000.0, kBpm);
    EXPECT_FALSE(snd::BeatGridElapsedMs()); // no timing yet
    snd::testing::ReportTiming(1000.0, 0.0);
    plat::SetManualClock(1500);
    ASSERT_TRUE(snd::BeatGridElapsedMs());
    EXPECT_DOUBLE_EQ(*snd::BeatGridElapsedMs(), 500.0);
    // The device turns out to be 2 ms behind: the time heard says so at once.
    snd::testing::ReportTiming(1500.0, Heard(1498.0));
    EXPECT_DOUBLE_EQ(*snd::BeatGridElapsedMs(), 498.0);
}

namespace {

// Runs against a real SDL audio driver chosen by the environment; restores it after.
class SoundDevice : public ::testing::Test {
protected:
    std::string FOldDriver;
    bool FHadDriver = false;
    void SetUp() override
    {
        if (const char* d = std::getenv("SDL_AUDIODRIVER")) {
            FHadDriver = true;
            FOldDriver = d;
        }
        snd::testing::UseDeviceOutput();
    }
    void TearDown() override
    {
        snd::Shutdown();
        if (FHadDriver)
            setenv("SDL_AUDIODRIVER", FOldDriver.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }
};

} // namespace

TEST_F(SoundDevice, DiskDriverReceivesThePlayedSound)
{
    std::string path = ::testing::TempDir() + "sound_disk_" + std::to_string(getpid()) + ".raw";
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    const auto img = AdpcmWave();
    ASSERT_TRUE(snd::PlaySound(img.data(), img.size(), snd::Memory)); // Sync
    EXPECT_GT(snd::testing::OutputRate(), 0);
    EXPECT_FALSE(snd::Playing());
    snd::Shutdown();
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    ASSERT_GE(bytes.size(), 4 * sizeof(float));
    size_t loud = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        float v;
        std::memcpy(&v, bytes.data() + i, 4);
        loud += std::fabs(v) > 0.01f;
    }
    EXPECT_GT(loud, 100u);
}

TEST_F(SoundDevice, MissingDriverIsSilentAndReturnsNormally)
{
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    const auto img = AdpcmWave();
    EXPECT_TRUE(snd::PlaySound(img.data(), img.size(), snd::Memory)); // Sync returns at once
    EXPECT_TRUE(snd::PlaySoundAt(img.data(), img.size(), kAsync | snd::Loop, 5.0));
    EXPECT_FALSE(snd::Playing());
    EXPECT_EQ(snd::testing::OutputRate(), 0);
    auto broken = img;
    broken[kDataAt] = 200;
    EXPECT_FALSE(snd::PlaySound(broken.data(), broken.size(), kAsync));
    EXPECT_TRUE(snd::PlaySound(nullptr, 0, 0));
    snd::Stop();
    snd::Shutdown();
}

TEST_F(SoundDevice, SyncPlayOnTheDeviceReturnsWhenDone)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const auto img = RampWave(4800);
    EXPECT_TRUE(snd::PlaySound(img.data(), img.size(), snd::Memory));
    EXPECT_FALSE(snd::Playing());
    const int rate = snd::testing::OutputRate();
    ASSERT_GT(rate, 0);
    EXPECT_GE(snd::testing::MixedFrames(), int64_t(4800) * rate / 48000);
    EXPECT_TRUE(snd::PlaySound(img.data(), img.size(), kAsync | snd::Loop));
    EXPECT_TRUE(snd::Playing());
    snd::Shutdown(); // must not hang with a looping sound
    EXPECT_FALSE(snd::Playing());
}
