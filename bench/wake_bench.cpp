// layer: app_lib
// What a 10 ms tick costs on this machine before anything is drawn: the CPU time of the
// whole process per tick (all threads, user + system), for
//   - TimerWakeAlone: one thread woken by a 10 ms kernel timer, the least any program
//     that does something every 10 ms can spend;
//   - ThreadedTimerHandOver: the metronome's own tick path with an empty handler: the
//     worker of ZRThreadedTimer sleeps 10 ms and hands the tick over through Synchronize,
//     the GUI thread waits in poll on a wake descriptor, runs the hand-over and releases
//     the worker.
// Each runs 500 ticks (5 s). The counters are the process's CPU per tick and as a share
// of one core; the running program's share cannot fall below the second.
//
//   build-rel/bin/wake_bench

#include "app/CThreadedTimer.h"
#include "framework/core/Thread.h"

#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <thread>

namespace {

constexpr int kTicks = 500;
constexpr double kTickSeconds = 0.010;

double ProcessCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void Report(benchmark::State& state, double cpuSeconds, int64_t ticks)
{
    state.counters["process_cpu_us_per_tick"] = cpuSeconds * 1e6 / double(ticks);
    state.counters["share_of_one_core_pct"] = cpuSeconds / (double(ticks) * kTickSeconds) * 100.0;
}

// Reads an eventfd or timerfd after poll says it is ready.
void WaitOn(int fd)
{
    pollfd p { fd, POLLIN, 0 };
    while (poll(&p, 1, -1) < 0) {
    }
    uint64_t count = 0;
    if (read(fd, &count, sizeof count) != ssize_t(sizeof count))
        count = 0;
}

void BM_TimerWakeAlone(benchmark::State& state)
{
    const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    if (fd < 0) {
        state.SkipWithError("timerfd_create failed");
        return;
    }
    const itimerspec every { { 0, 10'000'000 }, { 0, 10'000'000 } };
    timerfd_settime(fd, 0, &every, nullptr);
    const double before = ProcessCpuSeconds();
    for (auto _ : state)
        WaitOn(fd);
    Report(state, ProcessCpuSeconds() - before, int64_t(state.iterations()));
    close(fd);
}
BENCHMARK(BM_TimerWakeAlone)->Iterations(kTicks)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ThreadedTimerHandOver(benchmark::State& state)
{
    MainThreadID = std::this_thread::get_id();
    SetSynchronizeShutdown(false);
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        state.SkipWithError("eventfd failed");
        return;
    }
    WakeMainThread = [wake] {
        const uint64_t one = 1;
        if (write(wake, &one, sizeof one) != ssize_t(sizeof one))
            return;
    };
    int ticks = 0;
    ZRThreadedTimer timer(true);
    timer.SetInterval(10);
    timer.SetOnTimer(TNotifyEvent::FromFunction([&ticks](TObject*) { ++ticks; }));
    timer.Resume();
    const double before = ProcessCpuSeconds();
    for (auto _ : state) {
        const int seen = ticks;
        while (ticks == seen) {
            WaitOn(wake);
            CheckSynchronize();
        }
    }
    const double cpu = ProcessCpuSeconds() - before;
    timer.Stop();
    WakeMainThread = nullptr;
    close(wake);
    Report(state, cpu, int64_t(state.iterations()));
}
BENCHMARK(BM_ThreadedTimerHandOver)->Iterations(kTicks)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
