#include "framework/core/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A worker whose body is a callable; the callable only touches state owned by the test.
class TFnThread : public TThread {
public:
    TFnThread(bool suspended, std::function<void(TFnThread&)> body)
        : TThread(suspended)
        , FBody(std::move(body))
    {
    }
    ~TFnThread() override
    {
        // Execute uses FBody, which goes before ~TThread runs.
        Terminate();
        if (!Suspended())
            WaitFor();
    }
    using TThread::Synchronize;
    void SetResult(int v) { ReturnValue = v; }

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TFnThread&)> FBody;
};

// Pumps the GUI side until pred holds (or a generous limit passes).
template <class P>
bool PumpUntil(P pred)
{
    auto until = std::chrono::steady_clock::now() + 10s;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        CheckSynchronize(5);
    }
    return true;
}

// Counts hand-overs as they are queued (the wake hook runs right after queueing).
class WakeCounter {
public:
    WakeCounter()
        : FOld(WakeMainThread)
    {
        WakeMainThread = [this] { ++count; };
    }
    ~WakeCounter() { WakeMainThread = FOld; }
    void WaitFor(int n)
    {
        while (count.load() < n)
            std::this_thread::sleep_for(1ms);
    }
    std::atomic<int> count { 0 };

private:
    std::function<void()> FOld;
};

TEST(ThreadTest, SynchronizeRunsOnTheGuiThreadWhileTheWorkerWaits)
{
    std::atomic<int> step { 0 };
    std::atomic<bool> ranOnGui { false }, workerWaited { false };
    TFnThread t(true, [&](TFnThread& self) {
        step = 1;
        self.Synchronize([&] {
            ranOnGui = std::this_thread::get_id() == MainThreadID.load();
            std::this_thread::sleep_for(20ms);
            workerWaited = step.load() == 1;   // the worker has not gone on
            step = 2;
        });
        EXPECT_EQ(step.load(), 2);   // returns only after the method has run
        step = 3;
        self.SetResult(7);
    });
    EXPECT_EQ(step.load(), 0);   // created suspended
    t.Resume();
    EXPECT_EQ(t.WaitFor(), 7);
    EXPECT_TRUE(ranOnGui);
    EXPECT_TRUE(workerWaited);
    EXPECT_EQ(step.load(), 3);
}

TEST(ThreadTest, AnExceptionRaisedOnTheGuiThreadTravelsBack)
{
    std::string caught;
    TFnThread t(false, [&](TFnThread& self) {
        try {
            self.Synchronize([] { throw EConvertError("bad value"); });
        } catch (const EConvertError& e) {
            caught = e.Message();
        }
    });
    t.WaitFor();
    EXPECT_EQ(caught, "bad value");
}

