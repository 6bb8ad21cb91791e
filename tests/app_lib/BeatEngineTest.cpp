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
    ASSERT_EQ(Shown(), 3);
    ASSERT_EQ(plays, 3);
    for (int32_t t = 2510; t <= 2600; t += 10)
        TickAt(t);
    ASSERT_FALSE(LampLit());
    TickAt(4500);   // four periods late
    EXPECT_EQ(Shown(), 7);
    EXPECT_EQ(plays, 4);
    EXPECT_TRUE(LampLit());
    TickAt(4510);
    EXPECT_EQ(Shown(), 7);
    EXPECT_EQ(plays, 4);
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

TEST_F(BeatEngineTest, BeepOnPlaysEveryBeatOnceAndBeepOffNothing)
{
    Open();
    StartRun(1000);
    for (int32_t t = 1010; t <= 3000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 4);
    EXPECT_EQ(plays, 0);
    form->btnBeep->SetStateOn(true);
    for (int32_t t = 3010; t <= 5000; t += 10)
        TickAt(t);
    EXPECT_EQ(Shown(), 8);
    EXPECT_EQ(plays, 4);
}

// The sound of beat k is placed at runStart + k * 60000 / tempo, however late the tick that
// noticed the beat.
TEST_F(BeatEngineTest, BeatTimesFollowTheGridWhateverTheLateness)
{
    Open();
    form->btnBeep->SetStateOn(true);
    StartRun(1000);
    const int32_t lateness[] = { 0, 9, 3, 27, 1, 140, 499, 12 };
    int32_t expectedBeat = 0;
    for (int k = 1; k <= 8; ++k) {
        int32_t t = 1000 + 500 * k + lateness[k - 1];
        TickAt(t);
        expectedBeat = (t - 1000) / 500;
        EXPECT_EQ(form->LastBeatTime(), 1000.0 + 500.0 * expectedBeat) << k;
    }
    // At 208 bpm the grid does not fall on whole milliseconds.
    form->sliderTempo->SetValue(208);
    TickAt(6000);   // the restart: the run begins again at 6000
    TickAt(6000 + 289);
    EXPECT_DOUBLE_EQ(form->LastBeatTime(), 6000.0 + 60000.0 / 208);
    TickAt(6000 + 3 * 289 + 7);
    EXPECT_DOUBLE_EQ(form->LastBeatTime(), 6000.0 + 3 * 60000.0 / 208);
}

// Through the sound service: with one sample per millisecond the clicks start exactly one
// period apart although the ticks that start them come at uneven times.
TEST_F(BeatEngineTest, ClicksLandOnTheirSamples)
{
    Open();
    form->btnBeep->SetStateOn(true);
    plat::sound::testing::UseManualOutput(1000, 10);
    StartRun(1000);
    plat::sound::testing::RenderNext(nullptr);   // the output's clock starts at 1000 ms
    const int32_t lateness[] = { 3, 24, 0, 17, 9, 28 };
    size_t k = 0;
    for (int32_t t = 1001; t < 4600; ++t) {
        plat::SetManualClock(t);
        if (t % 10 == 0)
            plat::sound::testing::RenderNext(nullptr);
        if (k < 6 && t == 1500 + 500 * int32_t(k) + lateness[k]) {
            form->timerTimer(nullptr);
            ++k;
        }
    }
    std::vector<int64_t> starts = plat::sound::testing::StartedAt();
    ASSERT_EQ(starts.size(), 6u);
    for (size_t i = 0; i < starts.size(); ++i)
        EXPECT_EQ(starts[i], 500 * int64_t(i + 1) + int64_t(plat::sound::LatencyMs())) << i;
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
