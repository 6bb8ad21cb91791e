#include "MetronomeTestSupport.h"

#include "framework/stdctrls/Image.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

#include <climits>

namespace {

constexpr double Upright = 1.5707963267948966;

std::string Expected(int top, int left, int tempo, int beep)
{
    return "[Form.Position]\ntop=" + std::to_string(top) + "\nleft=" + std::to_string(left)
        + "\n[Config]\nTempo=" + std::to_string(tempo) + "\nBeep=" + std::to_string(beep) + "\n";
}

} // namespace

TEST_F(MetronomeTest, OpensWithDefaultsWithoutASettingsFile)
{
    Open();
    EXPECT_EQ(form->BoundsRect(), Bounds(360, 113, 412, 443));
    EXPECT_EQ(ws.WindowBounds(form->WindowHandle()), (plat::Rect { 360, 113, 772, 556 }));
    EXPECT_TRUE(ws.IsBorderless(form->WindowHandle()));
    EXPECT_EQ(form->lblTempoValue->Caption(), "120 bpm");
    EXPECT_EQ(form->sliderTempo->Value(), 120);
    EXPECT_FALSE(form->btnBeep->StateOn());
    EXPECT_FALSE(form->btnRun->StateOn());
    EXPECT_EQ(form->NeedleAngle(), Upright);
    EXPECT_EQ(form->dispBeat->Value(), 0);
    EXPECT_FALSE(IniExists());
}

// The layout the description gives, after alignment.
// The layout itself is checked in FormLayoutTest; here the resources and the needle.
TEST_F(MetronomeTest, LayoutAndResourcesComeFromTheDescription)
{
    Open();
    // Inside the display panel, bottom to top.
    const TControl* order[] = { form->Image1, form->epMoveForm3, form->lblTempoValue,
        form->dispBeat, form->pbArea, form->btnReset };
    ASSERT_EQ(form->pnlDisplay->ControlCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form->pnlDisplay->Controls(i), order[i]) << i;

    EXPECT_EQ(form->Image1->Picture()->Width(), 308);
    EXPECT_EQ(form->Image1->Picture()->Height(), 302);
    EXPECT_EQ(form->imgLogo->Picture()->Width(), 32);
    EXPECT_NE(dynamic_cast<TIcon*>(form->imgLogo->Picture()->Graphic()), nullptr);
    EXPECT_EQ(form->wavePlay->Wave()->Size(), 1192);
    EXPECT_EQ(form->wavePlay->Options(), WavePlayOpt(wpoAsync));
    EXPECT_EQ(form->sliderTempo->UserImages(), 0x0C);
    ASSERT_NE(form->sliderTempo->GetImage(siVThumb), nullptr);
    EXPECT_EQ(form->sliderTempo->GetImage(siVThumb)->Width(), 70);
    EXPECT_EQ(form->sliderTempo->GetImage(siVThumb)->Height(), 37);
    EXPECT_EQ(form->sliderTempo->GetImage(siVRuler)->Height(), 275);

    const NeedleShape& n = form->Needle();
    const NeedleShape& e = form->NeedleErase();
    EXPECT_EQ((std::array { n.pivotX, n.pivotY, n.baseOffset, n.shaftWidth, n.shaftLength,
                  n.headWidth, n.headLength }),
        (std::array { 154, 322, 50, 10, 200, 10, 5 }));
    EXPECT_EQ((std::array { e.pivotX, e.pivotY, e.baseOffset, e.shaftWidth, e.shaftLength,
                  e.headWidth, e.headLength }),
        (std::array { 154, 322, 48, 16, 200, 35, 30 }));
    EXPECT_EQ(form->pbArea->Canvas()->Brush()->Color(), 0x808080u);
    EXPECT_EQ(form->pbArea->Canvas()->Pen()->Color(), 0x808080u);
}

TEST_F(MetronomeTest, QuitWritesTheFourSettingsInOrder)
{
    Open();
    Click(form->btnQuit);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(ReadIni(), Expected(113, 360, 120, 0));
}

TEST_F(MetronomeTest, StoredValuesComeBack)
{
    WriteIni("[Form.Position]\ntop=-500\nleft=-500\n[Config]\nTempo=96\nBeep=1\n");
    Open();
    EXPECT_EQ(form->BoundsRect(), Bounds(-500, -500, 412, 443));
    EXPECT_EQ(form->sliderTempo->Value(), 96);
    EXPECT_EQ(form->lblTempoValue->Caption(), "96 bpm");
    EXPECT_TRUE(form->btnBeep->StateOn());
    EXPECT_FALSE(form->btnRun->StateOn());
    form->SetBounds(20, 30, form->Width(), form->Height());
    form->sliderTempo->SetValue(150);
    form->btnBeep->SetStateOn(false);
    form->Close();
    EXPECT_EQ(ReadIni(), Expected(30, 20, 150, 0));
}

