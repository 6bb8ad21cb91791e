// The window's practice aids: its keys, tapping the tempo, accented bars with their
// setting in the settings file, and the options of the command line.
#include "MetronomeTestSupport.h"

#include "app/CommandLine.h"
#include "platform/sound/Wave_p.h"

#include <cmath>

namespace {

class PracticeTest : public MetronomeTest {
protected:
    void Key(int32_t key, uint32_t mods = 0, bool repeat = false)
    {
        ws.KeyDown(key, mods, repeat);
        ws.KeyUp(key, mods);
        Application->ProcessMessages();
    }
    // The keys' targets, whatever has the focus: nothing, the Quit button, the slider.
    void FocusNothing() { form->FocusControl(nullptr); }
    int clicks = 0;
    void CountRunClicks()
    {
        form->btnRun->OnClick = TNotifyEvent::FromFunction([this](TObject* s) {
            ++clicks;
            form->btnRunClick(s);
        });
    }
};

std::string FourKeys(int top, int left, int tempo, int beep)
{
    return "[Form.Position]\ntop=" + std::to_string(top) + "\nleft=" + std::to_string(left)
        + "\n[Config]\nTempo=" + std::to_string(tempo) + "\nBeep=" + std::to_string(beep) + "\n";
}

} // namespace

// Space is a click on Run: OnClick runs (the run starts afresh from that moment) and the
// key toggles; a second Space stops it. Held down, it does not toggle again.
TEST_F(PracticeTest, SpaceStartsAndStopsTheRunAsAClickDoes)
{
    Open();
    CountRunClicks();
    for (TWinControl* focus : { static_cast<TWinControl*>(nullptr), static_cast<TWinControl*>(form->btnQuit),
             static_cast<TWinControl*>(form->sliderTempo) }) {
        form->FocusControl(focus);
        clicks = 0;
        plat::SetManualClock(1000);
        Key(plat::vk::Space);
        EXPECT_TRUE(form->btnRun->StateOn());
        EXPECT_EQ(clicks, 1);
        Key(plat::vk::Space, 0, true);   // an auto-repeat
        EXPECT_TRUE(form->btnRun->StateOn());
        TickAt(1490);
        TickAt(1500);   // the first beat, one period after the key
        EXPECT_EQ(Shown(), 1);
        plat::SetManualClock(1700);
        Key(plat::vk::Space);
        EXPECT_FALSE(form->btnRun->StateOn());
        EXPECT_EQ(clicks, 2);
        TickAt(3000);
        EXPECT_EQ(Shown(), 1);   // stopped: nothing moves
    }
    // With Ctrl or Alt held it is not the window's key.
    Key(plat::vk::Space, plat::mod::Ctrl);
    Key(plat::vk::Space, plat::mod::Alt);
    EXPECT_FALSE(form->btnRun->StateOn());
}

// B switches Beep, R is RST: the count starts again from 0 and the run goes on.
TEST_F(PracticeTest, BSwitchesBeepAndRResetsTheCount)
{
    Open();
    FocusNothing();
    Key('B');
    EXPECT_TRUE(form->btnBeep->StateOn());
    Key('B');
    EXPECT_FALSE(form->btnBeep->StateOn());
    plat::SetManualClock(1000);
    Key(plat::vk::Space);
    for (int32_t t = 1010; t <= 3000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 4);
    Key('R');
    EXPECT_EQ(Shown(), 0);
    for (int32_t t = 3010; t <= 3500; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 1);
    EXPECT_TRUE(form->btnRun->StateOn());
}

