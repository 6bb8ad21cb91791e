#include "platform/sdl/SdlWindowSystem.h"

#include "platform/sdl/SdlX11.h"
#include "platform/system/Signals.h"
#include "platform/text/Font.h"
#include "platform/window/WindowScale.h"

#include <SDL.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace plat {

namespace {

// The keypad digits have consecutive virtual key codes from here.
constexpr int32_t Numpad0 = 0x60;

int32_t VirtualKey(SDL_Keycode k)
{
    if (k >= SDLK_a && k <= SDLK_z)
        return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9)
        return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12)
        return vk::F1 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9)
        return Numpad0 + 1 + (k - SDLK_KP_1);
    switch (k) {
    case SDLK_KP_0: return Numpad0;
    case SDLK_BACKSPACE: return vk::Back;
    case SDLK_TAB: return vk::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return vk::Return;
    case SDLK_ESCAPE: return vk::Escape;
    case SDLK_SPACE: return vk::Space;
    case SDLK_PAGEUP: return vk::Prior;
    case SDLK_PAGEDOWN: return vk::Next;
    case SDLK_END: return vk::End;
    case SDLK_HOME: return vk::Home;
    case SDLK_LEFT: return vk::Left;
    case SDLK_UP: return vk::Up;
    case SDLK_RIGHT: return vk::Right;
    case SDLK_DOWN: return vk::Down;
    case SDLK_INSERT: return vk::Insert;
    case SDLK_DELETE: return vk::Delete;
    case SDLK_PAUSE: return vk::Pause;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vk::Control;
    case SDLK_LALT:
    case SDLK_RALT: return vk::Menu;
    default: return 0;
    }
}

// The character a key down types when the window system sends no text for it.
uint32_t ControlChar(SDL_Keycode k)
{
    switch (k) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_TAB: return 9;
    case SDLK_BACKSPACE: return 8;
    case SDLK_ESCAPE: return 27;
    default: return 0;
    }
}

uint32_t KeyMods(Uint16 m)
{
    uint32_t r = 0;
    if (m & KMOD_SHIFT)
        r |= mod::Shift;
    if (m & KMOD_CTRL)
        r |= mod::Ctrl;
    if (m & KMOD_ALT)
        r |= mod::Alt;
    return r;
}

uint32_t ButtonMods(Uint32 state)
{
    uint32_t r = 0;
    if (state & SDL_BUTTON_LMASK)
        r |= mod::Left;
    if (state & SDL_BUTTON_RMASK)
        r |= mod::Right;
    if (state & SDL_BUTTON_MMASK)
        r |= mod::Middle;
    return r;
}

bool ToButton(Uint8 b, MouseButton& out, uint32_t& bit)
{
    switch (b) {
    case SDL_BUTTON_LEFT: out = MouseButton::Left; bit = mod::Left; return true;
    case SDL_BUTTON_RIGHT: out = MouseButton::Right; bit = mod::Right; return true;
    case SDL_BUTTON_MIDDLE: out = MouseButton::Middle; bit = mod::Middle; return true;
    default: return false;
    }
}

// Decodes UTF-8; malformed sequences give U+FFFD and decoding goes on after them.
std::vector<uint32_t> DecodeUtf8(const char* s)
{
    std::vector<uint32_t> out;
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p) {
        unsigned char c = *p;
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        int i = 1;
        for (; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                break;
            cp = cp << 6 | (p[i] & 0x3F);
        }
        if (i <= extra) {
            out.push_back(0xFFFD);
            p += i;
            continue;
        }
        static constexpr uint32_t minimum[] = { 0, 0x80, 0x800, 0x10000 };
        bool bad = cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF);
        out.push_back(bad ? 0xFFFD : cp);
        p += extra + 1;
    }
    return out;
}

