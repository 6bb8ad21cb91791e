// The wave player: option flags, events and Enabled, what reaches the sound service and
// when (manual output and clock), loading and saving images, and the form round trip.
#include "EffectControlsTestSupport.h"

#include "effectlib/Wavctrl.h"
#include "framework/core/Reader.h"
#include "framework/core/Stream.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Writer.h"
#include "platform/sound/Sound.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

namespace snd = plat::sound;
using effctltest::BeatLayoutWave;
using effctltest::RampWave;

namespace {

// A root with one published player, the shape of the window's description.
class TWaveRoot : public TComponent {
public:
    using TComponent::TComponent;
    TepWavePlayer* wavePlay = nullptr;
    int before = 0, after = 0;
    void wavePlayBefore(TObject*) { ++before; }
    void wavePlayAfter(TObject*) { ++after; }
};

} // namespace

BEGIN_PROPERTIES(TWaveRoot, TComponent)
    PUBLISHED_FIELD(wavePlay)
    PUBLISHED_METHOD(wavePlayBefore)
    PUBLISHED_METHOD(wavePlayAfter)
END_PROPERTIES

namespace {

std::vector<uint8_t> Bytes(const TepWave* w)
{
    return std::vector<uint8_t>(w->Memory(), w->Memory() + w->Size());
}

void LoadBytes(TepWave* w, const std::vector<uint8_t>& bytes)
{
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    s.SetPosition(0);
    w->LoadFromStream(&s);
}

std::string TempPath(const std::string& name)
{
    static const std::string run = std::to_string(std::random_device {}());
    return ::testing::TempDir() + "wavctrl_" + run + "_" + name;
}

std::vector<uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(WavePlayerOptions, FlagsFollowTheOptionSet)
{
    TepWavePlayer p(nullptr);
    EXPECT_TRUE(p.Enabled());
    EXPECT_EQ(p.Options(), WavePlayOpt(wpoSync));
    EXPECT_EQ(p.SoundFlags(), 0x0004);

    struct Case {
        TOptionsSet options;
        uint16_t flags;
    } cases[] = {
        { WavePlayOpt(wpoAsync), 0x0005 },
        { TOptionsSet(WavePlayOpt(wpoAsync) | WavePlayOpt(wpoLoop)), 0x000D },
        { WavePlayOpt(wpoSync), 0x0004 },
        { WavePlayOpt(wpoNoDefault), 0x0006 },
        { TOptionsSet(WavePlayOpt(wpoSync) | WavePlayOpt(wpoNoStop)), 0x0014 },
        { TOptionsSet(0x1F), 0x001F },
        { 0, 0x0004 },
    };
    for (const Case& c : cases) {
        p.SetOptions(c.options);
        EXPECT_EQ(p.Options(), c.options);
        EXPECT_EQ(p.SoundFlags(), c.flags) << "options " << int(c.options);
    }
}

TEST(WaveData, NewWaveIsNotEmptyAndChangesAreReported)
{
    TepWave w;
    EXPECT_FALSE(w.GetEmpty());
    EXPECT_EQ(w.Size(), 0);
    EXPECT_FALSE(w.Modified());

    int changes = 0;
    w.OnChange = TNotifyEvent::FromFunction([&](TObject* s) {
        EXPECT_EQ(s, &w);
        ++changes;
    });
    LoadBytes(&w, { 1, 2, 3 });
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(w.Modified());
    w.SetModified(false);
    EXPECT_FALSE(w.Modified());
    EXPECT_EQ(changes, 1);
    w.SetModified(true);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(w.Modified());
}

TEST(WaveData, AssignCopiesBytesIntoItsOwnStream)
{
    TepWave a, b;
    LoadBytes(&a, { 9, 8, 7, 6 });
    int changes = 0;
    b.OnChange = TNotifyEvent::FromFunction([&](TObject*) { ++changes; });
    b.Assign(&a);
    EXPECT_EQ(Bytes(&b), (std::vector<uint8_t> { 9, 8, 7, 6 }));
    EXPECT_EQ(changes, 1);
    EXPECT_NE(a.Memory(), b.Memory());
    LoadBytes(&a, { 1 });
    EXPECT_EQ(Bytes(&b), (std::vector<uint8_t> { 9, 8, 7, 6 }));

    // None keeps the data but still reports a change; a foreign class is an error.
    b.Assign(nullptr);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(b.Size(), 4);
    TepWavePlayer other(nullptr);
    EXPECT_THROW(b.Assign(&other), EConvertError);
    EXPECT_EQ(b.Size(), 4);

    // The player's Wave setter assigns.
    TepWavePlayer p(nullptr);
    p.SetWave(&a);
    EXPECT_EQ(Bytes(p.Wave()), (std::vector<uint8_t> { 1 }));
    EXPECT_NE(p.Wave(), &a);
}

TEST(WaveData, FailedLoadsLeaveTheWaveAsItWas)
{
    TepWave w;
    LoadBytes(&w, { 5, 5, 5 });
    int changes = 0;
    w.OnChange = TNotifyEvent::FromFunction([&](TObject*) { ++changes; });

    // A stream that is not at its start has fewer bytes left than its size.
    TMemoryStream s;
    const uint8_t data[] = { 1, 2, 3, 4, 5, 6 };
    s.WriteBuffer(data, 6);
    s.SetPosition(2);
    EXPECT_THROW(w.LoadFromStream(&s), EReadError);
    EXPECT_EQ(Bytes(&w), (std::vector<uint8_t> { 5, 5, 5 }));
    EXPECT_EQ(changes, 0);

    EXPECT_THROW(w.LoadFromFile(TempPath("does-not-exist.wav")), EFOpenError);
    EXPECT_EQ(Bytes(&w), (std::vector<uint8_t> { 5, 5, 5 }));
    EXPECT_EQ(changes, 0);
}

TEST(WaveData, SaveAndLoadFileRoundTrip)
{
    const auto image = BeatLayoutWave();
    ASSERT_EQ(image.size(), 1192u);
    TepWave a, b;
    LoadBytes(&a, image);
    const std::string path = TempPath("roundtrip.wav");
    {
        std::ofstream old(path, std::ios::binary);
        old << "an older and much longer file that the save must replace entirely......";
    }
    a.SaveToFile(path);
    EXPECT_EQ(ReadFile(path), image);
    b.LoadFromFile(path);
    EXPECT_EQ(Bytes(&b), image);

    // A save that cannot complete leaves what was there.
    const std::string dir = TempPath("a-directory");
    std::filesystem::create_directories(dir);
    EXPECT_THROW(a.SaveToFile(dir), EFCreateError);
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    EXPECT_THROW(a.SaveToFile(TempPath("no-such-dir") + "/x.wav"), EFCreateError);
    std::filesystem::remove(path);
    std::filesystem::remove(dir);
}

TEST(WaveStreaming, TheBeatImageSurvivesAFormWriteAndReadByteForByte)
{
    const auto image = BeatLayoutWave();
    TWaveRoot root(nullptr);
    root.SetName("frmSound");
    auto* player = new TepWavePlayer(&root);
    player->SetName("wavePlay");
    player->SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(player->Wave(), image);
    player->BeforePlay = TNotifyEvent(&root, &TWaveRoot::wavePlayBefore, "wavePlayBefore");

    const std::string text = WriteComponentRes(&root);
    EXPECT_NE(text.find("    Enabled = True\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Options = [wpoAsync]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Wave.Data = {\n      52494646A0040000"), std::string::npos) << text;
    EXPECT_NE(text.find("    BeforePlay = wavePlayBefore\n"), std::string::npos) << text;
    EXPECT_LT(text.find("Options"), text.find("Wave.Data"));

    TWaveRoot copy(nullptr);
    ReadComponentRes(text, &copy);
    ASSERT_NE(copy.wavePlay, nullptr);
    EXPECT_EQ(Bytes(copy.wavePlay->Wave()), image);
    EXPECT_EQ(copy.wavePlay->Options(), WavePlayOpt(wpoAsync));
    EXPECT_EQ(copy.wavePlay->SoundFlags(), 0x0005);
    EXPECT_TRUE(copy.wavePlay->Enabled());
    copy.wavePlay->SetEnabled(false);
    copy.wavePlay->Play();
    EXPECT_EQ(copy.before, 1);
    copy.wavePlay->SetEnabled(true);
    EXPECT_EQ(WriteComponentRes(&copy), text);
}

// The generated beat sound, when the resources are there: the service accepts it, and the
// form keeps it byte for byte.
TEST(WaveStreaming, TheGeneratedBeatSoundIsPlayableAndRoundTrips)
{
    const std::string path = std::string(SOURCE_DIR) + "/resources/beat.wav";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no generated beat sound";
    TWaveRoot root(nullptr);
    root.SetName("frmSound");
    auto* player = new TepWavePlayer(&root);
    player->SetName("wavePlay");
    player->Wave()->LoadFromFile(path);
    const auto image = Bytes(player->Wave());
    ASSERT_EQ(image.size(), 1192u);
    EXPECT_TRUE(snd::ValidWave(image.data(), image.size()));
    TWaveRoot copy(nullptr);
    ReadComponentRes(WriteComponentRes(&root), &copy);
    ASSERT_NE(copy.wavePlay, nullptr);
    EXPECT_EQ(Bytes(copy.wavePlay->Wave()), image);
}

TEST(WaveStreaming, AnEmptyWaveStillWritesItsData)
{
    TWaveRoot root(nullptr);
    root.SetName("frmSound");
    auto* player = new TepWavePlayer(&root);
    player->SetName("wavePlay");
    player->SetEnabled(false);
    const std::string text = WriteComponentRes(&root);
    EXPECT_NE(text.find("    Enabled = False\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Options"), std::string::npos) << text;   // the default
    EXPECT_NE(text.find("Wave.Data = {"), std::string::npos) << text;

    TWaveRoot copy(nullptr);
    ReadComponentRes(text, &copy);
    ASSERT_NE(copy.wavePlay, nullptr);
    EXPECT_FALSE(copy.wavePlay->Enabled());
    EXPECT_EQ(copy.wavePlay->Wave()->Size(), 0);
}

namespace {

// The sound service on a manual output of 48000 frames per second, 480 per callback,
// with the program clock at 1000 ms when the output opens.
class WavePlayerSound : public ::testing::Test {
protected:
    static constexpr int kRate = 48000;
    static constexpr int kBuffer = 480;
    void SetUp() override
    {
        plat::UseManualClock(true, 1000);
        snd::testing::UseManualOutput(kRate, kBuffer);
    }
    void TearDown() override
    {
        snd::Stop();
        snd::testing::UseDeviceOutput();
        plat::UseManualClock(false);
    }
    // Renders whole callbacks, moving the clock along with the output.
    void Render(int buffers)
    {
        for (int i = 0; i < buffers; ++i) {
            snd::testing::RenderNext(nullptr);
            plat::AdvanceManualClock(kBuffer * 1000 / kRate);
        }
    }
    std::vector<uint8_t> ramp = RampWave(kRate, 1000);
};

} // namespace

TEST_F(WavePlayerSound, DisabledPlayFiresBothEventsAndPlaysNothing)
{
    TepWavePlayer p(nullptr);
    p.SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(p.Wave(), ramp);
    std::vector<std::string> log;
    p.BeforePlay = TNotifyEvent::FromFunction([&](TObject* s) {
        EXPECT_EQ(s, &p);
        log.push_back(snd::Playing() ? "before:playing" : "before:silent");
    });
    p.AfterPlay = TNotifyEvent::FromFunction([&](TObject* s) {
        EXPECT_EQ(s, &p);
        log.push_back(snd::Playing() ? "after:playing" : "after:silent");
    });

    p.SetEnabled(false);
    p.Play();
    p.PlayAt(1010.0);
    Render(10);
    EXPECT_EQ(log, (std::vector<std::string> { "before:silent", "after:silent",
                       "before:silent", "after:silent" }));
    EXPECT_TRUE(snd::testing::StartedAt().empty());

    // Enabled: the sound is handed over between the two events.
    log.clear();
    p.SetEnabled(true);
    p.Play();
    EXPECT_EQ(log, (std::vector<std::string> { "before:silent", "after:playing" }));
    Render(4);
    EXPECT_EQ(snd::testing::StartedAt().size(), 1u);
}

TEST_F(WavePlayerSound, PlayAtStartsOnTheSampleOfTheTimePlusLatency)
{
    TepWavePlayer p(nullptr);
    p.SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(p.Wave(), ramp);
    Render(2);   // output open; clock now 1020 ms
    p.PlayAt(1025.5);
    p.PlayAt(1030.0);   // the later request replaces one that has not begun
    Render(20);
    const int64_t expected = std::llround((1030.0 + snd::LatencyMs() - 1000.0) * kRate / 1000.0);
    EXPECT_EQ(snd::testing::StartedAt(), std::vector<int64_t> { expected });

    // Plain Play keeps its meaning: the first sample not mixed yet.
    const int64_t next = snd::testing::MixedFrames();
    p.Play();
    Render(4);
    EXPECT_EQ(snd::testing::StartedAt(), (std::vector<int64_t> { expected, next }));
}

// On the beat grid the sound starts on the beat's own sample; disabled, it is only the
// events that fire.
TEST_F(WavePlayerSound, PlayOnBeatStartsOnTheGridSample)
{
    TepWavePlayer p(nullptr);
    p.SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(p.Wave(), ramp);
    int events = 0;
    p.BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++events; });
    p.PlayOnBeat(1); // no grid: nothing to place
    snd::SetBeatGrid(1000.0, 90);
    snd::testing::ReportTiming(1000.0, 0.0);
    p.SetEnabled(false);
    p.PlayOnBeat(1);
    p.SetEnabled(true);
    p.PlayOnBeat(2);
    Render(150);
    EXPECT_EQ(events, 3);
    // Beat 2 at 90 bpm: round(2 * 60 * 48000 / 90) = 64000 samples after the anchor.
    EXPECT_EQ(snd::testing::StartedAt(), std::vector<int64_t> { 64000 });
    snd::ClearBeatGrid();
}

