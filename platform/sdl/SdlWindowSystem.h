#pragma once
// The window system of the real program, on SDL2 video. Windows are real top-level X11
// windows placed exactly where asked; presenting copies the changed rectangles of the
// framebuffer into the window's software surface and shows just those. SIGINT and SIGTERM
// arrive as Quit events. Created, used and destroyed on the GUI thread, except Wake,
// which any thread may call.

#include "platform/window/WindowSystem.h"

#include <memory>

namespace plat {

// Starts SDL video. Returns nullptr (with a failure reported) when there is no display.
std::unique_ptr<WindowSystem> CreateSdlWindowSystem();

} // namespace plat