SDL_SystemCursor SystemCursor(Cursor c)
{
    switch (c) {
    case Cursor::Arrow: return SDL_SYSTEM_CURSOR_ARROW;
    case Cursor::Hand: return SDL_SYSTEM_CURSOR_HAND;
    case Cursor::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case Cursor::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case Cursor::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case Cursor::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case Cursor::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case Cursor::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case Cursor::No: return SDL_SYSTEM_CURSOR_NO;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

constexpr size_t CursorCount = size_t(Cursor::No) + 1;

// The event descriptor of the window system's wait, for the signal watcher: a signal
// queues the quit event, and the wait, which polls the display connection and this
// descriptor rather than SDL's queue, must wake for it.
std::atomic<int> gSignalWakeFd { -1 };

void WakeForSignal()
{
    int fd = gSignalWakeFd.load();
    if (fd >= 0) {
        const uint64_t one = 1;
        ssize_t written = write(fd, &one, sizeof one);
        (void)written;
    }
}

// Owns its SDL windows (by SDL window id) and the system cursors it has made. At a scale
// above 1 every framebuffer pixel fills a block of the window (see WindowScale.h). Key downs
// that type a control character queue that character behind themselves in FPending.
// On X11 the wait is a poll of the display connection and an event descriptor that Wake
// writes, so a hand-over from another thread costs no trip through the X server.
class SdlWindowSystem : public WindowSystem {
public:
    SdlWindowSystem(Uint32 wakeType, AppIdentity identity, int scale)
        : FWakeType(wakeType)
        , FIdentity(std::move(identity))
        , FScale(scale)
        , FWakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
    {
    }
    ~SdlWindowSystem() override;

    WindowId CreateWindow(const WindowParams& params) override;
    void DestroyWindow(WindowId id) override;
    void ShowWindow(WindowId id, bool visible) override;
    void SetWindowBounds(WindowId id, const Rect& bounds) override;
    Rect WindowBounds(WindowId id) const override;
    void SetWindowTitle(WindowId id, const std::string& title) override;
    void SetWindowBorderless(WindowId id, bool borderless) override;
    void Present(WindowId id, const Surface& framebuffer, const Region& dirty) override;
    bool WaitEvent(Event& out, int32_t timeoutMs) override;
    void Wake() override;
    void SetDragAreaQuery(WindowId id, std::function<bool(Point)> query) override;
    void SetCursor(Cursor c) override;
    Point CursorPos() const override;
    void CaptureMouse(WindowId id, bool capture) override;
    int MessageBox(WindowId owner, const std::string& title, const std::string& text,
        MessageBoxKind kind) override;
    Rect ScreenBounds() const override;

private:
    SDL_Window* Find(WindowId id) const;
    bool Translate(const SDL_Event& in, Event& out);
    bool TranslateWindowEvent(const SDL_WindowEvent& in, Event& out);
    // Learns the X11 display connection from the first window made on it.
    void FindDisplayFd(SDL_Window* w);
    // Takes a wake written to FWakeFd; true when there was one.
    bool TakeWake();
    bool PollWait(Event& out, int32_t timeoutMs);
    void PresentScaled(SDL_Window* w, WindowId id, const Surface& framebuffer, const Region& dirty);
    // A size of the framebuffer in screen pixels, within what a window may have.
    int ScreenSide(int64_t side) const;
    Point ToFramebuffer(int x, int y) const { return plat::ToFramebuffer(Point { x, y }, FScale); }
    // Sets the event's window coordinates from a position in the window's screen pixels.
    void Place(Event& out, int x, int y) const
    {
        Point p = ToFramebuffer(x, y);
        out.x = p.x;
        out.y = p.y;
    }
    // Hands the listed rectangles of the window surface to the window system.
    void UpdateSurfaceRects(SDL_Window* w);

    const Uint32 FWakeType;
    const AppIdentity FIdentity;
    const int FScale;
    const int FWakeFd;
    std::atomic<int> FDisplayFd { -1 };
    std::atomic<bool> FWakePending { false };
    // Per window, what it shows: on X11 the writer and a copy of the pixels it sent;
    // elsewhere, and at a scale, the window surface last presented into. After an expose
    // the next present sends every dirty pixel.
    struct ShownFrame {
        std::unique_ptr<sdlx11::ImageWriter> writer;
        std::vector<Pixel> pixels;
        int32_t width = 0;
        SDL_Surface* surface = nullptr;
        bool whole = true;
    };
    std::unordered_map<WindowId, ShownFrame> FShown;
    std::vector<Rect> FPresentRects;
    std::vector<SDL_Rect> FSdlRects;
    std::vector<uint32_t> FScaled;   // scaled pixels of a window of another pixel layout
    std::unordered_map<WindowId, SDL_Window*> FWindows;
    // Drag-area queries of windows whose moves the window system makes (see HitTest).
    std::unordered_map<WindowId, std::function<bool(Point)>> FDragAreas;
    std::array<SDL_Cursor*, CursorCount> FCursors {};
    uint32_t FButtons = 0;
    // On X11, while a button is held, pointer motions come from the server's own events
    // as well (see SdlX11.h): SDL leaves out those of a window that follows the pointer.
    // The pointer's screen position while a button or such a motion is handled is the one
    // it had at that event.
    std::optional<Point> FEventScreen;
    // Characters of one text event beyond the first, handed out by the next waits.
    std::vector<Event> FPending;
};

SdlWindowSystem::~SdlWindowSystem()
{
    FinishFontLookup(); // SDL sets the locale as it closes its input method
    StopWatchingTerminationSignals();
    FShown.clear();
    for (auto& [id, w] : FWindows)
        SDL_DestroyWindow(w);
    for (SDL_Cursor* c : FCursors)
        if (c)
            SDL_FreeCursor(c);
    SDL_StopTextInput();
    gSignalWakeFd.store(-1);
    if (FWakeFd >= 0)
        close(FWakeFd);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

SDL_Window* SdlWindowSystem::Find(WindowId id) const
{
    auto it = FWindows.find(id);
    return it == FWindows.end() ? nullptr : it->second;
}

WindowId SdlWindowSystem::CreateWindow(const WindowParams& params)
{
    Rect b = params.bounds.Normalized();
    int w = ScreenSide(b.Width());
    int h = ScreenSide(b.Height());
    Uint32 flags = SDL_WINDOW_HIDDEN | (params.borderless ? SDL_WINDOW_BORDERLESS : 0);
    // SDL sets the locale while it makes a window's input context; the font configuration,
    // read by the locale, is read ahead only once the first window stands.
    FinishFontLookup();
    SDL_Window* win = SDL_CreateWindow(params.title.c_str(), b.left, b.top, w, h, flags);
    PrepareFontLookup();
    if (!win) {
        ReportFailure(std::string("cannot create a window: ") + SDL_GetError());
        return 0;
    }
    WindowId id = SDL_GetWindowID(win);
    FWindows[id] = win;
    sdlx11::SetClass(win, FIdentity.instance, FIdentity.className);
    sdlx11::SetIcons(win, FIdentity.icons);
    FShown[id].writer = sdlx11::ImageWriter::Create(win);
    FindDisplayFd(win);
    return id;
}

void SdlWindowSystem::DestroyWindow(WindowId id)
{
    auto it = FWindows.find(id);
    if (it == FWindows.end())
        return;
    FShown.erase(id);
    SDL_DestroyWindow(it->second);
    FWindows.erase(it);
    FDragAreas.erase(id);
    std::erase_if(FPending, [id](const Event& e) { return e.window == id; });
}

bool OnWayland()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "wayland") == 0;
}

// A Wayland client cannot place its windows: a drag is the compositor's interactive move,
// which SDL starts for a left press where the window's hit test answers "draggable". On
// X11 the program moves the window itself and no hit test is set.
void SdlWindowSystem::SetDragAreaQuery(WindowId id, std::function<bool(Point)> query)
{
    SDL_Window* w = Find(id);
    if (!w || !OnWayland())
        return;
    if (!query) {
        FDragAreas.erase(id);
        SDL_SetWindowHitTest(w, nullptr, nullptr);
        return;
    }
    FDragAreas[id] = std::move(query);
    auto hitTest = [](SDL_Window* win, const SDL_Point* p, void* data) {
        auto* self = static_cast<SdlWindowSystem*>(data);
        auto it = self->FDragAreas.find(SDL_GetWindowID(win));
        bool drag = it != self->FDragAreas.end() && it->second(self->ToFramebuffer(p->x, p->y));
        return drag ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
    };
    if (SDL_SetWindowHitTest(w, hitTest, this) != 0)
        FDragAreas.erase(id);
}

// A Wayland surface takes no picture before it is shown, and one without a picture never
// appears: what was presented while hidden is handed over again once it is shown.
void SdlWindowSystem::ShowWindow(WindowId id, bool visible)
{
    SDL_Window* w = Find(id);
    if (!w)
        return;
    if (!visible) {
        SDL_HideWindow(w);
        return;
    }
    SDL_ShowWindow(w);
    if (OnWayland() && FShown[id].surface == SDL_GetWindowSurface(w))
        SDL_UpdateWindowSurface(w);
}

void SdlWindowSystem::SetWindowBounds(WindowId id, const Rect& bounds)
{
    SDL_Window* w = Find(id);
    if (!w)
        return;
    Rect b = bounds.Normalized();
    int cw = ScreenSide(b.Width());
    int ch = ScreenSide(b.Height());
    int ow = 0, oh = 0;
    SDL_GetWindowSize(w, &ow, &oh);
    if (ow != cw || oh != ch)
        SDL_SetWindowSize(w, cw, ch);
    SDL_SetWindowPosition(w, b.left, b.top);
}

Rect SdlWindowSystem::WindowBounds(WindowId id) const
{
    SDL_Window* w = Find(id);
    if (!w)
        return {};
    int x = 0, y = 0, cw = 0, ch = 0;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &cw, &ch);
    return { x, y, x + cw / FScale, y + ch / FScale };
}

