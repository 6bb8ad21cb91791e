#pragma once
// The window-system interface the framework runs on. Two backends implement it: SDL2 for
// the real program (platform/sdl) and a headless one for tests (platform/headless). The
// framework only ever talks to the installed WindowSystem and never knows which it is.
//
// Windows are top-level only; each shows a framebuffer surface that the framework
// composes and hands over with Present, naming the part that changed. Events are read on
// the GUI thread with WaitEvent; Wake may be called from any thread to end a wait early
// (used to hand work to the GUI thread and for timers).
//
// A backend may show every framebuffer pixel as a square of several screen pixels, for a
// high-density screen (see WindowScale.h). Window sizes, window coordinates in events,
// expose areas, drag-area query points and presented areas are then framebuffer pixels;
// window positions (bounds' left and top, Moved), CursorPos and ScreenBounds stay screen
// pixels, so a window dragged by the pointer follows it exactly.

#include "platform/raster/Geometry.h"
#include "platform/raster/Region.h"
#include "platform/raster/Surface.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plat {

using WindowId = uint32_t;   // 0 is no window

enum class MouseButton { Left, Right, Middle };
enum class Cursor { Arrow, Hand, IBeam, Wait, Cross, SizeAll, SizeNS, SizeWE, No };
enum class MessageBoxKind { Info, Warning, Error, Question };

// Modifier bits of key and mouse events.
namespace mod {
constexpr uint32_t Shift = 1, Alt = 2, Ctrl = 4, Left = 8, Right = 16, Middle = 32;
}

struct WindowParams {
    Rect bounds;              // outer bounds on the screen
    std::string title;
    bool borderless = false;
};

struct Event {
    enum class Type {
        None,
        MouseMove, MouseDown, MouseUp, MouseWheel, MouseLeave,
        KeyDown, KeyUp, Char,
        Close,        // the window manager asks the window to close
        Expose,       // part of the window must be presented again (area, window coords)
        FocusIn, FocusOut,
        Moved,        // the window manager moved the window (x, y: new position)
        Quit,         // SIGINT / SIGTERM or the session ends
        Wake,         // Wake() was called
    };
    Type type = Type::None;
    WindowId window = 0;
    int32_t x = 0, y = 0;      // mouse position in window coordinates; Moved: position
    MouseButton button = MouseButton::Left;
    int32_t clicks = 1;        // 2 for the second press of a double click
    int32_t wheel = 0;         // MouseWheel: 120 per notch, positive away from the user
    uint32_t mods = 0;         // mod:: bits, including the buttons held
    int32_t key = 0;           // virtual key code (vk::)
    uint32_t ch = 0;           // Char: the Unicode character
    bool repeat = false;
    Rect area;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual WindowId CreateWindow(const WindowParams& params) = 0;
    virtual void DestroyWindow(WindowId id) = 0;
    virtual void ShowWindow(WindowId id, bool visible) = 0;
    virtual void SetWindowBounds(WindowId id, const Rect& bounds) = 0;
    virtual Rect WindowBounds(WindowId id) const = 0;
    virtual void SetWindowTitle(WindowId id, const std::string& title) = 0;
    // Gives the window the window manager's frame, or takes it away.
    virtual void SetWindowBorderless(WindowId id, bool borderless) = 0;
    // Shows the framebuffer's pixels inside dirty (window coordinates).
    virtual void Present(WindowId id, const Surface& framebuffer, const Region& dirty) = 0;

    // Waits for the next event; timeoutMs < 0 waits without limit. False on time-out.
    virtual bool WaitEvent(Event& out, int32_t timeoutMs) = 0;
    virtual void Wake() = 0;   // thread-safe

    // Where a client cannot place its own windows (a Wayland session), a press on a drag
    // area is handed to the window system's interactive move; query answers, for a point
    // in window coordinates, whether it lies on one. Elsewhere the program moves its
    // windows itself and the query is not used. An empty query removes it.
    virtual void SetDragAreaQuery(WindowId, std::function<bool(Point)>) {}

    virtual void SetCursor(Cursor c) = 0;
    virtual Point CursorPos() const = 0;   // screen coordinates
    virtual void CaptureMouse(WindowId id, bool capture) = 0;
    // Blocks until the user answers; returns 1 (OK/Yes) or 0 (No/closed).
    virtual int MessageBox(WindowId owner, const std::string& title, const std::string& text,
        MessageBoxKind kind) = 0;
    virtual Rect ScreenBounds() const = 0;
};

// The installed window system (owned by the caller of Install). Installing replaces any
// previous one; nullptr uninstalls.
void InstallWindowSystem(WindowSystem* ws);
WindowSystem* CurrentWindowSystem();

// Virtual key codes, as the framework's.
namespace vk {
constexpr int32_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                  Menu = 0x12, Pause = 0x13, Escape = 0x1B, Space = 0x20, Prior = 0x21,
                  Next = 0x22, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27,
                  Down = 0x28, Insert = 0x2D, Delete = 0x2E, F1 = 0x70;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
}

} // namespace plat
