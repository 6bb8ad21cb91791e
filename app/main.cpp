// The metronome's entry point: the application, its one window, the message loop. An
// exception that escapes start-up or the loop is shown and the program ends with status
// 1; a normal end is status 0. Without a display the message goes to standard error.

#include "app/formMetronome.h"
#include "framework/controls/Application.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "platform/system/Failure.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "platform/sound/Sound.h"

#include <exception>
#include <memory>

int main()
{
    std::unique_ptr<plat::WindowSystem> windows;
    int status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("Metronome");
        windows = plat::CreateSdlWindowSystem();
        if (!windows)
            throw Exception("Cannot open the display: " + plat::LastError());
        plat::InstallWindowSystem(windows.get());
        Application->CreateForm(frmMetronome);
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
