#include "platform/headless/HeadlessWindowSystem.h"

#include "platform/window/WindowScale.h"

#include <algorithm>
#include <chrono>

namespace plat {

namespace {

// The side of a window surface; a window wider than any surface gets an empty one.
int32_t Side(int64_t extent) { return int32_t(std::clamp<int64_t>(extent, 0, INT32_MAX)); }

Surface WindowSurface(const Rect& bounds, int scale)
{
    return Surface(Side(bounds.Width() * scale), Side(bounds.Height() * scale));
}

} // namespace

HeadlessWindowSystem::HeadlessWindowSystem(int scale)
    : FScale(std::clamp(scale, MinWindowScale, MaxWindowScale))
{
}

WindowId HeadlessWindowSystem::CreateWindow(const WindowParams& params)
{
    std::lock_guard lock(FMutex);
    WindowId id = FNextId++;
    Window& w = FWindows[id];
    w.bounds = params.bounds.Normalized();
    w.title = params.title;
    w.borderless = params.borderless;
    w.shown = WindowSurface(w.bounds, FScale);
    return id;
}

void HeadlessWindowSystem::DestroyWindow(WindowId id)
{
    std::lock_guard lock(FMutex);
    if (FWindows.erase(id) == 0)
        return;
    // Input queued for a window that no longer exists is dropped, so that nobody
    // dispatches it to a freed control.
    std::erase_if(FQueue, [id](const Event& e) { return e.window == id; });
    if (FKeyWindow == id)
        FKeyWindow = 0;
    if (FCaptured == id)
        FCaptured = 0;
}

void HeadlessWindowSystem::ShowWindow(WindowId id, bool visible)
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    if (it == FWindows.end())
        return;
    it->second.visible = visible;
    if (visible && FKeyWindow == 0)
        FKeyWindow = id;
    else if (!visible && FKeyWindow == id)
        FKeyWindow = 0;
}

void HeadlessWindowSystem::SetWindowBounds(WindowId id, const Rect& bounds)
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    if (it == FWindows.end())
        return;
    Window& w = it->second;
    w.bounds = bounds.Normalized();
    w.shown.Resize(Side(w.bounds.Width() * FScale), Side(w.bounds.Height() * FScale));
}

Rect HeadlessWindowSystem::WindowBounds(WindowId id) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it == FWindows.end() ? Rect {} : it->second.bounds;
}

void HeadlessWindowSystem::SetWindowTitle(WindowId id, const std::string& title)
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    if (it != FWindows.end())
        it->second.title = title;
}

void HeadlessWindowSystem::SetWindowBorderless(WindowId id, bool borderless)
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    if (it != FWindows.end())
        it->second.borderless = borderless;
}

void HeadlessWindowSystem::Present(WindowId id, const Surface& framebuffer, const Region& dirty)
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    if (it == FWindows.end())
        return;
    Surface& shown = it->second.shown;
    Rect limit = framebuffer.Bounds().Intersect(
        { 0, 0, shown.Width() / FScale, shown.Height() / FScale });
    ++FPresentCount;
    for (const Rect& piece : dirty.Rects()) {
        Rect r = piece.Intersect(limit);
        if (r.Empty())
            continue;
        if (FScale == 1) {
            for (int32_t y = r.top; y < r.bottom; ++y)
                std::copy(framebuffer.Row(y) + r.left, framebuffer.Row(y) + r.right,
                    shown.Row(y) + r.left);
        } else {
            ScaleUp(framebuffer, r, FScale, shown.Row(r.top * FScale) + r.left * FScale,
                size_t(shown.Width()) * sizeof(Pixel));
        }
        FPresentedPixels += r.Width() * r.Height() * FScale * FScale;
    }
}

bool HeadlessWindowSystem::WaitEvent(Event& out, int32_t timeoutMs)
{
    std::unique_lock lock(FMutex);
    if (FQueue.empty() && timeoutMs > 0)
        FArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
            [this] { return !FQueue.empty(); });
    if (FQueue.empty())
        return false;
    out = FQueue.front();
    FQueue.pop_front();
    if (out.type == Event::Type::Wake)
        FWakePending = false;
    return true;
}

void HeadlessWindowSystem::Wake()
{
    std::lock_guard lock(FMutex);
    ++FWakeCalls;
    // Wakes that arrive before the first is read fold into one event.
    if (FWakePending)
        return;
    FWakePending = true;
    Event e;
    e.type = Event::Type::Wake;
    PushLocked(e);
}

void HeadlessWindowSystem::PushLocked(const Event& e)
{
    FQueue.push_back(e);
    FArrived.notify_all();
}