// The slider's keys reach it from anywhere; a key the focused slider uses moves it once.
TEST_F(PracticeTest, TempoKeysReachTheSliderWithoutTheFocus)
{
    Open();
    for (TWinControl* focus : { static_cast<TWinControl*>(nullptr), static_cast<TWinControl*>(form->btnQuit),
             static_cast<TWinControl*>(form->sliderTempo) }) {
        form->FocusControl(focus);
        form->sliderTempo->SetValue(120);
        Key(plat::vk::Up);
        EXPECT_EQ(form->sliderTempo->Value(), 121);
        Key(plat::vk::Up, 0, true);   // held: the tempo goes on rising
        EXPECT_EQ(form->sliderTempo->Value(), 122);
        Key(plat::vk::Down);
        EXPECT_EQ(form->sliderTempo->Value(), 121);
        Key(plat::vk::Prior);
        EXPECT_EQ(form->sliderTempo->Value(), 131);
        Key(plat::vk::Next);
        Key(plat::vk::Next);
        EXPECT_EQ(form->sliderTempo->Value(), 111);
        Key(plat::vk::Up, plat::mod::Shift);   // the slider ignores shifted keys
        EXPECT_EQ(form->sliderTempo->Value(), 111);
        Key(plat::vk::End);
        EXPECT_EQ(form->sliderTempo->Value(), 208);
        Key(plat::vk::Prior);
        EXPECT_EQ(form->sliderTempo->Value(), 208);
        Key(plat::vk::Home);
        EXPECT_EQ(form->sliderTempo->Value(), 40);
        Key(plat::vk::Next);
        EXPECT_EQ(form->sliderTempo->Value(), 40);
        EXPECT_EQ(form->lblTempoValue->Caption(), "40 bpm");
    }
    // The focused slider hears each key once, also one it does not use.
    int heard = 0;
    form->sliderTempo->OnKeyDown = TKeyEvent::FromFunction([&](TObject*, uint16_t&, TShiftState) { ++heard; });
    Key(plat::vk::Left);
    Key(plat::vk::Space);
    EXPECT_EQ(heard, 2);
    form->FocusControl(nullptr);
    Key(plat::vk::Left);
    EXPECT_EQ(heard, 3);
}

// T tapped every 500 ms sets 120 through the slider; during a run that is a tempo change,
// which freezes the needle until 500 ms after the last one and then restarts the count.
TEST_F(PracticeTest, TappingTSetsTheTempoAsASliderChange)
{
    WriteIni(FourKeys(113, 360, 90, 0));
    Open();
    FocusNothing();
    EXPECT_EQ(form->lblTempoValue->Caption(), "90 bpm");
    plat::SetManualClock(1000);
    Key(plat::vk::Space);
    for (int32_t t = 1010; t <= 3000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 3);   // 90 bpm: a beat every 666.7 ms

    int changes = 0;
    form->sliderTempo->OnChange = TNotifyEvent::FromFunction([&](TObject* s) {
        ++changes;
        form->sliderTempoChange(s);
    });
    // Taps every 500 ms between the ticks. The second gives 120; the later ones give 120
    // again, which is no change.
    double frozenAt = 0;
    for (int32_t t = 3000; t <= 5000; t += 10) {
        if (t % 500 == 0) {
            plat::SetManualClock(t);
            Key('T');
        }
        if (t == 3500) {
            EXPECT_EQ(form->sliderTempo->Value(), 120);
            EXPECT_EQ(form->lblTempoValue->Caption(), "120 bpm");
            frozenAt = form->NeedleAngle();
        }
        TickAt(t);
        if (t > 3500 && t <= 4000) {
            EXPECT_EQ(form->NeedleAngle(), frozenAt) << t;
            EXPECT_EQ(Shown(), 3) << t;
        }
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form->sliderTempo->Value(), 120);
    EXPECT_EQ(Shown(), 1);   // restarted at 4010: the first beat at 4510

    // A held T and a T after a pause of 2 s do not measure.
    plat::SetManualClock(7100);
    Key('T', 0, true);
    plat::SetManualClock(7600);
    Key('T');
    EXPECT_EQ(form->sliderTempo->Value(), 120);
    plat::SetManualClock(8000);
    Key('T');
    EXPECT_EQ(form->sliderTempo->Value(), 150);
}

// Keys 1 to 9 (and the keypad's) set the beats per bar; shifted digits do not.
TEST_F(PracticeTest, DigitsSetTheMeter)
{
    Open();
    EXPECT_EQ(form->Meter(), 1);
    Key('4');
    EXPECT_EQ(form->Meter(), 4);
    Key('0');
    EXPECT_EQ(form->Meter(), 4);
    Key('3', plat::mod::Shift);
    EXPECT_EQ(form->Meter(), 4);
    Key(0x69);   // keypad 9
    EXPECT_EQ(form->Meter(), 9);
    Key('1');
    EXPECT_EQ(form->Meter(), 1);
    form->SetMeter(10);
    form->SetMeter(0);
    EXPECT_EQ(form->Meter(), 1);
}

