// Drives the SDL window backend on a real X server for run_sdl_e2e.sh: opens a borderless
// 300 x 200 window at (200, 150) showing red, prints what it receives, one line per event,
// and moves itself to (300, 250) after the first left click. A right click paints a green
// 10 x 10 square at (20, 20) and presents the whole frame, of which only the square
// changed. A second argument "key-by-key" opens the display without compose sequences;
// the program then reports whether XCOMPOSEFILE is set once the display is open. Ends
// with status 0 on Quit (SIGTERM) or Close; 3 without a display, 4 when nothing happens
// for 30 seconds.

#include "platform/sdl/SdlWindowSystem.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

using namespace plat;

namespace {

const char* ButtonName(MouseButton b)
{
    return b == MouseButton::Left ? "left" : b == MouseButton::Right ? "right" : "middle";
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const char* title = argc > 1 ? argv[1] : "sdl-backend-e2e";
    const bool keyByKey = argc > 2 && std::string(argv[2]) == "key-by-key";
    std::unique_ptr<WindowSystem> ws
        = CreateSdlWindowSystem({}, 1, keyByKey ? TypedText::KeyByKey : TypedText::Composed);
    if (!ws) {
        std::printf("no display: %s\n", LastError().c_str());
        return 3;
    }
    if (keyByKey)
        std::printf("compose file %s\n", std::getenv("XCOMPOSEFILE") ? "set" : "unset");
    WindowId win = ws->CreateWindow({ { 200, 150, 500, 350 }, title, true });
    if (win == 0) {
        std::printf("no window: %s\n", LastError().c_str());
        return 3;
    }
    Surface frame(300, 200);
    frame.Fill(Rgb(255, 0, 0));
    ws->ShowWindow(win, true);
    ws->Present(win, frame, Region(frame.Bounds()));
    Rect b = ws->WindowBounds(win);
    std::printf("ready %d %d %d %d\n", b.left, b.top, b.right, b.bottom);

    // A wake from another thread must end the GUI thread's wait.
    std::thread waker([&ws] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ws->Wake();
    });

    bool moved = false;
    int status = -1;
    Event e;
    while (status < 0) {
        if (!ws->WaitEvent(e, 30000)) {
            std::printf("idle\n");
            status = 4;
            break;
        }
        switch (e.type) {
        case Event::Type::Expose:
            ws->Present(win, frame, Region(e.area));
            break;
        case Event::Type::Wake:
            std::printf("wake\n");
            break;
        case Event::Type::MouseDown:
            std::printf("down %d %d %s %d\n", e.x, e.y, ButtonName(e.button), e.clicks);
            if (e.button == MouseButton::Right) {
                for (int y = 20; y < 30; ++y)
                    for (int x = 20; x < 30; ++x)
                        frame.SetColor(x, y, Rgb(0, 255, 0));
                ws->Present(win, frame, Region(frame.Bounds()));
                std::printf("painted\n");
            }
            break;
        case Event::Type::MouseUp:
            std::printf("up %d %d %s mods=%u\n", e.x, e.y, ButtonName(e.button), e.mods);
            if (e.button == MouseButton::Left && !moved) {
                moved = true;
                ws->SetWindowBounds(win, { 300, 250, 600, 450 });
                b = ws->WindowBounds(win);
                std::printf("moved %d %d %d %d\n", b.left, b.top, b.right, b.bottom);
            }
            break;
        case Event::Type::KeyDown:
            std::printf("key %d mods=%u\n", e.key, e.mods);
            break;
        case Event::Type::Char:
            std::printf("char %u\n", e.ch);
            break;
        case Event::Type::Close:
            std::printf("close\n");
            status = 0;
            break;
        case Event::Type::Quit:
            std::printf("quit\n");
            status = 0;
            break;
        default:
            break;
        }
    }
    waker.join();
    return status;
}