TEST_F(WavePlayerSound, EmptyWaveAbortAndDestructionStopTheSound)
{
    auto* p = new TepWavePlayer(nullptr);
    p->SetOptions(TOptionsSet(WavePlayOpt(wpoAsync) | WavePlayOpt(wpoLoop)));
    LoadBytes(p->Wave(), ramp);
    p->Play();
    Render(2);
    EXPECT_TRUE(snd::Playing());

    TepWavePlayer silent(nullptr);
    silent.SetOptions(WavePlayOpt(wpoAsync));
    silent.Play();   // no image: stops what plays
    EXPECT_FALSE(snd::Playing());

    p->Play();
    Render(2);
    ASSERT_TRUE(snd::Playing());
    p->Abort();
    EXPECT_FALSE(snd::Playing());

    p->Play();
    Render(2);
    ASSERT_TRUE(snd::Playing());
    delete p;
    EXPECT_FALSE(snd::Playing());
}

TEST_F(WavePlayerSound, NoStopKeepsThePlayingSoundAndBadImagesAreSilent)
{
    TepWavePlayer p(nullptr);
    p.SetOptions(TOptionsSet(WavePlayOpt(wpoAsync) | WavePlayOpt(wpoNoStop)));
    LoadBytes(p.Wave(), ramp);
    p.Play();
    Render(1);
    p.Play();
    Render(4);
    EXPECT_EQ(snd::testing::StartedAt().size(), 1u);

    // A stored image with a data length beyond its bytes never plays.
    auto broken = ramp;
    broken[40] = 0xFF;
    broken[41] = 0xFF;
    broken[42] = 0xFF;
    broken[43] = 0x7F;
    TepWavePlayer q(nullptr);
    q.SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(q.Wave(), broken);
    q.Play();
    q.PlayAt(1100.0);
    Render(20);
    EXPECT_EQ(snd::testing::StartedAt().size(), 1u);
    EXPECT_FALSE(snd::Playing());
}

TEST_F(WavePlayerSound, AnEventMayFreeThePlayer)
{
    auto* p = new TepWavePlayer(nullptr);
    p->SetOptions(WavePlayOpt(wpoAsync));
    LoadBytes(p->Wave(), ramp);
    int after = 0;
    p->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { delete p; });
    p->AfterPlay = TNotifyEvent::FromFunction([&](TObject*) { ++after; });
    p->Play();
    EXPECT_EQ(after, 0);
    Render(4);
    EXPECT_TRUE(snd::testing::StartedAt().empty());
}