// A user who never sets the meter keeps exactly the four keys; a meter other than 1 is
// stored as Meter, and going back to 1 takes the key out again.
TEST_F(PracticeTest, MeterIsStoredOnlyWhenNotOne)
{
    Open();
    Key('B');
    Key('B');
    Key(plat::vk::Up);
    Key('1');
    form->Close();
    EXPECT_EQ(ReadIni(), FourKeys(113, 360, 121, 0));

    Key('7');
    form->Close();
    EXPECT_EQ(ReadIni(), FourKeys(113, 360, 121, 0) + "Meter=7\n");
    Key('1');
    form->Close();
    EXPECT_EQ(ReadIni(), FourKeys(113, 360, 121, 0));
}

TEST_F(PracticeTest, StoredMeterComesBackAndBrokenValuesMeanOne)
{
    struct Case {
        const char* text;
        int meter;
    } cases[] = { { "3", 3 }, { "9", 9 }, { "0x5", 5 }, { "0", 1 }, { "10", 1 }, { "-4", 1 },
        { "four", 1 }, { "", 1 }, { "99999999999", 1 } };
    for (const Case& c : cases) {
        WriteIni(FourKeys(113, 360, 120, 0) + "meter=" + c.text + "\n");
        Open();
        EXPECT_EQ(form->Meter(), c.meter) << c.text;
        form->Close();
        if (c.meter == 1)
            EXPECT_EQ(ReadIni(), FourKeys(113, 360, 120, 0)) << c.text;
        else
            EXPECT_EQ(ReadIni(), FourKeys(113, 360, 120, 0) + "meter=" + std::to_string(c.meter) + "\n");
        delete form;
        frmMetronome = nullptr;
    }
}

namespace {

// The sound service's output rendered into memory at 48 kHz, 40 ms ahead of what a
// device clock started with the run says is heard.
struct RecordedOutput {
    static constexpr int Rate = 48000;
    double t0 = 0;
    std::vector<float> samples;

    void Serve(double t)
    {
        const double heard = (t - t0) * Rate / 1000.0;
        plat::sound::testing::ReportTiming(t, heard);
        std::vector<float> buf(size_t(Rate / 100) * 2);
        while (plat::sound::testing::MixedFrames() < int64_t(heard) + Rate * 40 / 1000) {
            plat::sound::testing::RenderAt(buf.data(), Rate / 100, t);
            samples.insert(samples.end(), buf.begin(), buf.end());
        }
    }
    // Whether the output from frame `start` on is exactly `sound`.
    bool Holds(int64_t start, const plat::sound::DecodedSound& sound) const
    {
        if (size_t(start + sound.frames) * 2 > samples.size())
            return false;
        for (size_t i = 0; i < sound.samples.size(); ++i)
            if (samples[size_t(start) * 2 + i] != sound.samples[i])
                return false;
        return true;
    }
};

std::shared_ptr<const plat::sound::DecodedSound> Decoded(TepWavePlayer* player)
{
    return plat::sound::DecodeWave(player->Wave()->Memory(), size_t(player->Wave()->Size()),
        RecordedOutput::Rate);
}

} // namespace

