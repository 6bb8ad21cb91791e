#include "MetronomeTestSupport.h"

#include <cmath>

namespace {

constexpr double Upright = 1.5707963267948966;

class BeatEngineTest : public MetronomeTest {
protected:
    // Run switched on by a click at clock value ms.
    void StartRun(int32_t ms)
    {
        plat::SetManualClock(ms);
        Click(form->btnRun);
        ASSERT_TRUE(form->btnRun->StateOn());
    }
};

} // namespace

TEST_F(BeatEngineTest, StoppedTicksChangeNothing)
{
    Open();
    for (int32_t t = 1000; t < 3000; t += 10)
        TickAt(t);
    EXPECT_EQ(form->NeedleAngle(), Upright);
    EXPECT_EQ(Shown(), 0);
    EXPECT_FALSE(LampLit());
    EXPECT_EQ(plays, 0);
}

// At 120 bpm the first tick at or after 500 ms signals beat 1, the first at or after 1000 ms
// beat 2; switching on signals nothing.
TEST_F(BeatEngineTest, FirstBeatsAt120Bpm)
{
    Open();
    StartRun(1000);
    TickAt(1000);
    EXPECT_EQ(Shown(), 0);
    EXPECT_FALSE(LampLit());
    EXPECT_NEAR(form->NeedleAngle(), Upright, 1e-12);
    TickAt(1490);
    EXPECT_EQ(Shown(), 0);
    TickAt(1500);
    EXPECT_EQ(Shown(), 1);
    EXPECT_TRUE(LampLit());
    TickAt(1990);
    EXPECT_EQ(Shown(), 1);
    TickAt(2000);
    EXPECT_EQ(Shown(), 2);
}

// The needle swings 30 degrees to either side, one full cycle per beat: a quarter beat
// after the start it leans fully left (larger angles), three quarters right.
TEST_F(BeatEngineTest, NeedleFollowsTheSine)
{
    Open();
    StartRun(1000);
    TickAt(1125);
    EXPECT_NEAR(form->NeedleAngle(), Upright + 0.5235987755982988, 1e-9);
    TickAt(1375);
    EXPECT_NEAR(form->NeedleAngle(), Upright - 0.5235987755982988, 1e-9);
    TickAt(1250);
    EXPECT_NEAR(form->NeedleAngle(), Upright, 1e-9);
}

TEST_F(BeatEngineTest, LateTickSignalsOneBeatAndJumpsTheCount)
{
    Open();
    form->btnBeep->SetStateOn(true);
    StartRun(1000);
    for (int32_t t = 1010; t <= 2500; t += 10)
        TickAt(t);
    // Each click is handed over a beat ahead: the first on the run's first tick, then one
    // on every beat for the next.
    ASSERT_EQ(Shown(), 3);
    ASSERT_EQ(plays, 4);
    for (int32_t t = 2510; t <= 2600; t += 10)
        TickAt(t);
    ASSERT_FALSE(LampLit());
    TickAt(4500);   // four periods late
    EXPECT_EQ(Shown(), 7);
    EXPECT_EQ(plays, 5);
    EXPECT_EQ(form->QueuedBeat(), 8);
    EXPECT_TRUE(LampLit());
    TickAt(4510);
    EXPECT_EQ(Shown(), 7);
    EXPECT_EQ(plays, 5);
}

TEST_F(BeatEngineTest, LampStaysLitForTenTicks)
{
    Open();
    StartRun(1000);
    TickAt(1500);
    ASSERT_TRUE(LampLit());
    for (int i = 1; i <= 9; ++i) {
        TickAt(1500 + 10 * i);
        EXPECT_TRUE(LampLit()) << i;
    }
    TickAt(1600);
    EXPECT_FALSE(LampLit());
    EXPECT_EQ(form->pnlFlash->Color(), clGreen);
    TickAt(1610);
    EXPECT_FALSE(LampLit());
}

TEST_F(BeatEngineTest, ResetMakesTheCurrentBeatTheNewZero)
{
    Open();
    StartRun(1000);
    for (int32_t t = 1010; t <= 7000; t += 10)
        TickAt(t);
    ASSERT_EQ(Shown(), 12);
    plat::SetManualClock(7010);
    Click(form->btnReset);
    EXPECT_EQ(Shown(), 0);
    EXPECT_TRUE(form->btnRun->StateOn());
    TickAt(7490);
    EXPECT_EQ(Shown(), 0);
    TickAt(7500);
    EXPECT_EQ(Shown(), 1);
}

