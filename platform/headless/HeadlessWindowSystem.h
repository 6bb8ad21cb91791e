#pragma once
// The window system of the tests: windows are records (bounds, visibility, title) with a
// copy of what was presented, input is synthetic and queued by the test, message boxes
// are recorded and answered at once. Nothing here ever blocks without limit: a wait with
// no time limit on an empty queue returns at once, so a headless loop cannot hang.
//
// At a scale above 1 every framebuffer pixel shows as a scale x scale block, as on a
// high-density screen (see WindowScale.h): what the window shows, synthetic pointer
// positions, exposed areas and drag-area points are then in the window's screen pixels.
//
// Keys go to the key window: the first window shown, or the one named with Focus.
// Input may be posted and Wake called from any thread; everything else (Present, the
// window calls, the read-back helpers) belongs to the GUI thread of the test.

#include "platform/window/WindowSystem.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace plat {

class HeadlessWindowSystem : public WindowSystem {
public:
    struct MessageBoxRecord {
        WindowId owner = 0;
        std::string title, text;
        MessageBoxKind kind = MessageBoxKind::Info;
    };

    explicit HeadlessWindowSystem(int scale = 1);
    int Scale() const { return FScale; }

    WindowId CreateWindow(const WindowParams& params) override;
    void DestroyWindow(WindowId id) override;
    void ShowWindow(WindowId id, bool visible) override;
    void SetWindowBounds(WindowId id, const Rect& bounds) override;
    Rect WindowBounds(WindowId id) const override;
    void SetWindowTitle(WindowId id, const std::string& title) override;
    void SetWindowBorderless(WindowId id, bool borderless) override;
    void Present(WindowId id, const Surface& framebuffer, const Region& dirty) override;

    // Pops the next event. A positive timeout waits up to that many real milliseconds for
    // input or Wake; 0 and negative timeouts never wait.
    bool WaitEvent(Event& out, int32_t timeoutMs) override;
    void Wake() override;

    void SetDragAreaQuery(WindowId id, std::function<bool(Point)> query) override;
    void SetCursor(Cursor c) override;
    Point CursorPos() const override;
    void CaptureMouse(WindowId id, bool capture) override;
    int MessageBox(WindowId owner, const std::string& title, const std::string& text,
        MessageBoxKind kind) override;
    Rect ScreenBounds() const override { return { 0, 0, 1920, 1080 }; }

    // Synthetic input. Positions are in window coordinates (screen pixels of the window);
    // the held mouse buttons are tracked and added to mods as the real backends do.
    void MouseMove(WindowId id, int32_t x, int32_t y, uint32_t mods = 0);
    void MouseDown(WindowId id, int32_t x, int32_t y, MouseButton b = MouseButton::Left,
        int32_t clicks = 1, uint32_t mods = 0);
    void MouseUp(WindowId id, int32_t x, int32_t y, MouseButton b = MouseButton::Left,
        uint32_t mods = 0);
    void Click(WindowId id, int32_t x, int32_t y, MouseButton b = MouseButton::Left);
    void DoubleClick(WindowId id, int32_t x, int32_t y);   // press, release, press (2), release
    void MouseWheel(WindowId id, int32_t x, int32_t y, int32_t delta, uint32_t mods = 0);
    void MouseLeave(WindowId id);
    void KeyDown(int32_t key, uint32_t mods = 0, bool repeat = false);
    void KeyUp(int32_t key, uint32_t mods = 0);
    void Char(uint32_t ch);
    void Close(WindowId id);
    void Expose(WindowId id, const Rect& area);
    void Focus(WindowId id);   // FocusOut to the old key window, FocusIn to the new one
    void Quit();
    void Post(const Event& e);   // any event, queued as given
    size_t PendingEvents() const;

    // Read-back for tests.
    bool HasWindow(WindowId id) const;
    size_t WindowCount() const;
    bool IsVisible(WindowId id) const;
    bool IsBorderless(WindowId id) const;
    std::string WindowTitle(WindowId id) const;
    WindowId KeyWindow() const;
    // What the window shows: a window-sized copy of every presented pixel (black where
    // nothing was presented yet), in screen pixels.
    Surface Presented(WindowId id) const;
    Color PresentedColor(WindowId id, int32_t x, int32_t y) const;
    int64_t PresentedPixels() const;   // screen pixels written by all Present calls
    int32_t PresentCount() const;
    void ResetPresentStats();
    // Calls of Wake so far, folded or not: every hand-over another thread asked for.
    int64_t WakeCalls() const;

    void SetCursorPos(Point screen);
    Cursor LastCursor() const;
    WindowId CapturedWindow() const;   // 0 when the mouse is not captured
    // What the window's drag-area query answers at a point; false without a query.
    bool IsDragArea(WindowId id, Point p) const;

    std::vector<MessageBoxRecord> MessageBoxes() const;
    void SetMessageBoxAnswer(int answer);   // 1 by default

private:
    struct Window {
        Rect bounds;
        std::string title;
        bool borderless = false;
        bool visible = false;
        Surface shown;
        std::function<bool(Point)> dragArea;
    };
    void PushLocked(const Event& e);
    uint32_t ButtonBit(MouseButton b) const;
    Event MouseEvent(Event::Type t, WindowId id, int32_t x, int32_t y, uint32_t mods);

    const int FScale;
    mutable std::mutex FMutex;
    std::condition_variable FArrived;
    std::deque<Event> FQueue;
    bool FWakePending = false;
    int64_t FWakeCalls = 0;

    std::map<WindowId, Window> FWindows;
    WindowId FNextId = 1;
    WindowId FKeyWindow = 0;
    WindowId FCaptured = 0;
    uint32_t FButtons = 0;
    Point FCursor;
    Cursor FCursorShape = Cursor::Arrow;
    int64_t FPresentedPixels = 0;
    int32_t FPresentCount = 0;
    std::vector<MessageBoxRecord> FMessageBoxes;
    int FAnswer = 1;
};

} // namespace plat