int SdlWindowSystem::ScreenSide(int64_t side) const
{
    return int(std::clamp<int64_t>(side * FScale, 1, 16384));
}

void SdlWindowSystem::SetWindowTitle(WindowId id, const std::string& title)
{
    if (SDL_Window* w = Find(id))
        SDL_SetWindowTitle(w, title.c_str());
}

void SdlWindowSystem::SetWindowBorderless(WindowId id, bool borderless)
{
    if (SDL_Window* w = Find(id))
        SDL_SetWindowBordered(w, borderless ? SDL_FALSE : SDL_TRUE);
}

// True when eight pixels are equal; one reduction, which compiles to vector instructions.
inline bool SameEight(const Pixel* a, const Pixel* b)
{
    Pixel diff = 0;
    for (int i = 0; i < 8; ++i)
        diff |= a[i] ^ b[i];
    return diff == 0;
}

// A rectangle right below the last one with the same columns extends it.
void AddRect(std::vector<Rect>& rects, const Rect& r)
{
    if (!rects.empty()) {
        Rect& last = rects.back();
        if (last.left == r.left && last.right == r.right && last.bottom == r.top) {
            last.bottom = r.bottom;
            return;
        }
    }
    rects.push_back(r);
}

// Brings shown (the picture the window shows, rows shownPitch pixels apart) up to the
// dirty pixels of source inside limit, and lists what changed: each dirty row's runs of
// pixels that differ from shown, or, when !compare, every dirty rectangle whole.
void CopyChanges(const Surface& source, const Region& dirty, const Rect& limit, Pixel* shown,
    size_t shownPitch, bool compare, std::vector<Rect>& changed)
{
    changed.clear();
    // The copy of what was shown is seldom in the cache by the next frame, and a running
    // frame is hundreds of short row pieces: their lines are fetched all at once first,
    // instead of one miss after another in the comparison.
    if (compare)
        for (const Rect& piece : dirty.Rects()) {
            const Rect r = piece.Intersect(limit);
            for (int32_t y = r.top; y < r.bottom && r.left < r.right; ++y) {
                const Pixel* d = shown + size_t(y) * shownPitch;
                __builtin_prefetch(d + r.left);
                __builtin_prefetch(d + r.right - 1);
            }
        }
    for (const Rect& piece : dirty.Rects()) {
        const Rect r = piece.Intersect(limit);
        if (r.Empty())
            continue;
        const int32_t rw = r.Width();
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const Pixel* s = source.Row(y) + r.left;
            Pixel* d = shown + size_t(y) * shownPitch + size_t(r.left);
            if (!compare) {
                std::memcpy(d, s, size_t(rw) * sizeof(Pixel));
                continue;
            }
            for (int32_t x = 0; x < rw;) {
                // Unchanged stretches are passed eight pixels at a time.
                if (x + 8 <= rw && SameEight(d + x, s + x)) {
                    x += 8;
                    continue;
                }
                if (d[x] == s[x]) {
                    ++x;
                    continue;
                }
                const int32_t start = x;
                for (; x < rw && d[x] != s[x]; ++x)
                    d[x] = s[x];
                AddRect(changed, { r.left + start, y, r.left + x, y + 1 });
            }
        }
        if (!compare)
            AddRect(changed, r);
    }
}

