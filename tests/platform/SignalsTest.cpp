// Termination signals reach the watcher's function on its own thread, signals the
// parent ignored stay ignored, and stopping gives the signals their default action back.
#include "platform/system/Signals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Received {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<int> signals;
    std::vector<std::thread::id> threads;

    void Add(int sig)
    {
        std::lock_guard<std::mutex> l(lock);
        signals.push_back(sig);
        threads.push_back(std::this_thread::get_id());
        changed.notify_all();
    }
    bool WaitFor(size_t n)
    {
        std::unique_lock<std::mutex> l(lock);
        return changed.wait_for(l, std::chrono::seconds(5), [&] { return signals.size() >= n; });
    }
};

void (*Disposition(int sig))(int)
{
    struct sigaction sa {};
    sigaction(sig, nullptr, &sa);
    return sa.sa_handler;
}

TEST(SignalsTest, EachSignalCallsTheFunctionOnTheWatcherThreadAndStopRestoresTheDefault)
{
    Received got;
    ASSERT_TRUE(plat::WatchTerminationSignals([&](int sig) { got.Add(sig); }));
    std::raise(SIGHUP);
    std::raise(SIGTERM);
    std::raise(SIGINT);
    ASSERT_TRUE(got.WaitFor(3));
    {
        std::lock_guard<std::mutex> l(got.lock);
        EXPECT_EQ(got.signals, (std::vector<int> { SIGHUP, SIGTERM, SIGINT }));
        for (std::thread::id t : got.threads)
            EXPECT_NE(t, std::this_thread::get_id());
    }
    plat::StopWatchingTerminationSignals();
    EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
    EXPECT_EQ(Disposition(SIGINT), SIG_DFL);
    EXPECT_EQ(Disposition(SIGHUP), SIG_DFL);
}

TEST(SignalsTest, ASignalTheParentIgnoredStaysIgnored)
{
    std::signal(SIGHUP, SIG_IGN);
    Received got;
    ASSERT_TRUE(plat::WatchTerminationSignals([&](int sig) { got.Add(sig); }));
    EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    EXPECT_NE(Disposition(SIGTERM), SIG_DFL);
    std::raise(SIGHUP);
    std::raise(SIGTERM);
    ASSERT_TRUE(got.WaitFor(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        std::lock_guard<std::mutex> l(got.lock);
        EXPECT_EQ(got.signals, (std::vector<int> { SIGTERM }));
    }
    plat::StopWatchingTerminationSignals();
    EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

} // namespace