// A tempo change during a run freezes the needle and the lamp countdown until more than
// 500 ms have passed since the last change; the run then restarts and counts from 1.
TEST_F(BeatEngineTest, TempoChangeFreezesThenRestarts)
{
    Open();
    StartRun(1000);
    for (int32_t t = 1010; t <= 2000; t += 10)
        TickAt(t);
    ASSERT_EQ(Shown(), 2);
    ASSERT_TRUE(LampLit());
    double frozen = form->NeedleAngle();

    plat::SetManualClock(2005);
    form->sliderTempo->SetValue(96);
    EXPECT_EQ(form->lblTempoValue->Caption(), "96 bpm");
    for (int32_t t = 2010; t <= 2300; t += 5)
        TickAt(t);
    EXPECT_EQ(form->NeedleAngle(), frozen);
    EXPECT_TRUE(LampLit());
    EXPECT_EQ(Shown(), 2);

    // Each change re-arms the delay.
    plat::SetManualClock(2300);
    form->sliderTempo->SetValue(100);
    form->sliderTempo->SetValue(96);
    TickAt(2800);
    EXPECT_EQ(form->NeedleAngle(), frozen);
    TickAt(2801);   // more than 500 ms after the last change: restart, nothing moves
    EXPECT_EQ(form->NeedleAngle(), frozen);
    EXPECT_EQ(Shown(), 2);
    EXPECT_TRUE(LampLit());
    TickAt(2811);
    EXPECT_NE(form->NeedleAngle(), frozen);
    TickAt(3425);   // 96 bpm: one period is 625 ms
    EXPECT_EQ(Shown(), 2);
    TickAt(3426);
    EXPECT_EQ(Shown(), 1);
}

TEST_F(BeatEngineTest, TempoChangeWhileStoppedOnlyRewritesTheLabel)
{
    Open();
    form->sliderTempo->SetValue(150);
    EXPECT_EQ(form->lblTempoValue->Caption(), "150 bpm");
    StartRun(2000);
    TickAt(2010);
    EXPECT_NE(form->NeedleAngle(), Upright);
    TickAt(2400);   // 150 bpm: one period is 400 ms
    EXPECT_EQ(Shown(), 1);
}

// Switched on by a press inside and a release outside, Run toggles without its click: the
// run is not reset, and the first tick signals one beat covering every whole period since
// the previous start.
TEST_F(BeatEngineTest, RunSwitchedOnWithoutItsClick)
{
    Open();
    StartRun(1000);
    for (int32_t t = 1010; t <= 2500; t += 10)
        TickAt(t);
    ASSERT_EQ(Shown(), 3);
    plat::SetManualClock(2600);
    Click(form->btnRun);   // off; the click clears the beat state
    ASSERT_FALSE(form->btnRun->StateOn());

    plat::SetManualClock(5000);
    TPoint p = form->btnRun->FormOffset();
    ws.MouseDown(form->WindowHandle(), p.X + 10, p.Y + 10);
    ws.MouseMove(form->WindowHandle(), p.X - 40, p.Y + 10, plat::mod::Left);
    ws.MouseUp(form->WindowHandle(), p.X - 40, p.Y + 10);
    Application->ProcessMessages();
    ASSERT_TRUE(form->btnRun->StateOn());

    TickAt(5010);   // (5010 - 2600) ms is 4 whole periods
    EXPECT_EQ(Shown(), 4);
    EXPECT_TRUE(LampLit());
    TickAt(5090);
    EXPECT_EQ(Shown(), 4);
    TickAt(5100);   // (5100 - 2600) ms is 5 whole periods
    EXPECT_EQ(Shown(), 5);
}

TEST_F(BeatEngineTest, BeepOnPlacesEveryBeatOnceAndBeepOffNothing)
{
    Open();
    StartRun(1000);
    for (int32_t t = 1010; t <= 3000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 4);
    EXPECT_EQ(plays, 0);
    EXPECT_FALSE(form->SoundGridSet());
    form->btnBeep->SetStateOn(true);
    TickAt(3010);   // the grid is anchored on the run's start; beat 5 is placed at once
    EXPECT_TRUE(form->SoundGridSet());
    EXPECT_EQ(form->QueuedBeat(), 5);
    for (int32_t t = 3020; t <= 5000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 8);
    EXPECT_EQ(plays, 5);
    EXPECT_EQ(form->QueuedBeat(), 9);
    form->btnBeep->SetStateOn(false);
    TickAt(5010);
    EXPECT_FALSE(form->SoundGridSet());
    EXPECT_FALSE(plat::sound::testing::OutputOpen());
    for (int32_t t = 5020; t <= 6000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 10);
    EXPECT_EQ(plays, 5);
}