TEST_F(MetronomeTest, TempoTextsAsTheReadRulesSay)
{
    struct Case {
        const char* stored;
        int value;
        const char* label;
    };
    const Case cases[] = { { "0x60", 96, "96 bpm" }, { "$60", 96, "96 bpm" },
        { "fast", 120, "120 bpm" }, { "500", 208, "208 bpm" }, { "300", 208, "208 bpm" },
        { "12", 40, "40 bpm" }, { "", 120, "120 bpm" }, { "0X28", 40, "40 bpm" } };
    for (const Case& c : cases) {
        WriteIni(std::string("[Config]\nTempo=") + c.stored + "\n");
        Open();
        EXPECT_EQ(form->sliderTempo->Value(), c.value) << c.stored;
        EXPECT_EQ(form->lblTempoValue->Caption(), c.label) << c.stored;
        form->Close();
        EXPECT_NE(ReadIni().find("Tempo=" + std::to_string(c.value) + "\n"), std::string::npos)
            << c.stored;
        Application->Reset();
        Application->Initialize();
    }
}

TEST_F(MetronomeTest, AnyNonZeroBeepSwitchesItOn)
{
    const std::pair<const char*, bool> cases[] = { { "5", true }, { "-1", true }, { "0", false },
        { "on", false }, { "$10", true } };
    for (auto [stored, on] : cases) {
        WriteIni(std::string("[Config]\nBeep=") + stored + "\n");
        Open();
        EXPECT_EQ(form->btnBeep->StateOn(), on) << stored;
        form->Close();
        EXPECT_NE(ReadIni().find(std::string("Beep=") + (on ? "1" : "0") + "\n"), std::string::npos)
            << stored;
        Application->Reset();
        Application->Initialize();
    }
}

// Names match without regard to case; values are replaced in place and everything else in
// the file stays as it was.
TEST_F(MetronomeTest, OtherCasesFoundAndOtherContentKept)
{
    WriteIni("; my settings\n[config]\nTEMPO=100\nColour=blue\n\n[Other]\nkey=value\n"
             "[FORM.POSITION]\nLeft=7\nTOP=5\n");
    Open();
    EXPECT_EQ(form->sliderTempo->Value(), 100);
    EXPECT_EQ(form->Left(), 7);
    EXPECT_EQ(form->Top(), 5);
    form->Close();
    EXPECT_EQ(ReadIni(),
        "; my settings\n[config]\nTEMPO=100\nColour=blue\nBeep=0\n\n[Other]\nkey=value\n"
        "[FORM.POSITION]\nLeft=7\nTOP=5\n");
}

TEST_F(MetronomeTest, OnlyAnEdgePastThe32BitRangeIsPulledIn)
{
    WriteIni("[Form.Position]\ntop=2147483600\nleft=2147483647\n");
    Open();
    EXPECT_EQ(form->Left(), INT32_MAX - 412);
    EXPECT_EQ(form->Top(), INT32_MAX - 443);
    EXPECT_EQ(form->Width(), 412);
    EXPECT_EQ(form->Height(), 443);
}

TEST_F(MetronomeTest, WindowManagerCloseSaves)
{
    Open();
    ws.Close(form->WindowHandle());
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(ReadIni(), Expected(113, 360, 120, 0));
}

TEST_F(MetronomeTest, InterruptOrTerminateSignalSaves)
{
    Open();
    form->btnBeep->SetStateOn(true);
    ws.Quit();
    Application->ProcessMessages();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(ReadIni(), Expected(113, 360, 120, 1));
}

TEST_F(MetronomeTest, EndingWithoutCloseWritesNothing)
{
    Open();
    Application->Reset();
    EXPECT_FALSE(IniExists());
}

// A settings file that cannot be written shows its error once, and the window closes all
// the same.
TEST_F(MetronomeTest, FailedWriteShowsTheErrorOnceAndStillCloses)
{
    std::ofstream(dir / "plain-file") << "x";
    std::string bad = (dir / "plain-file" / "metronome.ini").string();
    SetSettingsFileName(bad);
    Open();
    Click(form->btnQuit);
    EXPECT_TRUE(Application->Terminated());
    auto boxes = ws.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Impossible d'écrire dans " + bad, 0), 0u) << boxes[0].text;
}

TEST_F(MetronomeTest, PerUserFolderIsCreatedOnFirstClose)
{
    std::string nested = (dir / "config" / "deeper" / "metronome.ini").string();
    SetSettingsFileName(nested);
    Open();
    form->Close();
    EXPECT_TRUE(std::filesystem::exists(nested));
    EXPECT_TRUE(ws.MessageBoxes().empty());
}