void HeadlessWindowSystem::Post(const Event& e)
{
    if (e.type == Event::Type::Wake) {
        Wake();
        return;
    }
    std::lock_guard lock(FMutex);
    PushLocked(e);
}

size_t HeadlessWindowSystem::PendingEvents() const
{
    std::lock_guard lock(FMutex);
    return FQueue.size();
}

uint32_t HeadlessWindowSystem::ButtonBit(MouseButton b) const
{
    switch (b) {
    case MouseButton::Left: return mod::Left;
    case MouseButton::Right: return mod::Right;
    case MouseButton::Middle: return mod::Middle;
    }
    return 0;
}

// Builds a mouse event and moves the cursor there; the caller holds the lock.
Event HeadlessWindowSystem::MouseEvent(
    Event::Type t, WindowId id, int32_t x, int32_t y, uint32_t mods)
{
    Event e;
    e.type = t;
    e.window = id;
    Point at = ToFramebuffer(Point { x, y }, FScale);
    e.x = at.x;
    e.y = at.y;
    auto it = FWindows.find(id);
    if (it != FWindows.end())
        FCursor = { SaturatingAdd(it->second.bounds.left, x),
            SaturatingAdd(it->second.bounds.top, y) };
    e.mods = (mods & (mod::Shift | mod::Alt | mod::Ctrl)) | FButtons;
    return e;
}

void HeadlessWindowSystem::MouseMove(WindowId id, int32_t x, int32_t y, uint32_t mods)
{
    std::lock_guard lock(FMutex);
    PushLocked(MouseEvent(Event::Type::MouseMove, id, x, y, mods));
}

void HeadlessWindowSystem::MouseDown(
    WindowId id, int32_t x, int32_t y, MouseButton b, int32_t clicks, uint32_t mods)
{
    std::lock_guard lock(FMutex);
    FButtons |= ButtonBit(b);
    Event e = MouseEvent(Event::Type::MouseDown, id, x, y, mods);
    e.button = b;
    e.clicks = clicks >= 2 ? 2 : 1;
    PushLocked(e);
}

void HeadlessWindowSystem::MouseUp(WindowId id, int32_t x, int32_t y, MouseButton b, uint32_t mods)
{
    std::lock_guard lock(FMutex);
    FButtons &= ~ButtonBit(b);
    Event e = MouseEvent(Event::Type::MouseUp, id, x, y, mods);
    e.button = b;
    PushLocked(e);
}

void HeadlessWindowSystem::Click(WindowId id, int32_t x, int32_t y, MouseButton b)
{
    MouseDown(id, x, y, b);
    MouseUp(id, x, y, b);
}

void HeadlessWindowSystem::DoubleClick(WindowId id, int32_t x, int32_t y)
{
    Click(id, x, y);
    MouseDown(id, x, y, MouseButton::Left, 2);
    MouseUp(id, x, y);
}

void HeadlessWindowSystem::MouseWheel(
    WindowId id, int32_t x, int32_t y, int32_t delta, uint32_t mods)
{
    std::lock_guard lock(FMutex);
    Event e = MouseEvent(Event::Type::MouseWheel, id, x, y, mods);
    e.wheel = delta;
    PushLocked(e);
}

void HeadlessWindowSystem::MouseLeave(WindowId id)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::MouseLeave;
    e.window = id;
    e.mods = FButtons;
    PushLocked(e);
}

void HeadlessWindowSystem::KeyDown(int32_t key, uint32_t mods, bool repeat)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::KeyDown;
    e.window = FKeyWindow;
    e.key = key;
    e.mods = mods;
    e.repeat = repeat;
    PushLocked(e);
}

void HeadlessWindowSystem::KeyUp(int32_t key, uint32_t mods)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::KeyUp;
    e.window = FKeyWindow;
    e.key = key;
    e.mods = mods;
    PushLocked(e);
}

void HeadlessWindowSystem::Char(uint32_t ch)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::Char;
    e.window = FKeyWindow;
    e.ch = ch;
    PushLocked(e);
}

void HeadlessWindowSystem::Close(WindowId id)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::Close;
    e.window = id;
    PushLocked(e);
}

void HeadlessWindowSystem::Expose(WindowId id, const Rect& area)
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::Expose;
    e.window = id;
    e.area = FScale == 1 ? area : FramebufferArea(area, FScale);
    PushLocked(e);
}

void HeadlessWindowSystem::Focus(WindowId id)
{
    std::lock_guard lock(FMutex);
    if (id == FKeyWindow)
        return;
    Event e;
    if (FKeyWindow != 0) {
        e.type = Event::Type::FocusOut;
        e.window = FKeyWindow;
        PushLocked(e);
    }
    FKeyWindow = id;
    if (id != 0) {
        e.type = Event::Type::FocusIn;
        e.window = id;
        PushLocked(e);
    }
}