namespace {

// A sound device of `rate` samples per second whose clock runs `ppm` off the program
// clock, started at program-clock time t0. It reports its heard position as a sound
// server does and keeps the output written 40 ms ahead of what is heard.
struct SimulatedDevice {
    int rate;
    double ppm;
    double t0;

    double Heard(double t) const { return (t - t0) * rate / 1000.0 * (1.0 + ppm * 1e-6); }
    // The program-clock time at which sample s is heard.
    double HeardAt(double s) const { return t0 + s * 1000.0 / rate / (1.0 + ppm * 1e-6); }
    void Serve(double t) const
    {
        plat::sound::testing::ReportTiming(t, Heard(t));
        const int ahead = rate * 40 / 1000;
        while (plat::sound::testing::MixedFrames() < int64_t(Heard(t)) + ahead)
            plat::sound::testing::RenderAt(nullptr, rate / 100, t);
    }
};

} // namespace

// Through the sound service: every click starts exactly on anchor + round(k * 60 * rate /
// tempo), whenever the ticks that decide it come.
TEST_F(BeatEngineTest, ClicksLandOnTheirGridSamples)
{
    constexpr int kRate = 48000;
    plat::sound::testing::UseManualOutput(kRate, 480);
    Open();
    form->btnBeep->SetStateOn(true);
    form->sliderTempo->SetValue(208);
    StartRun(1000);
    const SimulatedDevice device { kRate, 0.0, 1000.0 };
    const int32_t lateness[] = { 3, 24, 0, 17, 9, 28, 1, 6 };
    size_t k = 0;
    TickAt(1000);
    for (int32_t t = 1000; t < 1000 + 9 * 289; ++t) {
        if (t % 10 == 0)
            device.Serve(t);
        const int32_t due = 1000 + int32_t((k + 1) * 60000 / 208) + 1 + lateness[k % 8];
        if (t == due) {
            TickAt(t);
            ++k;
        }
    }
    std::vector<int64_t> starts = plat::sound::testing::StartedAt();
    ASSERT_GE(starts.size(), 8u);
    for (size_t i = 0; i < starts.size(); ++i) {
        const int64_t beat = int64_t(i) + 1;
        EXPECT_EQ(starts[i], (2 * beat * 60 * kRate + 208) / (2 * 208)) << "beat " << beat;
    }
    EXPECT_EQ(plat::sound::SkippedBeats(), 0);
}

// A sound card's clock is not the program's: over 30 minutes, 200 ppm makes 360 ms. The
// lamp and the count follow the sound's clock, so they change within 5 ms of each click.
// Every tenth beat is looked at closely: the tick on the beat before places its click,
// then ticks 4 ms before and after the click see the count change.
TEST_F(BeatEngineTest, PictureFollowsTheSoundOverHalfAnHour)
{
    constexpr int kRate = 8000;
    constexpr int kBeats = 30 * 60 * 2;   // 120 bpm
    for (double ppm : { 200.0, -200.0 }) {
        plat::sound::testing::UseManualOutput(kRate, 80);
        Open();
        form->btnBeep->SetStateOn(true);
        StartRun(1000);
        const SimulatedDevice device { kRate, ppm, 1000.0 };
        TickAt(1000);
        double served = 1000.0;
        auto serveTo = [&](double t) {
            for (; served + 10.0 <= t; served += 10.0)
                device.Serve(served + 10.0);
        };
        auto clickOf = [&](int64_t k) { return device.HeardAt(double(k * kRate / 2)); };
        for (int64_t k = 10; k <= kBeats; k += 10) {
            const int32_t placing = int32_t(std::ceil(clickOf(k - 1))) + 4;
            const int32_t before = int32_t(std::floor(clickOf(k))) - 4;
            const int32_t after = int32_t(std::ceil(clickOf(k))) + 4;
            serveTo(placing);
            TickAt(placing);
            ASSERT_EQ(Shown(), k - 1) << ppm << " ppm, beat " << k - 1;
            serveTo(before);
            TickAt(before);
            ASSERT_EQ(Shown(), k - 1) << ppm << " ppm, beat " << k;
            serveTo(after);
            TickAt(after);
            ASSERT_EQ(Shown(), k) << ppm << " ppm, beat " << k;
            ASSERT_TRUE(LampLit());
        }
        // The clicks placed (the first and every tenth beat, and the one after each of
        // those) lie on the device's own samples, exactly half a second of them apart.
        std::vector<int64_t> starts = plat::sound::testing::StartedAt();
        ASSERT_GE(starts.size(), 2u * kBeats / 10);
        for (int64_t start : starts)
            ASSERT_EQ(start % (kRate / 2), 0) << ppm << " ppm, sample " << start;
        EXPECT_EQ(starts.back(), int64_t(kBeats) * kRate / 2);
        EXPECT_EQ(plat::sound::SkippedBeats(), 0);
        Application->Reset();
    }
}