// Only the pixels that differ from what the window shows are sent. On X11 they go as
// image requests of their own (see sdlx11::ImageWriter), compared with a copy of what
// was sent; elsewhere through SDL's window surface, which holds the last presented
// frame itself. After an expose, or into a new surface, every dirty pixel goes.
void SdlWindowSystem::Present(WindowId id, const Surface& framebuffer, const Region& dirty)
{
    SDL_Window* w = Find(id);
    if (!w || framebuffer.Empty())
        return;
    if (FScale != 1) {
        PresentScaled(w, id, framebuffer, dirty);
        return;
    }
    ShownFrame& shown = FShown[id];
    if (shown.writer) {
        const size_t count = size_t(framebuffer.Width()) * size_t(framebuffer.Height());
        if (shown.pixels.size() != count || shown.width != framebuffer.Width()) {
            shown.pixels.assign(count, 0);
            shown.width = framebuffer.Width();
            shown.whole = true;
        }
        int cw = 0, ch = 0;
        SDL_GetWindowSize(w, &cw, &ch);
        CopyChanges(framebuffer, dirty, framebuffer.Bounds().Intersect({ 0, 0, cw, ch }),
            shown.pixels.data(), size_t(shown.width), !shown.whole, FPresentRects);
        shown.whole = false;
        shown.writer->Put(framebuffer, FPresentRects);
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) {
        ReportFailure(std::string("cannot present: ") + SDL_GetError());
        return;
    }
    const Rect limit = framebuffer.Bounds().Intersect({ 0, 0, target->w, target->h });
    // Surface pixels are 0x00RRGGBB words, the window system's XRGB8888 layout.
    const bool same = target->format->format == SDL_PIXELFORMAT_RGB888;
    const bool compare = !shown.whole && shown.surface == target && same;
    shown.surface = target;
    shown.whole = false;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0)
        return;
    if (same) {
        CopyChanges(framebuffer, dirty, limit, static_cast<Pixel*>(target->pixels),
            size_t(target->pitch) / sizeof(Pixel), compare, FPresentRects);
    } else {
        FPresentRects.clear();
        for (const Rect& piece : dirty.Rects()) {
            const Rect r = piece.Intersect(limit);
            if (r.Empty())
                continue;
            auto* dst = static_cast<Uint8*>(target->pixels)
                + size_t(r.top) * size_t(target->pitch)
                + size_t(r.left) * target->format->BytesPerPixel;
            SDL_ConvertPixels(int(r.Width()), int(r.Height()), SDL_PIXELFORMAT_RGB888,
                framebuffer.Row(r.top) + r.left, int(framebuffer.Width() * sizeof(Pixel)),
                target->format->format, dst, target->pitch);
            FPresentRects.push_back(r);
        }
    }
    if (SDL_MUSTLOCK(target))
        SDL_UnlockSurface(target);
    UpdateSurfaceRects(w);
}

