// The panel example as a desktop program: the SDL window system shows the form in a real
// window; the message loop runs until the window is closed.

#include "Panel.h"

#include <framework/controls/Application.h>
#include <framework/core/SysUtils.h>
#include <framework/core/Thread.h>
#include <platform/sdl/SdlWindowSystem.h>
#include <platform/sound/Sound.h>
#include <platform/system/Failure.h>

#include <memory>

int main()
{
    std::unique_ptr<plat::WindowSystem> windows;
    int status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("Panel example");
        windows = plat::CreateSdlWindowSystem();
        if (!windows)
            throw Exception("Cannot open the display: " + plat::LastError());
        plat::InstallWindowSystem(windows.get());
        TfrmPanel* panel = nullptr;
        Application->CreateForm(panel);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
        status = 1;
    }
    // Forms go while their window system still exists.
    Application->Reset();
    SetSynchronizeShutdown(true);
    plat::InstallWindowSystem(nullptr);
    plat::sound::Shutdown();
    return status;
}
