#pragma once
// The window system of the real program, on SDL2 video. Windows are real top-level X11
// windows placed exactly where asked; presenting copies the changed rectangles of the
// framebuffer into the window's software surface and shows just those. SIGINT and SIGTERM
// arrive as Quit events. Created, used and destroyed on the GUI thread, except Wake,
// which any thread may call.

#include "platform/raster/ImageFiles.h"
#include "platform/window/WindowSystem.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

// What the desktop knows the program's windows by: the class its desktop entry names
// (WM_CLASS on X11, the application id on Wayland), the instance name beside it, and its
// icons, largest first.
struct AppIdentity {
    std::string instance, className;
    std::vector<AlphaImage> icons;
};

// Starts SDL video on a driver that shows windows: X11 or Wayland, or the one the user
// names in SDL_VIDEODRIVER. Returns nullptr (with a failure reported) when no display can
// be opened.
//
// scale 1 to 4 shows every framebuffer pixel of every window as a square of that many
// screen pixels (see WindowScale.h); 0 takes the scale the desktop asks for: GDK_SCALE,
// else the X server's Xft.dpi resource (DesktopWindowScale), and 1 on Wayland, whose
// compositor scales windows itself.
//
// Typed text comes through the desktop's compose sequences (dead keys, the Compose key) or,
// for a program without text fields, key by key: that spares reading the locale's compose
// table as the display opens, several milliseconds and half a megabyte. A compose file the
// user names in XCOMPOSEFILE is read either way.
constexpr int DesktopScale = 0;
enum class TypedText { Composed, KeyByKey };
std::unique_ptr<WindowSystem> CreateSdlWindowSystem(
    AppIdentity identity = {}, int scale = 1, TypedText text = TypedText::Composed);

} // namespace plat