void SdlWindowSystem::UpdateSurfaceRects(SDL_Window* w)
{
    FSdlRects.clear();
    for (const Rect& r : FPresentRects)
        FSdlRects.push_back({ r.left, r.top, int(r.Width()), int(r.Height()) });
    if (!FSdlRects.empty())
        SDL_UpdateWindowSurfaceRects(w, FSdlRects.data(), int(FSdlRects.size()));
}

// The scaled counterpart of Present: a framebuffer pixel is compared with the top-left
// pixel of its block, and each changed run is written as blocks and listed in screen
// pixels, so a present stays as small as the change. Another pixel layout than the
// window system's XRGB8888 is scaled into FScaled and converted from there.
void SdlWindowSystem::PresentScaled(
    SDL_Window* w, WindowId id, const Surface& framebuffer, const Region& dirty)
{
    SDL_Surface* target = SDL_GetWindowSurface(w);
    if (!target) {
        ReportFailure(std::string("cannot present: ") + SDL_GetError());
        return;
    }
    const int s = FScale;
    Rect limit = framebuffer.Bounds().Intersect({ 0, 0, target->w / s, target->h / s });
    ShownFrame& shown = FShown[id];
    const bool direct = target->format->format == SDL_PIXELFORMAT_RGB888;
    const bool compare = !shown.whole && shown.surface == target && direct;
    shown.surface = target;
    shown.whole = false;
    FPresentRects.clear();
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0)
        return;
    const size_t pitch = size_t(target->pitch);
    auto blockAt = [&](int32_t x, int32_t y) {
        return reinterpret_cast<uint32_t*>(static_cast<Uint8*>(target->pixels)
            + size_t(y) * s * pitch + size_t(x) * s * sizeof(uint32_t));
    };
    for (const Rect& piece : dirty.Rects()) {
        Rect r = piece.Intersect(limit);
        if (r.Empty())
            continue;
        const Rect screen = ScreenArea(r, s);
        const int sw = int(screen.Width()), sh = int(screen.Height());
        if (!direct) {
            FScaled.resize(size_t(sw) * size_t(sh));
            ScaleUp(framebuffer, r, s, FScaled.data(), size_t(sw) * sizeof(uint32_t));
            auto* dst = static_cast<Uint8*>(target->pixels) + size_t(screen.top) * pitch
                + size_t(screen.left) * target->format->BytesPerPixel;
            SDL_ConvertPixels(sw, sh, SDL_PIXELFORMAT_RGB888, FScaled.data(),
                int(sw * sizeof(uint32_t)), target->format->format, dst, target->pitch);
            AddRect(FPresentRects, screen);
            continue;
        }
        if (!compare) {
            ScaleUp(framebuffer, r, s, blockAt(r.left, r.top), pitch);
            AddRect(FPresentRects, screen);
            continue;
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const Pixel* src = framebuffer.Row(y);
            const uint32_t* shownRow = blockAt(0, y);
            for (int32_t x = r.left; x < r.right;) {
                if (shownRow[size_t(x) * s] == src[x]) {
                    ++x;
                    continue;
                }
                int32_t start = x;
                while (x < r.right && shownRow[size_t(x) * s] != src[x])
                    ++x;
                ScaleUp(framebuffer, { start, y, x, y + 1 }, s, blockAt(start, y), pitch);
                AddRect(FPresentRects, { start * s, y * s, x * s, (y + 1) * s });
            }
        }
    }
    if (SDL_MUSTLOCK(target))
        SDL_UnlockSurface(target);
    UpdateSurfaceRects(w);
}

void SdlWindowSystem::FindDisplayFd(SDL_Window* w)
{
    if (FDisplayFd.load() >= 0 || FWakeFd < 0)
        return;
    FDisplayFd.store(X11ConnectionFd(w));
    if (FDisplayFd.load() >= 0)
        gSignalWakeFd.store(FWakeFd);
}

bool SdlWindowSystem::TakeWake()
{
    uint64_t count = 0;
    if (read(FWakeFd, &count, sizeof count) != ssize_t(sizeof count))
        return false;
    // Cleared after the read: a Wake folded into this one has queued its work already.
    FWakePending.store(false);
    return true;
}