TEST(ThreadTest, SynchronizeOnTheGuiThreadRunsAtOnce)
{
    bool ran = false;
    TThread::Synchronize(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(ThreadTest, ShutdownReleasesAWorkerBlockedInSynchronize)
{
    std::atomic<bool> methodRan { false }, returned { false };
    WakeCounter queued;
    TFnThread t(true, [&](TFnThread& self) {
        self.Synchronize([&] { methodRan = true; });
        returned = true;
    });
    t.Resume();
    queued.WaitFor(1);   // the worker now waits for the GUI thread
    std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(returned);
    SetSynchronizeShutdown(true);
    t.WaitFor();
    SetSynchronizeShutdown(false);
    EXPECT_TRUE(returned);
    EXPECT_FALSE(methodRan);
}

TEST(ThreadTest, CancelledHandOversAreDroppedAndOthersStillRun)
{
    std::atomic<bool> ranA { false }, ranB { false };
    WakeCounter queued;
    TFnThread a(true, [&](TFnThread& self) { self.Synchronize([&] { ranA = true; }); });
    a.Resume();
    queued.WaitFor(1);
    CancelPendingSynchronize(&a);
    a.WaitFor();
    EXPECT_FALSE(ranA);

    TFnThread b(false, [&](TFnThread& self) { self.Synchronize([&] { ranB = true; }); });
    b.WaitFor();
    EXPECT_TRUE(ranB);
}

std::atomic<int> gLoops { 0 };
std::atomic<bool> gExecuteEnded { false };

// Execute touches only globals, so the inherited destructor alone must stop it.
class TLoopThread : public TThread {
public:
    using TThread::TThread;

protected:
    void Execute() override
    {
        while (!Terminated()) {
            std::this_thread::sleep_for(1ms);
            Synchronize([] { ++gLoops; });
        }
        gExecuteEnded = true;
    }
};

TEST(ThreadTest, DestroyingARunningThreadStopsItEvenWhileItWaitsForTheGuiThread)
{
    gLoops = 0;
    gExecuteEnded = false;
    auto* t = new TLoopThread(false);
    ASSERT_TRUE(PumpUntil([] { return gLoops.load() >= 3; }));
    // No pumping now: the worker blocks in Synchronize; the destructor must still finish.
    std::this_thread::sleep_for(20ms);
    delete t;
    EXPECT_TRUE(gExecuteEnded);
}

std::atomic<bool> gQueuedRan { false }, gTerminateRan { false };

struct TTerminateHandler : TObject {
    void Done(TObject*) { gTerminateRan = true; }
};

class TOnceThread : public TThread {
public:
    TOnceThread() : TThread(false) { }

protected:
    void Execute() override
    {
        Synchronize([] { gQueuedRan = true; });
    }
};

TEST(ThreadTest, DestroyingAThreadDropsItsQueuedHandOverButStillRunsOnTerminate)
{
    gQueuedRan = gTerminateRan = false;
    TTerminateHandler handler;
    auto* t = new TOnceThread;
    t->OnTerminate = TNotifyEvent(&handler, &TTerminateHandler::Done);
    {
        WakeCounter queued;
        t->Resume();
        queued.WaitFor(1);   // the hand-over is queued
        delete t;
    }
    EXPECT_FALSE(gQueuedRan);
    EXPECT_TRUE(gTerminateRan);
}

TEST(ThreadTest, ATerminatedThreadThatNeverStartedDoesNotRunExecute)
{
    gExecuteEnded = false;
    gLoops = 0;
    auto* t = new TLoopThread(true);
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(t->Suspended());
    t->Terminate();
    delete t;
    EXPECT_FALSE(gExecuteEnded);
    EXPECT_EQ(gLoops.load(), 0);
}

std::atomic<bool> gDestroyed { false };

class TSelfFreeing : public TThread {
public:
    TSelfFreeing() : TThread(true) { FreeOnTerminate = true; }
    ~TSelfFreeing() override { gDestroyed = true; }
    std::atomic<bool>* terminateSeenOnGui = nullptr;
    void Terminated_(TObject* sender)
    {
        *terminateSeenOnGui = sender == this && std::this_thread::get_id() == MainThreadID.load()
            && !gDestroyed;
    }

protected:
    void Execute() override { std::this_thread::sleep_for(5ms); }
};

TEST(ThreadTest, FreeOnTerminateDeletesTheObjectAfterOnTerminate)
{
    gDestroyed = false;
    std::atomic<bool> seen { false };
    auto* t = new TSelfFreeing;
    t->terminateSeenOnGui = &seen;
    t->OnTerminate = TNotifyEvent(t, &TSelfFreeing::Terminated_);
    t->Resume();
    ASSERT_TRUE(PumpUntil([] { return gDestroyed.load(); }));
    EXPECT_TRUE(seen);
}

TEST(ThreadTest, AnExceptionLeavingExecuteIsShownOnceAndEndsOnlyThatThread)
{
    std::vector<std::string> shown;
    std::atomic<bool> onGui { false };
    auto old = ThreadExceptionHandler;
    ThreadExceptionHandler = [&](const Exception& e) {
        shown.push_back(e.Message());
        onGui = std::this_thread::get_id() == MainThreadID.load();
    };
    {
        TFnThread t(false, [](TFnThread&) { throw EInvalidOperation("worker failed"); });
        t.WaitFor();
    }
    ThreadExceptionHandler = old;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "worker failed");
    EXPECT_TRUE(onGui);
}

TEST(ThreadTest, ACreatedRunningThreadStartsAfterItsConstructorAndWakesTheLoop)
{
    std::atomic<int> wakes { 0 };
    auto old = WakeMainThread;
    WakeMainThread = [&] { ++wakes; };
    std::atomic<bool> ran { false };
    {
        TFnThread t(false, [&](TFnThread& self) {
            ran = true;
            self.Synchronize([] { });
        });
        EXPECT_GE(wakes.load(), 1);   // the pending start
        EXPECT_TRUE(PumpUntil([&] { return ran.load(); }));
        t.WaitFor();
    }
    WakeMainThread = old;
    EXPECT_GE(wakes.load(), 2);   // and the hand-over
}

TEST(ThreadTest, PriorityIsStoredAndHandlesDiffer)
{
    TFnThread a(true, [](TFnThread&) { });
    TFnThread b(true, [](TFnThread&) { });
    EXPECT_EQ(a.Priority(), tpNormal);
    a.SetPriority(tpHigher);
    EXPECT_EQ(a.Priority(), tpHigher);
    EXPECT_NE(a.Handle(), 0u);
    EXPECT_NE(a.Handle(), b.Handle());
    EXPECT_THROW(a.WaitFor(), EThread);   // never started
}

} // namespace
