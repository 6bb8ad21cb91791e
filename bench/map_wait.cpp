// Starts a program and waits, without polling, until the X server maps a top-level window
// of it; prints the program's process id and the microseconds from just before it was
// started to the map as soon as it is mapped, then stays until the program ends, so that
// the program is reaped (its standard output is discarded: the figure can be read from a
// pipe while the program goes on). Polling for the window instead (a query every few
// milliseconds) takes CPU and server time from the very start it measures.
//
//   map_wait [--timeout SECONDS] PROGRAM [ARGUMENTS...]
//
// Exits with 0 once the window has been mapped and the program has ended, 1 when the
// program ends or the time runs out before a window is mapped (the program is then ended),
// 2 on bad use or without a display.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The process id a window declares (_NET_WM_PID), or 0.
long WindowPid(Display* display, Window window, Atom pidAtom)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
            &count, &after, &data) == Success && data) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// A window that goes before its property can be read is simply not ours.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

} // namespace

int main(int argc, char** argv)
{
    double timeout = 10;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeout = std::atof(argv[2]);
        first = 3;
    }
    if (first >= argc || timeout <= 0) {
        std::fputs("usage: map_wait [--timeout SECONDS] PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("map_wait: no display\n", stderr);
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    // Top-level windows are the root's children: their maps reach us as MapNotify.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_wait: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        if (int null = open("/dev/null", O_WRONLY); null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[first], argv + first);
        std::fprintf(stderr, "map_wait: %s: %s\n", argv[first], std::strerror(errno));
        _exit(127);
    }
    const auto deadline = start + std::chrono::duration<double>(timeout);
    for (;;) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type != MapNotify || e.xmap.override_redirect)
                continue;
            const auto mapped = std::chrono::steady_clock::now();
            // A window is the program's when it says so, or, without the property, when
            // the program is the only one starting.
            const long pid = WindowPid(display, e.xmap.window, pidAtom);
            if (pid != 0 && pid != child)
                continue;
            std::printf("%d %lld\n", int(child),
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(
                    mapped - start).count()));
            std::fflush(stdout);
            XCloseDisplay(display);
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return 0;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fputs("map_wait: the program ended before it showed a window\n", stderr);
            return 1;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            std::fputs("map_wait: no window in time\n", stderr);
            kill(child, SIGTERM);
            waitpid(child, &status, 0);
            return 1;
        }
        // Woken by the server, or every 50 ms to see whether the program has ended.
        pollfd p { ConnectionNumber(display), POLLIN, 0 };
        poll(&p, 1, int(std::min<long long>(left, 50)));
    }
}