// Beep off and on again late in a run: the picture goes on from where the sound's clock
// had taken it, and the new grid lies where the picture's beats are.
TEST_F(BeatEngineTest, BeepOffAndOnKeepsPictureAndSoundTogether)
{
    constexpr int kRate = 8000;
    plat::sound::testing::UseManualOutput(kRate, 80);
    Open();
    form->btnBeep->SetStateOn(true);
    StartRun(1000);
    const SimulatedDevice device { kRate, 200.0, 1000.0 };
    TickAt(1000);
    // Ten minutes: the device is 120 ms ahead of the program clock by then.
    for (int32_t t = 1000; t <= 601000; t += 100)
        device.Serve(t);
    TickAt(601000);
    const int shown = Shown();
    EXPECT_EQ(shown, int(std::floor((device.Heard(601000) / kRate) * 2)));
    form->btnBeep->SetStateOn(false);
    TickAt(601010);
    EXPECT_FALSE(plat::sound::testing::OutputOpen());
    TickAt(601100);
    EXPECT_EQ(Shown(), shown); // no jump back by the 120 ms
    form->btnBeep->SetStateOn(true);
    plat::sound::testing::UseManualOutput(kRate, 80); // the stream opens anew
    const SimulatedDevice second { kRate, 200.0, 601200.0 };
    // The stream's position at the program's 601200 ms is its sample 0, which the picture
    // places at (601200 - 1000) ms * (1 + 200e-6) of the run.
    const double runMsAtOpen = device.Heard(601200) * 1000.0 / kRate;
    second.Serve(601200);
    TickAt(601200);
    EXPECT_EQ(Shown(), shown);
    ASSERT_GE(form->QueuedBeat(), shown + 1);
    const int64_t k = form->QueuedBeat();
    const double click = second.HeardAt((k * 500.0 - runMsAtOpen) * kRate / 1000.0);
    for (int32_t t = 601210; t < int32_t(click) + 50; t += 10)
        second.Serve(t);
    TickAt(int32_t(std::floor(click)) - 4);
    EXPECT_EQ(Shown(), k - 1);
    TickAt(int32_t(std::ceil(click)) + 4);
    EXPECT_EQ(Shown(), k);
    ASSERT_EQ(plat::sound::testing::StartedAt().size(), 1u);
    EXPECT_NEAR(double(plat::sound::testing::StartedAt()[0]),
        (k * 500.0 - runMsAtOpen) * kRate / 1000.0, 1.0);
}

// Clock values wrap after 24.8 days; a run that starts at a negative clock value restarts
// after a tempo change all the same, and a run across the wrap counts on.
TEST_F(BeatEngineTest, NegativeAndWrappingClockValues)
{
    Open();
    StartRun(-2000000000);
    TickAt(-2000000000 + 500);
    ASSERT_EQ(Shown(), 1);
    TickAt(-2000000000 + 1000);
    ASSERT_EQ(Shown(), 2);
    plat::SetManualClock(-1999999000);
    form->sliderTempo->SetValue(60);
    const double frozen = form->NeedleAngle();
    TickAt(-1999999000 + 500);
    EXPECT_EQ(form->NeedleAngle(), frozen);
    TickAt(-1999999000 + 501);   // the restart: the run begins again here
    TickAt(-1999998499 + 999);
    EXPECT_EQ(Shown(), 2);   // still the old run's count
    TickAt(-1999998499 + 1000);
    EXPECT_EQ(Shown(), 1);   // the new run's first beat
    TickAt(-1999998499 + 3000);
    EXPECT_EQ(Shown(), 3);

    const int32_t nearWrap = INT32_MAX - 200;
    plat::SetManualClock(nearWrap);
    Click(form->btnRun);   // off
    Click(form->btnRun);   // on again: a fresh run
    ASSERT_TRUE(form->btnRun->StateOn());
    TickAt(int32_t(uint32_t(nearWrap) + 999u));
    EXPECT_EQ(Shown(), 3);   // unchanged, the count of the old run
    TickAt(int32_t(uint32_t(nearWrap) + 1000u));   // past the wrap: negative now
    EXPECT_EQ(Shown(), 1);
    TickAt(int32_t(uint32_t(nearWrap) + 2000u));
    EXPECT_EQ(Shown(), 2);
}
