#include "platform/system/Signals.h"

#include "platform/raster/Surface.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <mutex>
#include <signal.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace plat {

namespace {

constexpr int Watched[] = { SIGTERM, SIGINT, SIGHUP };

// The pipe's ends; the handler reads the write end without a lock, so it is set before
// the handlers are first installed.
volatile sig_atomic_t gWriteEnd = -1;
int gReadEnd = -1;
std::mutex gLock; // guards everything below and the setting up and tearing down
std::function<void(int)> gOnSignal;
std::thread gWatcher;
bool gHandled[sizeof(Watched) / sizeof(Watched[0])] = {};

void OnSignal(int sig)
{
    int saved = errno;
    char c = char(sig);
    // The write end does not block: a full pipe already holds a wake-up.
    if (gWriteEnd >= 0)
        (void)!write(gWriteEnd, &c, 1);
    errno = saved;
}

void Watch(int readEnd)
{
    for (;;) {
        char c = 0;
        ssize_t n = read(readEnd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        // A zero byte (or the pipe's end) is the request to stop.
        if (n <= 0 || c == 0)
            return;
        std::function<void(int)> call;
        {
            std::lock_guard<std::mutex> l(gLock);
            call = gOnSignal;
        }
        if (call)
            call(int(static_cast<unsigned char>(c)));
    }
}

} // namespace

bool WatchTerminationSignals(std::function<void(int)> onSignal)
{
    std::lock_guard<std::mutex> l(gLock);
    gOnSignal = std::move(onSignal);
    if (gWatcher.joinable())
        return true;
    // The pipe, once made, stays for the life of the process: a handler that began on
    // another thread just before a stop may still write to it.
    if (gReadEnd < 0) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            ReportFailure(std::string("signal pipe: ") + std::strerror(errno));
            return false;
        }
        fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
        gReadEnd = fds[0];
        gWriteEnd = fds[1];
    }
    try {
        gWatcher = std::thread(Watch, gReadEnd);
    } catch (const std::exception& e) {
        ReportFailure(std::string("signal watcher: ") + e.what());
        return false;
    }
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigfillset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(Watched); ++i) {
        struct sigaction old {};
        sigaction(Watched[i], nullptr, &old);
        gHandled[i] = old.sa_handler != SIG_IGN;
        if (gHandled[i])
            sigaction(Watched[i], &sa, nullptr);
    }
    return true;
}

void StopWatchingTerminationSignals()
{
    std::thread watcher;
    {
        std::lock_guard<std::mutex> l(gLock);
        if (!gWatcher.joinable())
            return;
        struct sigaction sa {};
        sa.sa_handler = SIG_DFL;
        sigemptyset(&sa.sa_mask);
        for (size_t i = 0; i < std::size(Watched); ++i)
            if (gHandled[i])
                sigaction(Watched[i], &sa, nullptr);
        // The stop byte comes behind every signal already written, so those run first.
        const char stop = 0;
        while (write(gWriteEnd, &stop, 1) < 0 && (errno == EINTR || errno == EAGAIN))
            usleep(1000);
        watcher = std::move(gWatcher);
    }
    // Joined without the lock: the watcher takes it to read the function.
    watcher.join();
    std::lock_guard<std::mutex> l(gLock);
    gOnSignal = nullptr;
}

} // namespace plat