void HeadlessWindowSystem::Quit()
{
    std::lock_guard lock(FMutex);
    Event e;
    e.type = Event::Type::Quit;
    PushLocked(e);
}

void HeadlessWindowSystem::SetDragAreaQuery(WindowId id, std::function<bool(Point)> query)
{
    std::lock_guard lock(FMutex);
    if (auto it = FWindows.find(id); it != FWindows.end())
        it->second.dragArea = std::move(query);
}

// Asked outside the lock: the query reads the program's controls, which may call back.
bool HeadlessWindowSystem::IsDragArea(WindowId id, Point p) const
{
    std::function<bool(Point)> query;
    {
        std::lock_guard lock(FMutex);
        auto it = FWindows.find(id);
        if (it == FWindows.end())
            return false;
        query = it->second.dragArea;
    }
    return query && query(ToFramebuffer(p, FScale));
}

void HeadlessWindowSystem::SetCursor(Cursor c)
{
    std::lock_guard lock(FMutex);
    FCursorShape = c;
}

Point HeadlessWindowSystem::CursorPos() const
{
    std::lock_guard lock(FMutex);
    return FCursor;
}

void HeadlessWindowSystem::SetCursorPos(Point screen)
{
    std::lock_guard lock(FMutex);
    FCursor = screen;
}

Cursor HeadlessWindowSystem::LastCursor() const
{
    std::lock_guard lock(FMutex);
    return FCursorShape;
}

void HeadlessWindowSystem::CaptureMouse(WindowId id, bool capture)
{
    std::lock_guard lock(FMutex);
    if (capture)
        FCaptured = FWindows.count(id) ? id : 0;
    else if (FCaptured == id || id == 0)
        FCaptured = 0;
}

WindowId HeadlessWindowSystem::CapturedWindow() const
{
    std::lock_guard lock(FMutex);
    return FCaptured;
}

int HeadlessWindowSystem::MessageBox(
    WindowId owner, const std::string& title, const std::string& text, MessageBoxKind kind)
{
    std::lock_guard lock(FMutex);
    FMessageBoxes.push_back({ owner, title, text, kind });
    return FAnswer;
}

std::vector<HeadlessWindowSystem::MessageBoxRecord> HeadlessWindowSystem::MessageBoxes() const
{
    std::lock_guard lock(FMutex);
    return FMessageBoxes;
}

void HeadlessWindowSystem::SetMessageBoxAnswer(int answer)
{
    std::lock_guard lock(FMutex);
    FAnswer = answer ? 1 : 0;
}

bool HeadlessWindowSystem::HasWindow(WindowId id) const
{
    std::lock_guard lock(FMutex);
    return FWindows.count(id) != 0;
}

size_t HeadlessWindowSystem::WindowCount() const
{
    std::lock_guard lock(FMutex);
    return FWindows.size();
}

bool HeadlessWindowSystem::IsVisible(WindowId id) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it != FWindows.end() && it->second.visible;
}

bool HeadlessWindowSystem::IsBorderless(WindowId id) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it != FWindows.end() && it->second.borderless;
}

std::string HeadlessWindowSystem::WindowTitle(WindowId id) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it == FWindows.end() ? std::string() : it->second.title;
}

WindowId HeadlessWindowSystem::KeyWindow() const
{
    std::lock_guard lock(FMutex);
    return FKeyWindow;
}

Surface HeadlessWindowSystem::Presented(WindowId id) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it == FWindows.end() ? Surface() : it->second.shown;
}

Color HeadlessWindowSystem::PresentedColor(WindowId id, int32_t x, int32_t y) const
{
    std::lock_guard lock(FMutex);
    auto it = FWindows.find(id);
    return it == FWindows.end() ? 0 : it->second.shown.GetColor(x, y);
}

int64_t HeadlessWindowSystem::PresentedPixels() const
{
    std::lock_guard lock(FMutex);
    return FPresentedPixels;
}

int32_t HeadlessWindowSystem::PresentCount() const
{
    std::lock_guard lock(FMutex);
    return FPresentCount;
}

void HeadlessWindowSystem::ResetPresentStats()
{
    std::lock_guard lock(FMutex);
    FPresentedPixels = 0;
    FPresentCount = 0;
}

int64_t HeadlessWindowSystem::WakeCalls() const
{
    std::lock_guard lock(FMutex);
    return FWakeCalls;
}

} // namespace plat
