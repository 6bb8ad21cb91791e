#pragma once
// What the SDL backend asks of the X11 server directly, through an SDL window's own
// display connection: the pointer's position as the server knows it now (SDL's global
// mouse state is a cache that some servers never refresh during a drag), the window's
// class and its icons. Each call does nothing, or returns false, for a window that does
// not run on X11. GUI thread.

#include "platform/raster/Geometry.h"
#include "platform/raster/ImageFiles.h"
#include "platform/raster/Surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_SysWMmsg;

namespace plat::sdlx11 {

// True when window runs on X11.
bool OnX11(SDL_Window* window);

// A pointer event as the X server reports it: a motion or a button press or release, in
// the coordinates of the window it happened in and of the screen, with the buttons held
// before it (mod:: bits). SDL leaves out motions that do not change the position inside
// the window, which is every motion of a window that follows the pointer; these are not
// left out. The screen position is where the pointer was at the event, which a query made
// while the event is handled may no longer find.
struct PointerEvent {
    bool motion = false;
    Point at, screen;
    uint32_t buttons = 0;
};
// True when msg is a pointer event in window.
bool ReadPointer(const SDL_SysWMmsg* msg, SDL_Window* window, PointerEvent& out);

// The screen position of a point of window (X11 only; false elsewhere).
bool ToScreen(SDL_Window* window, Point at, Point& out);

// True when window runs on X11; the pointer's screen position is then in out.
bool PointerOnScreen(SDL_Window* window, Point& out);

// The X resource database of the display in $DISPLAY (the root window's RESOURCE_MANAGER
// as loaded by xrdb), read over a connection of its own; empty when there is none or the
// display cannot be opened.
std::string DesktopResources();

// Sets WM_CLASS: instance name and class name.
void SetClass(SDL_Window* window, const std::string& instance, const std::string& className);

// Sets _NET_WM_ICON to the images in the order given (32-bit ARGB; no alpha is opaque).
void SetIcons(SDL_Window* window, const std::vector<AlphaImage>& icons);

// Puts pixels of a surface into an X11 window with plain image requests, one a rectangle,
// each carrying exactly that rectangle's pixels. Nothing is shared with the server, so
// nothing waits for it to finish reading: the requests go out in one flush and the caller
// goes on at once.
class ImageWriter {
public:
    // Null when window does not run on X11, or when its visual does not show 0x00RRGGBB
    // words as they are (depth 24, 8-bit red, green and blue fields
    // mapped straight).
    static std::unique_ptr<ImageWriter> Create(SDL_Window* window);
    ~ImageWriter();
    ImageWriter(const ImageWriter&) = delete;
    ImageWriter& operator=(const ImageWriter&) = delete;

    // Sends the rectangles of source (clipped to it) to the same place in the window.
    void Put(const Surface& source, const std::vector<Rect>& rects);

private:
    ImageWriter() = default;
    void* FDisplay = nullptr;
    unsigned long FWindow = 0;
    void* FGc = nullptr;
};

} // namespace plat::sdlx11

namespace plat {

// The socket of the X display connection that window lives on, or -1 when SDL does not
// run on X11.
int X11ConnectionFd(SDL_Window* window);

} // namespace plat