// The needle stands upright on the first paint, and a repaint draws it where it is.
TEST_F(MetronomeTest, NeedleIsPaintedUprightBeforeTheFirstRun)
{
    Open();
    TPoint p = form->pbArea->FormOffset();
    // On the axis, half-way up the shaft, and just beside the shaft.
    EXPECT_EQ(form->Framebuffer().GetColor(p.X + 154, p.Y + 170), 0x808080u);
    EXPECT_NE(form->Framebuffer().GetColor(p.X + 145, p.Y + 170), 0x808080u);
    EXPECT_EQ(form->dispBeat->FormattedValue(), "0");
}

// Ticks from the window's own timer reach the beat engine through the message loop.
TEST_F(MetronomeTest, OwnTimerDrivesTheEngine)
{
    Open(false);
    plat::SetManualClock(1000);
    Click(form->btnRun);
    ASSERT_TRUE(form->btnRun->StateOn());
    plat::SetManualClock(1600);
    for (int i = 0; i < 200 && form->dispBeat->Value() < 1; ++i) {
        CheckSynchronize(50);
        Application->ProcessMessages();
    }
    EXPECT_EQ(form->dispBeat->Value(), 1);
    EXPECT_GT(form->TickTimer()->TickCount(), 0);
}

// Left open with Run off (and Beep on) for a simulated minute, the window is woken by
// nothing: no timer sleep, no hand-over, no window timer, no sound. Run switched on
// without its click (press inside, release outside) starts the ticks as a click does, and
// switched off they stop again.
TEST_F(MetronomeTest, IdleWindowReceivesNoWakeUps)
{
    WriteIni("[Config]\nBeep=1\n");
    Open(false);
    ASSERT_TRUE(form->btnBeep->StateOn());
    const int64_t wakes = ws.WakeCalls();
    for (int i = 0; i < 600; ++i) {
        plat::AdvanceManualClock(100);
        Application->ProcessMessages();
        // Real time passes too: 20 waits of 10 ms, 20 periods of the tick timer.
        if (i % 30 == 0)
            CheckSynchronize(10);
    }
    EXPECT_EQ(ws.WakeCalls() - wakes, 0);
    EXPECT_EQ(form->TickTimer()->SleepCount(), 0);
    EXPECT_EQ(form->TickTimer()->TickCount(), 0);
    EXPECT_EQ(Application->TimerCount(), 0);
    EXPECT_EQ(plays, 0);
    EXPECT_FALSE(plat::sound::Playing());

    TPoint p = form->btnRun->FormOffset();
    ws.MouseDown(form->WindowHandle(), p.X + 10, p.Y + 10);
    ws.MouseMove(form->WindowHandle(), p.X - 40, p.Y + 10, plat::mod::Left);
    ws.MouseUp(form->WindowHandle(), p.X - 40, p.Y + 10);
    Application->ProcessMessages();
    ASSERT_TRUE(form->btnRun->StateOn());
    for (int i = 0; i < 200 && form->TickTimer()->TickCount() == 0; ++i) {
        CheckSynchronize(50);
        Application->ProcessMessages();
    }
    ASSERT_GT(form->TickTimer()->TickCount(), 0);
    // Never clicked, the run counts from clock 0: 61 s at 120 bpm are 122 whole beats.
    EXPECT_EQ(Shown(), 122);
    EXPECT_GT(ws.WakeCalls() - wakes, 0);

    Click(form->btnRun);
    ASSERT_FALSE(form->btnRun->StateOn());
    for (int i = 0; i < 5; ++i)
        CheckSynchronize(10);
    const long sleeps = form->TickTimer()->SleepCount();
    for (int i = 0; i < 10; ++i)
        CheckSynchronize(10);
    EXPECT_EQ(form->TickTimer()->SleepCount(), sleeps);
}

// Shutting down with Run on never hangs and no tick reaches a window being destroyed (the
// sanitizers would see one). A tick is usually waiting for the GUI thread at the moment.
TEST_F(MetronomeTest, FiftyOpenRunCloseCycles)
{
    int ticked = 0;
    for (int cycle = 0; cycle < 50; ++cycle) {
        Open(false);
        form->TickTimer()->SetInterval(cycle % 3);
        Click(form->btnRun);
        for (int i = 0; i < 3; ++i) {
            plat::AdvanceManualClock(10);
            CheckSynchronize(20);
            Application->ProcessMessages();
        }
        ticked += form->TickTimer()->TickCount() > 0 ? 1 : 0;
        if (cycle % 2)
            Click(form->btnQuit);
        Application->Reset();
        Application->Initialize();
        EXPECT_TRUE(Application->Forms().empty());
    }
    EXPECT_GT(ticked, 0);
}
