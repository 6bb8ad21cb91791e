#pragma once
// TThread: a worker thread around std::thread, and the hand-over of work to the GUI
// thread (Synchronize / CheckSynchronize).
//
// A thread created suspended starts at Resume. One created running starts once its
// construction is complete: at the next CheckSynchronize on the GUI thread (the message
// loop wakes for it), or earlier when Resume, WaitFor or the destructor is called, so
// Execute never meets a half-built object. Execute runs unless the thread was
// terminated before it started; OnTerminate then runs on the GUI thread (through
// Synchronize); with FreeOnTerminate the object deletes itself last. An exception that
// leaves Execute ends the thread and is shown once through ThreadExceptionHandler. The
// destructor drops the thread's queued hand-overs (and refuses new ones, except
// OnTerminate), terminates the thread, starts it if it never ran, and waits for it; a
// derived class whose Execute uses its own members must call Terminate() and WaitFor() in
// its own destructor, since those members are gone before ~TThread runs. WaitFor called on
// the GUI thread keeps running handed-over calls, so a worker waiting in Synchronize can
// finish. The object's methods are for the thread that owns it, except Terminate,
// Terminated and Synchronize.

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

using TThreadMethod = std::function<void()>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended);
    ~TThread() override;

    void Resume();
    void Start() { Resume(); }
    bool Suspended() const { return !FStarted.load(); }
    void Terminate() { FTerminated.store(true); }
    bool Terminated() const { return FTerminated.load(); }
    // Waits until the thread has ended (OnTerminate included) and returns ReturnValue.
    // EThread when called from the thread itself or before the thread was started.
    int WaitFor();
    bool Finished() const { return FFinished.load(); }

    bool FreeOnTerminate = false;
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority value) { FPriority = value; }
    TNotifyEvent OnTerminate;
    int ReturnValue = 0;

    uint64_t Handle() const { return FHandle; }         // unique, non-zero
    std::thread::id ThreadID() const { return FThreadID; }

    // Runs method on the GUI thread and returns when it has run; an exception it raises
    // is raised again here. Called on the GUI thread it runs at once. Once shutdown has
    // begun, or when the hand-over is cancelled, it returns without running method.
    static void Synchronize(TThread* thread, TThreadMethod method);

protected:
    virtual void Execute() = 0;
    void Synchronize(TThreadMethod method) { Synchronize(this, std::move(method)); }
    template <class C>
    void Synchronize(void (C::*method)())
    {
        // The call returns only after method has run, so the lambda may hold the member
        // pointer by reference: two pointers fit in the function's own storage, and a
        // hand-over allocates nothing.
        C* self = static_cast<C*>(this);
        Synchronize(this, [self, &method] { (self->*method)(); });
    }

private:
    void Run();

    friend bool CheckSynchronize(int);
    void StartNow();
    static void HandOver(TThread* thread, TThreadMethod method, bool evenWhenDying);

    std::thread FThread;
    std::mutex FStartLock, FJoinLock;
    std::atomic<bool> FStarted { false }, FTerminated { false }, FFinished { false };
    TThreadPriority FPriority = tpNormal;
    bool FDying = false;   // guarded by the hand-over queue's lock
    uint64_t FHandle = 0;
    std::thread::id FThreadID;
};

// Runs the calls handed over by workers; returns true if any ran. With timeoutMs > 0 it
// first waits that long for one to arrive. GUI thread only (elsewhere it returns false).
bool CheckSynchronize(int timeoutMs = 0);
// From true on, Synchronize returns without running, and waiting workers are released.
void SetSynchronizeShutdown(bool shutdown);
// Drops the queued hand-overs of thread, releasing its worker without running them.
void CancelPendingSynchronize(TThread* thread);

// The GUI thread; set at start-up (the thread that initialises the program) and may be
// set again by the application before any worker starts.
extern std::atomic<std::thread::id> MainThreadID;
// Hooks the application sets once before any worker starts: WakeMainThread is called
// after each hand-over is queued; ThreadExceptionHandler shows an exception that ended a
// thread (on the GUI thread; without a handler it goes to stderr).
extern std::function<void()> WakeMainThread;
extern std::function<void(const Exception&)> ThreadExceptionHandler;