// Events already read from the connection are handed out first; then the connection and
// the wake descriptor are polled. Nothing reads the connection between the pump and the
// poll, so no event can wait unseen in a buffer; and when the poll ends for the wake
// alone, nothing has come since that pump, so the wake is taken without another.
bool SdlWindowSystem::PollWait(Event& out, int32_t timeoutMs)
{
    Uint64 deadline = SDL_GetTicks64() + Uint64(std::max(timeoutMs, 0));
    bool pump = true;
    for (;;) {
        if (pump) {
            SDL_PumpEvents();
            SDL_Event e;
            while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
                if (Translate(e, out))
                    return true;
            }
        }
        if (TakeWake()) {
            out = Event {};
            out.type = Event::Type::Wake;
            return true;
        }
        int left = -1;
        if (timeoutMs >= 0) {
            Uint64 now = SDL_GetTicks64();
            left = now >= deadline ? 0 : int(deadline - now);
            if (left == 0)
                return false;
        }
        pollfd fds[2] = { { FDisplayFd.load(), POLLIN, 0 }, { FWakeFd, POLLIN, 0 } };
        pump = poll(fds, 2, left) <= 0 || fds[0].revents != 0 || fds[1].revents == 0;
    }
}

bool SdlWindowSystem::WaitEvent(Event& out, int32_t timeoutMs)
{
    FEventScreen.reset();
    if (!FPending.empty()) {
        out = FPending.front();
        FPending.erase(FPending.begin());
        return true;
    }
    if (FDisplayFd.load() >= 0)
        return PollWait(out, timeoutMs);
    Uint64 deadline = SDL_GetTicks64() + Uint64(std::max(timeoutMs, 0));
    for (;;) {
        SDL_Event e;
        int got;
        if (timeoutMs < 0)
            got = SDL_WaitEvent(&e);
        else {
            Uint64 now = SDL_GetTicks64();
            int left = now >= deadline ? 0 : int(deadline - now);
            got = left == 0 ? SDL_PollEvent(&e) : SDL_WaitEventTimeout(&e, left);
        }
        if (!got)
            return false;
        if (Translate(e, out))
            return true;
    }
}

void SdlWindowSystem::Wake()
{
    // Wakes that arrive before the first is read fold into one event, so a busy worker
    // cannot flood the queue.
    if (FWakePending.exchange(true))
        return;
    if (FDisplayFd.load() >= 0) {
        const uint64_t one = 1;
        if (write(FWakeFd, &one, sizeof one) == ssize_t(sizeof one))
            return;
    }
    SDL_Event e {};
    e.type = FWakeType;
    if (SDL_PushEvent(&e) <= 0)
        FWakePending.store(false);
}

bool SdlWindowSystem::TranslateWindowEvent(const SDL_WindowEvent& in, Event& out)
{
    SDL_Window* w = Find(in.windowID);
    if (!w)
        return false;
    out.window = in.windowID;
    switch (in.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        // The server may have lost the window's pixels: the repaint sends them all.
        FShown[in.windowID].whole = true;
        int cw = 0, ch = 0;
        SDL_GetWindowSize(w, &cw, &ch);
        out.type = Event::Type::Expose;
        out.area = FramebufferArea({ 0, 0, cw, ch }, FScale);
        return true;
    }
    case SDL_WINDOWEVENT_MOVED:
        out.type = Event::Type::Moved;
        out.x = in.data1;
        out.y = in.data2;
        return true;
    case SDL_WINDOWEVENT_CLOSE: out.type = Event::Type::Close; return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: out.type = Event::Type::FocusIn; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: out.type = Event::Type::FocusOut; return true;
    case SDL_WINDOWEVENT_LEAVE:
        out.type = Event::Type::MouseLeave;
        out.mods = FButtons;
        return true;
    default: return false;
    }
}

