// The control gallery's entry point: the application, the gallery window, the message
// loop. An exception that escapes start-up or the loop is shown and the status is 1.

#include "gallery/Gallery.h"
#include "framework/controls/Application.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "platform/sdl/SdlWindowSystem.h"
#include "platform/sound/Sound.h"
#include "platform/system/Failure.h"

#include <exception>
#include <memory>

int main()
{
    std::unique_ptr<plat::WindowSystem> windows;
    int status = 0;
    try {
        Application->Initialize();
        Application->SetTitle("Control gallery");
        windows = plat::CreateSdlWindowSystem();
        if (!windows)
            throw Exception("Cannot open the display: " + plat::LastError());
        plat::InstallWindowSystem(windows.get());
        TfrmGallery::EchoStatus = true;
        TfrmGallery* gallery = nullptr;
        Application->CreateForm(gallery);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
        status = 1;
    } catch (const std::exception& e) {
        Application->ShowException(Exception(e.what()));
        status = 1;
    }
    try {
        Application->Reset();
    } catch (const Exception& e) {
        Application->ShowException(e);
        status = 1;
    }
    SetSynchronizeShutdown(true);
    plat::InstallWindowSystem(nullptr);
    plat::sound::Shutdown();
    return status;
}
