#pragma once
// The main window on the headless window system with a manual clock, a manual sound output
// and a settings file in a fresh temporary folder. The window's own timer is stopped unless
// a test asks for it, so that ticks come only when the test calls the tick handler.

#include "app/CThreadedTimer.h"
#include "app/SettingsFile.h"
#include "app/formMetronome.h"
#include "effectlib/Bmslider.h"
#include "effectlib/EPCtrls.h"
#include "effectlib/EPLabels.h"
#include "effectlib/Wavctrl.h"
#include "effectlib/mediabtn.h"
#include "framework/controls/Application.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/graphics/Icon.h"
#include "framework/stdctrls/Image.h"
#include "framework/core/IniFile.h"
#include "framework/stdctrls/PaintBox.h"
#include "framework/core/Thread.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"
#include "rackctls/RackCtls.h"
#include "support/HeadlessFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

class MetronomeTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        plat::sound::testing::UseManualOutput(1000, 10);
        Application->Initialize();
        SetSynchronizeShutdown(false);
        std::random_device rd;
        dir = std::filesystem::temp_directory_path()
            / ("metronome-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(dir);
        ini = (dir / "metronome.ini").string();
        SetSettingsFileName(ini);
    }

    void TearDown() override
    {
        HeadlessTest::TearDown();
        SetSettingsFileName("");
        plat::sound::Stop();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Creates and shows the window, as the program does; with stopTimer its ticks come
    // only from the test.
    TfrmMetronome* Open(bool stopTimer = true)
    {
        Application->CreateForm(frmMetronome);
        form = frmMetronome;
        if (stopTimer)
            form->TickTimer()->Stop();
        form->Show();
        Application->ProcessMessages();
        plays = 0;
        form->wavePlay->BeforePlay = TNotifyEvent::FromFunction([this](TObject*) { ++plays; });
        return form;
    }

    // One tick of the beat engine at clock value ms.
    void TickAt(int32_t ms)
    {
        plat::SetManualClock(ms);
        form->timerTimer(nullptr);
    }

    // A left click in the middle of a control, through the window system.
    void Click(TControl* c)
    {
        TPoint p = c->FormOffset();
        ws.Click(form->WindowHandle(), p.X + c->Width() / 2, p.Y + c->Height() / 2);
        Application->ProcessMessages();
    }

    void WriteIni(const std::string& text) { std::ofstream(ini, std::ios::binary) << text; }
    std::string ReadIni() const
    {
        std::ifstream in(ini, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool IniExists() const { return std::filesystem::exists(ini); }

    int Shown() const { return int(form->dispBeat->Value()); }
    bool LampLit() const { return form->pnlFlash->Color() == clLime; }

    std::filesystem::path dir;
    std::string ini;
    TfrmMetronome* form = nullptr;
    int plays = 0;
};