bool SdlWindowSystem::Translate(const SDL_Event& in, Event& out)
{
    out = Event {};
    FEventScreen.reset();
    if (in.type == FWakeType) {
        FWakePending.store(false);
        out.type = Event::Type::Wake;
        return true;
    }
    switch (in.type) {
    case SDL_QUIT: out.type = Event::Type::Quit; return true;
    case SDL_WINDOWEVENT: return TranslateWindowEvent(in.window, out);
    case SDL_SYSWMEVENT:
        for (const auto& [id, w] : FWindows) {
            sdlx11::PointerEvent p;
            if (!sdlx11::ReadPointer(in.syswm.msg, w, p))
                continue;
            if (!p.motion)
                return false;   // SDL's own button event follows
            FButtons = p.buttons;
            FEventScreen = p.screen;
            out.type = Event::Type::MouseMove;
            out.window = id;
            Place(out, p.at.x, p.at.y);
            out.mods = FButtons | KeyMods(SDL_GetModState());
            return true;
        }
        return false;
    case SDL_MOUSEMOTION:
        if (!Find(in.motion.windowID))
            return false;
        FButtons = ButtonMods(in.motion.state);
        out.type = Event::Type::MouseMove;
        out.window = in.motion.windowID;
        Place(out, in.motion.x, in.motion.y);
        out.mods = FButtons | KeyMods(SDL_GetModState());
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        uint32_t bit = 0;
        if (!Find(in.button.windowID) || !ToButton(in.button.button, out.button, bit))
            return false;
        bool down = in.type == SDL_MOUSEBUTTONDOWN;
        if (Point p; sdlx11::ToScreen(Find(in.button.windowID), { in.button.x, in.button.y }, p))
            FEventScreen = p;
        FButtons = down ? FButtons | bit : FButtons & ~bit;
        if (FEventScreen)
            SDL_EventState(SDL_SYSWMEVENT, FButtons ? SDL_ENABLE : SDL_DISABLE);
        out.type = down ? Event::Type::MouseDown : Event::Type::MouseUp;
        out.window = in.button.windowID;
        Place(out, in.button.x, in.button.y);
        // Presses count 1, 2, 3... while they come quickly; a third press starts a new
        // pair, as the second press of a pair is the double click.
        out.clicks = in.button.clicks >= 2 && in.button.clicks % 2 == 0 ? 2 : 1;
        out.mods = FButtons | KeyMods(SDL_GetModState());
        return true;
    }
    case SDL_MOUSEWHEEL: {
        if (!Find(in.wheel.windowID))
            return false;
        float notches = in.wheel.preciseY != 0 ? in.wheel.preciseY : float(in.wheel.y);
        if (in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        out.type = Event::Type::MouseWheel;
        out.window = in.wheel.windowID;
        out.wheel = int32_t(std::lround(notches * 120));
#if SDL_VERSION_ATLEAST(2, 26, 0)
        out.x = in.wheel.mouseX;
        out.y = in.wheel.mouseY;
#else
        SDL_GetMouseState(&out.x, &out.y);
#endif
        Place(out, out.x, out.y);
        out.mods = FButtons | KeyMods(SDL_GetModState());
        return out.wheel != 0;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (!Find(in.key.windowID))
            return false;
        bool down = in.type == SDL_KEYDOWN;
        out.window = in.key.windowID;
        out.mods = KeyMods(in.key.keysym.mod);
        out.repeat = in.key.repeat != 0;
        out.key = VirtualKey(in.key.keysym.sym);
        uint32_t ch = down ? ControlChar(in.key.keysym.sym) : 0;
        if (ch) {
            Event c = out;
            c.type = Event::Type::Char;
            c.ch = ch;
            c.key = 0;
            if (out.key == 0) {
                out = c;
                return true;
            }
            FPending.push_back(c);
        }
        if (out.key == 0)
            return false;
        out.type = down ? Event::Type::KeyDown : Event::Type::KeyUp;
        return true;
    }
    case SDL_TEXTINPUT: {
        if (!Find(in.text.windowID))
            return false;
        std::vector<uint32_t> chars = DecodeUtf8(in.text.text);
        if (chars.empty())
            return false;
        out.type = Event::Type::Char;
        out.window = in.text.windowID;
        out.mods = KeyMods(SDL_GetModState());
        for (size_t i = 1; i < chars.size(); ++i) {
            Event c = out;
            c.ch = chars[i];
            FPending.push_back(c);
        }
        out.ch = chars[0];
        return true;
    }
    default: return false;
    }
}

void SdlWindowSystem::SetCursor(Cursor c)
{
    size_t i = size_t(c);
    if (i >= CursorCount)
        return;
    if (!FCursors[i])
        FCursors[i] = SDL_CreateSystemCursor(SystemCursor(c));
    if (FCursors[i])
        SDL_SetCursor(FCursors[i]);
}

// While a pointer event is handled, where the pointer was at that event; otherwise, on
// X11, where the server finds it now. SDL's global state follows only raw input events,
// which some servers (Xvfb with synthetic input among them) never send, so during a drag
// it would keep the position of the press.
Point SdlWindowSystem::CursorPos() const
{
    if (FEventScreen)
        return *FEventScreen;
    Point p;
    for (const auto& [id, w] : FWindows)
        if (sdlx11::PointerOnScreen(w, p))
            return p;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return { x, y };
}