// Meter 4 with Beep on: the first click of every bar is the accent, the others the beat,
// each exactly on its sample of the grid; the count, the lamp and the needle are as
// without an accent. RST opens a new bar at its next beat.
TEST_F(PracticeTest, AccentOpensEveryBarOnTheSameGrid)
{
    plat::sound::testing::UseManualOutput(RecordedOutput::Rate, 480);
    Open();
    FocusNothing();
    auto accent = Decoded(form->AccentPlayer());
    auto beat = Decoded(form->wavePlay);
    ASSERT_TRUE(accent && beat);
    ASSERT_EQ(accent->frames, beat->frames);
    int accents = 0;
    form->AccentPlayer()->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++accents; });

    Key('B');
    Key('4');
    RecordedOutput out { 1000.0, {} };
    plat::SetManualClock(1000);
    Key(plat::vk::Space);
    std::vector<int> shown;
    for (int32_t t = 1000; t <= 1000 + 10 * 500 + 100; t += 10) {
        out.Serve(t);
        TickAt(t);
        if (shown.empty() || shown.back() != Shown())
            shown.push_back(Shown());
    }
    EXPECT_EQ(shown, (std::vector<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }));
    std::vector<int64_t> starts = plat::sound::testing::StartedAt();
    ASSERT_EQ(starts.size(), 10u);
    for (size_t i = 0; i < starts.size(); ++i) {
        EXPECT_EQ(starts[i], int64_t(i + 1) * 24000) << "click " << i;
        const bool isAccent = i % 4 == 0;   // the clicks counting 1, 5 and 9
        EXPECT_TRUE(out.Holds(starts[i], isAccent ? *accent : *beat)) << "click " << i;
        EXPECT_FALSE(out.Holds(starts[i], isAccent ? *beat : *accent)) << "click " << i;
    }
    EXPECT_EQ(accents, 3);
    EXPECT_EQ(plays, 10 + 1 - accents);   // beat 11 is queued already, a plain beat
    EXPECT_FALSE(form->QueuedAccent());
    EXPECT_EQ(form->QueuedBeat(), 11);

    // RST after the count of 10: the queued beat 11 counts 1 now, an accent.
    Key('R');
    EXPECT_EQ(form->QueuedBeat(), 11);
    EXPECT_TRUE(form->QueuedAccent());
    // Meter 3 while beat 11 waits: it still opens a bar; meter 1 makes it a plain beat.
    Key('3');
    EXPECT_TRUE(form->QueuedAccent());
    Key('1');
    EXPECT_FALSE(form->QueuedAccent());
    Key('2');
    EXPECT_TRUE(form->QueuedAccent());
    for (int32_t t = 6110; t <= 1000 + 13 * 500 + 100; t += 10) {
        out.Serve(t);
        TickAt(t);
    }
    starts = plat::sound::testing::StartedAt();
    ASSERT_EQ(starts.size(), 13u);
    EXPECT_EQ(Shown(), 3);
    for (size_t i = 10; i < 13; ++i) {
        EXPECT_EQ(starts[i], int64_t(i + 1) * 24000) << "click " << i;
        EXPECT_TRUE(out.Holds(starts[i], i == 11 ? *beat : *accent)) << "click " << i;
    }
    EXPECT_EQ(plat::sound::SkippedBeats(), 0);
}

// Without a meter every click is the beat, as it always was.
TEST_F(PracticeTest, MeterOneNeverAccents)
{
    Open();
    int accents = 0;
    form->AccentPlayer()->BeforePlay = TNotifyEvent::FromFunction([&](TObject*) { ++accents; });
    form->btnBeep->SetStateOn(true);
    plat::SetManualClock(1000);
    Click(form->btnRun);
    for (int32_t t = 1010; t <= 5000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 8);
    EXPECT_EQ(accents, 0);
    EXPECT_EQ(plays, 9);
}

// The options apply over the stored settings; --run is a click on Run.
TEST_F(PracticeTest, StartOptionsApplyAfterTheSettings)
{
    WriteIni(FourKeys(113, 360, 90, 1) + "Meter=3\n");
    Open();
    CountRunClicks();
    plat::SetManualClock(2000);
    form->ApplyStartOptions(ParseCommandLine({ "--tempo=150", "--no-beep", "--meter", "5", "--run" }));
    EXPECT_EQ(form->sliderTempo->Value(), 150);
    EXPECT_EQ(form->lblTempoValue->Caption(), "150 bpm");
    EXPECT_FALSE(form->btnBeep->StateOn());
    EXPECT_EQ(form->Meter(), 5);
    EXPECT_TRUE(form->btnRun->StateOn());
    EXPECT_EQ(clicks, 1);
    TickAt(2390);
    TickAt(2400);   // 150 bpm: the first beat 400 ms after the start
    EXPECT_EQ(Shown(), 1);
    // Run already on stays on; nothing given changes nothing.
    form->ApplyStartOptions(ParseCommandLine({ "--run" }));
    form->ApplyStartOptions(ParseCommandLine({}));
    EXPECT_TRUE(form->btnRun->StateOn());
    EXPECT_EQ(clicks, 1);
    // What the user changes afterwards is saved.
    Key('B');
    form->Close();
    EXPECT_EQ(ReadIni(), FourKeys(113, 360, 150, 1) + "Meter=5\n");
}
