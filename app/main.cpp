// The metronome's entry point: the application, its one window, the message loop. An
// exception that escapes start-up or the loop is shown and the program ends with status
// 1; a normal end is status 0. Without a display the message goes to standard error, as
// one line. Options set the window up after it has read its settings; the window is
// scaled as --scale says, else as the desktop asks; --help and --version print and end
// with 0; arguments it does not take end with 2.

#include "app/CommandLine.h"
#include "app/formMetronome.h"
#include "framework/controls/Application.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "platform/system/Failure.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "platform/sound/Sound.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The program's icons as PNG files, largest first (built from resources/icons).
std::vector<std::span<const uint8_t>> MetronomeIconFiles();

namespace {

// How the desktop knows the window: by the class its desktop entry names, and by the
// program's icons.
plat::AppIdentity Identity()
{
    plat::AppIdentity id;
    id.instance = "metronome";
    id.className = METRONOME_DESKTOP_ID;
    for (std::span<const uint8_t> file : MetronomeIconFiles())
        if (auto image = plat::ReadPng(file))
            id.icons.push_back(std::move(*image));
    return id;
}

} // namespace

int main(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + (argc > 0), argv + argc));
    if (line.action != CommandLine::clRun) {
        std::fputs(line.text.c_str(), line.action == CommandLine::clError ? stderr : stdout);
        return line.action == CommandLine::clError ? 2 : 0;
    }
    std::unique_ptr<plat::WindowSystem> windows;
    int status = 0;
    try {
        Application->Initialize();
        // The name of the desktop entry, which the desktop shows for the window.
        Application->SetTitle("Kelvo Music Metronome");
        // The window has no text field: its keys need no compose sequences.
        windows = plat::CreateSdlWindowSystem(Identity(), line.scale ? line.scale : plat::DesktopScale,
            plat::TypedText::KeyByKey);
        if (!windows)
            throw Exception("No display could be opened (" + plat::LastError() + ")");
        plat::InstallWindowSystem(windows.get());
        Application->CreateForm(frmMetronome);
        frmMetronome->ApplyStartOptions(line);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
        status = 1;
    } catch (const std::exception& e) {
        Application->ShowException(Exception(e.what()));
        status = 1;
    }
    // The window goes while its window system still exists; its timer stops first.
    try {
        Application->Reset();
    } catch (const Exception& e) {
        Application->ShowException(e);
        status = 1;
    }
    frmMetronome = nullptr;
    SetSynchronizeShutdown(true);
    plat::InstallWindowSystem(nullptr);
    plat::sound::Shutdown();
    return status;
}