void SdlWindowSystem::CaptureMouse(WindowId id, bool capture)
{
    if (capture && !Find(id))
        return;
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

int SdlWindowSystem::MessageBox(
    WindowId owner, const std::string& title, const std::string& text, MessageBoxKind kind)
{
    SDL_CaptureMouse(SDL_FALSE);
    FinishFontLookup(); // SDL's message box sets the locale
    Uint32 flags = kind == MessageBoxKind::Error ? SDL_MESSAGEBOX_ERROR
        : kind == MessageBoxKind::Warning         ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = Find(owner);
    if (kind == MessageBoxKind::Question) {
        const SDL_MessageBoxButtonData buttons[] = {
            { SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes" },
            { SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No" },
        };
        SDL_MessageBoxData data { flags, parent, title.c_str(), text.c_str(), 2, buttons,
            nullptr };
        int answer = 0;
        if (SDL_ShowMessageBox(&data, &answer) == 0)
            return answer == 1 ? 1 : 0;
    } else if (SDL_ShowSimpleMessageBox(flags, title.c_str(), text.c_str(), parent) == 0) {
        return 1;
    }
    // No way to ask: the message still reaches the user, and a question counts as
    // answered No, so nothing is done that was not confirmed.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return kind == MessageBoxKind::Question ? 0 : 1;
}

Rect SdlWindowSystem::ScreenBounds() const
{
    SDL_Rect r {};
    if (SDL_GetDisplayBounds(0, &r) != 0)
        return {};
    return { r.x, r.y, r.x + r.w, r.y + r.h };
}

} // namespace

// Gives an environment variable a value for as long as the object lives, where the
// environment leaves it unset and the value is wanted.
class ScopedEnvDefault {
public:
    ScopedEnvDefault(const char* name, const char* value, bool wanted)
        : FName(name)
    {
        const char* now = std::getenv(name);
        FSet = wanted && !(now && *now);
        if (FSet)
            setenv(name, value, 1);
    }
    ~ScopedEnvDefault()
    {
        if (FSet)
            unsetenv(FName);
    }
    ScopedEnvDefault(const ScopedEnvDefault&) = delete;
    ScopedEnvDefault& operator=(const ScopedEnvDefault&) = delete;

private:
    const char* FName;
    bool FSet = false;
};

// SDL opens the session bus as it starts, for services the program does not use. Where
// there is no bus, the bus library would launch one (a fork and an exec, and on some
// systems a bus daemon left running after the program ends); it is told the address of
// none for that moment instead.
static bool UserBusExists()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime && access((std::string(runtime) + "/bus").c_str(), F_OK) == 0;
}

// The drivers that show a window, in the order tried: X11 first, as a Wayland desktop
// also runs X11 programs, where a program may place its own window.
static bool StartVideo(TypedText text)
{
    ScopedEnvDefault noBusLaunch("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", !UserBusExists());
    // The input method reads its compose table when SDL opens it, on X11 and on Wayland
    // alike; an empty file stands in for it.
    ScopedEnvDefault noComposeTable("XCOMPOSEFILE", "/dev/null", text == TypedText::KeyByKey);
    const char* named = std::getenv("SDL_VIDEODRIVER");
    if (named && *named)
        return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    std::string failures;
    for (const char* driver : { "x11", "wayland" }) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0)
            return true;
        failures += failures.empty() ? "" : "; ";
        failures += std::string(driver) + ": " + SDL_GetError();
    }
    SDL_SetError("%s", failures.c_str());
    return false;
}

std::unique_ptr<WindowSystem> CreateSdlWindowSystem(AppIdentity identity, int scale, TypedText text)
{
    // Software presenting: the window's own surface, exact and simple.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The first click on an inactive window is delivered, not swallowed by activation.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Quit means a signal or the end of the session; closing a window is the program's
    // own decision.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SDL's own handlers notice a signal only when events are next pumped and leave
    // SIGHUP out; ours wake the event wait at once for all three.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The screen saver and power saving go on as with any window; holding them off would
    // also start a session bus where there is none.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The Wayland application id names the desktop entry; it is read when SDL starts.
    if (!identity.className.empty())
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", identity.className.c_str(), 0);
    if (!StartVideo(text)) {
        ReportFailure(SDL_GetError());
        return nullptr;
    }
    // Wayland offers no software window surface: SDL gives one only through a texture
    // that the renderer uploads, and without it no window ever appears.
    if (OnWayland())
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
    WatchTerminationSignals([](int) {
        SDL_Event e {};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
        WakeForSignal();
    });
    Uint32 wake = SDL_RegisterEvents(1);
    if (wake == Uint32(-1))
        wake = SDL_USEREVENT;
    SDL_StartTextInput();
    // On Wayland the compositor scales a window for its output itself; the desktop's
    // settings would scale it twice.
    if (scale == 0)
        scale = OnWayland() ? 1 : DesktopWindowScale(sdlx11::DesktopResources(), std::getenv("GDK_SCALE"));
    scale = std::clamp(scale, MinWindowScale, MaxWindowScale);
    return std::make_unique<SdlWindowSystem>(wake, std::move(identity), scale);
}

} // namespace plat
