#include "platform/sdl/SdlX11.h"

#include "platform/window/WindowSystem.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <X11/Xutil.h>

#include <bit>

namespace plat::sdlx11 {

namespace {

struct X11Window {
    Display* display = nullptr;
    ::Window window = 0;
};

X11Window Find(SDL_Window* w)
{
    if (!w)
        return {};
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return { info.info.x11.display, info.info.x11.window };
}

} // namespace

bool OnX11(SDL_Window* window) { return Find(window).display != nullptr; }

bool ReadPointer(const SDL_SysWMmsg* msg, SDL_Window* window, PointerEvent& out)
{
    if (!msg || msg->subsystem != SDL_SYSWM_X11)
        return false;
    const XEvent& e = msg->msg.x11.event;
    ::Window w = 0;
    unsigned int state = 0;
    if (e.type == MotionNotify) {
        w = e.xmotion.window;
        out.at = { e.xmotion.x, e.xmotion.y };
        out.screen = { e.xmotion.x_root, e.xmotion.y_root };
        state = e.xmotion.state;
    } else if (e.type == ButtonPress || e.type == ButtonRelease) {
        w = e.xbutton.window;
        out.at = { e.xbutton.x, e.xbutton.y };
        out.screen = { e.xbutton.x_root, e.xbutton.y_root };
        state = e.xbutton.state;
    } else {
        return false;
    }
    X11Window x = Find(window);
    if (!x.display || w != x.window)
        return false;
    out.motion = e.type == MotionNotify;
    out.buttons = (state & Button1Mask ? mod::Left : 0) | (state & Button3Mask ? mod::Right : 0)
        | (state & Button2Mask ? mod::Middle : 0);
    return true;
}

bool ToScreen(SDL_Window* window, Point at, Point& out)
{
    X11Window x = Find(window);
    if (!x.display)
        return false;
    int rx = 0, ry = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(x.display, x.window, DefaultRootWindow(x.display), at.x, at.y,
            &rx, &ry, &child))
        return false;
    out = { rx, ry };
    return true;
}

bool PointerOnScreen(SDL_Window* window, Point& out)
{
    X11Window x = Find(window);
    if (!x.display)
        return false;
    ::Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    // The root of the window's own screen: the pointer may be on another screen, where
    // the query answers False and the last position is kept.
    ::Window screenRoot = DefaultRootWindow(x.display);
    if (!XQueryPointer(x.display, screenRoot, &root, &child, &rx, &ry, &wx, &wy, &mask))
        return false;
    out = { rx, ry };
    return true;
}

std::string DesktopResources()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return {};
    const char* db = XResourceManagerString(display);
    std::string resources = db ? db : "";
    XCloseDisplay(display);
    return resources;
}

void SetClass(SDL_Window* window, const std::string& instance, const std::string& className)
{
    X11Window x = Find(window);
    if (!x.display || className.empty())
        return;
    XClassHint* hint = XAllocClassHint();
    if (!hint)
        return;
    std::string name = instance, cls = className;
    hint->res_name = name.data();
    hint->res_class = cls.data();
    XSetClassHint(x.display, x.window, hint);
    XFree(hint);
    XFlush(x.display);
}

void SetIcons(SDL_Window* window, const std::vector<AlphaImage>& icons)
{
    X11Window x = Find(window);
    if (!x.display || icons.empty())
        return;
    // Format 32 properties travel as longs: width, height, then one ARGB value a pixel.
    std::vector<unsigned long> data;
    for (const AlphaImage& icon : icons) {
        const Surface& s = icon.color;
        const int w = s.Width(), h = s.Height();
        const bool alpha = icon.alpha.size() == size_t(w) * size_t(h);
        if (w <= 0 || h <= 0)
            continue;
        data.push_back(static_cast<unsigned long>(w));
        data.push_back(static_cast<unsigned long>(h));
        for (int y = 0; y < h; ++y)
            for (int px = 0; px < w; ++px) {
                Color c = s.GetColor(px, y);   // 0x00BBGGRR
                unsigned long a = alpha ? icon.alpha[size_t(y) * size_t(w) + size_t(px)] : 255;
                unsigned long r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
                data.push_back(a << 24 | r << 16 | g << 8 | b);
            }
    }
    if (data.empty())
        return;
    Atom netWmIcon = XInternAtom(x.display, "_NET_WM_ICON", False);
    XChangeProperty(x.display, x.window, netWmIcon, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
    XFlush(x.display);
}

std::unique_ptr<ImageWriter> ImageWriter::Create(SDL_Window* window)
{
    X11Window x = Find(window);
    if (!x.display)
        return nullptr;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x.display, x.window, &attributes) || !attributes.visual)
        return nullptr;
    const Visual* v = attributes.visual;
    // SDL prefers a direct-colour visual, with an identity colour map, where there is one.
    const bool direct = v->c_class == TrueColor || v->c_class == DirectColor;
    if (attributes.depth != 24 || !direct || v->red_mask != 0xFF0000
        || v->green_mask != 0xFF00 || v->blue_mask != 0xFF)
        return nullptr;
    GC gc = XCreateGC(x.display, x.window, 0, nullptr);
    if (!gc)
        return nullptr;
    std::unique_ptr<ImageWriter> writer(new ImageWriter);
    writer->FDisplay = x.display;
    writer->FWindow = x.window;
    writer->FGc = gc;
    return writer;
}

ImageWriter::~ImageWriter()
{
    XFreeGC(static_cast<Display*>(FDisplay), static_cast<GC>(FGc));
}

void ImageWriter::Put(const Surface& source, const std::vector<Rect>& rects)
{
    if (source.Empty() || rects.empty())
        return;
    // An image header over the surface's own pixels: 32-bit words in this machine's byte
    // order, which Xlib turns into the server's where they differ.
    XImage image {};
    image.width = source.Width();
    image.height = source.Height();
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<Pixel*>(source.Data()));
    image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = image.byte_order;
    image.bitmap_pad = 32;
    image.depth = 24;
    image.bytes_per_line = source.Width() * int(sizeof(Pixel));
    image.bits_per_pixel = 32;
    image.red_mask = 0xFF0000;
    image.green_mask = 0xFF00;
    image.blue_mask = 0xFF;
    if (!XInitImage(&image))
        return;
    auto* display = static_cast<Display*>(FDisplay);
    const Rect bounds = source.Bounds();
    for (const Rect& piece : rects) {
        Rect r = piece.Intersect(bounds);
        if (r.Empty())
            continue;
        XPutImage(display, FWindow, static_cast<GC>(FGc), &image, int(r.left), int(r.top),
            int(r.left), int(r.top), unsigned(r.Width()), unsigned(r.Height()));
    }
    XFlush(display);
}

} // namespace plat::sdlx11

namespace plat {

int X11ConnectionFd(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11
        && info.info.x11.display)
        return ConnectionNumber(info.info.x11.display);
    return -1;
}

} // namespace plat
