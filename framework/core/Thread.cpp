#include "framework/core/Thread.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <vector>

std::atomic<std::thread::id> MainThreadID { std::this_thread::get_id() };
std::function<void()> WakeMainThread;
std::function<void(const Exception&)> ThreadExceptionHandler;

namespace {

struct SyncRequest {
    TThread* thread = nullptr;
    TThreadMethod method;
    bool keep = false;   // OnTerminate and error display survive the object's destruction
    std::exception_ptr error;
    enum State { Queued, Running, Done, Dropped } state = Queued;
};

struct SyncQueue {
    std::mutex lock;
    std::condition_variable done;     // workers wait here
    std::condition_variable arrived;  // the GUI thread waits here
    // One request at most per waiting worker: a vector keeps its storage, where a deque
    // would allocate and free blocks as the queue cycles.
    std::vector<SyncRequest*> queue;
    bool shutdown = false;
};

SyncQueue& Queue()
{
    static SyncQueue q;
    return q;
}

std::atomic<uint64_t> NextHandle { 1 };

// Threads created running whose start waits until their constructors have returned.
std::mutex PendingLock;
std::vector<TThread*> PendingStarts;

void Unpend(TThread* t)
{
    std::lock_guard<std::mutex> g(PendingLock);
    for (auto it = PendingStarts.begin(); it != PendingStarts.end(); ++it)
        if (*it == t) {
            PendingStarts.erase(it);
            return;
        }
}

void CancelHandOvers(TThread* thread, bool keepFinal);

bool OnMainThread()
{
    return std::this_thread::get_id() == MainThreadID.load();
}

} // namespace

void TThread::Synchronize(TThread* thread, TThreadMethod method)
{
    HandOver(thread, std::move(method), false);
}

void TThread::HandOver(TThread* thread, TThreadMethod method, bool evenWhenDying)
{
    if (OnMainThread()) {
        method();
        return;
    }
    SyncQueue& q = Queue();
    // The request lives on this worker's stack: the queue holds only its address, so this
    // function must not return before the GUI thread has marked it Done or Dropped, and
    // whoever marks it must not touch it afterwards.
    SyncRequest req;
    req.thread = thread;
    req.method = std::move(method);
    req.keep = evenWhenDying;
    {
        std::lock_guard<std::mutex> g(q.lock);
        // A thread whose object is being destroyed hands nothing more to its derived parts.
        if (q.shutdown || (thread && thread->FDying && !evenWhenDying))
            return;
        q.queue.push_back(&req);
    }
    q.arrived.notify_all();
    if (WakeMainThread)
        WakeMainThread();
    // State is read and written under the queue's lock only, so the final state seen here
    // is the last write to req; after the wait nobody else holds its address.
    std::unique_lock<std::mutex> g(q.lock);
    q.done.wait(g, [&] { return req.state == SyncRequest::Done || req.state == SyncRequest::Dropped; });
    if (req.error)
        std::rethrow_exception(req.error);
}

bool CheckSynchronize(int timeoutMs)
{
    if (!OnMainThread())
        return false;
    std::vector<TThread*> starts;
    {
        std::lock_guard<std::mutex> g(PendingLock);
        starts.swap(PendingStarts);
    }
    for (TThread* t : starts)
        t->StartNow();
    SyncQueue& q = Queue();
    std::unique_lock<std::mutex> g(q.lock);
    if (q.queue.empty() && timeoutMs > 0)
        q.arrived.wait_for(g, std::chrono::milliseconds(timeoutMs), [&] { return !q.queue.empty(); });
    // The calls queued now, taken one at a time so that a call run here can still cancel
    // the ones behind it (an owner destroyed by a handler drops its thread's hand-over).
    size_t count = q.queue.size();
    bool ran = false;
    for (size_t k = 0; k < count && !q.queue.empty(); ++k) {
        SyncRequest* r = q.queue.front();
        q.queue.erase(q.queue.begin());
        r->state = SyncRequest::Running;
        g.unlock();
        std::exception_ptr error;
        try {
            r->method();
        } catch (...) {
            error = std::current_exception();
        }
        g.lock();
        // The error is stored before the state, and r is not touched after: once the
        // worker sees Done it returns and its stack, which holds *r, is gone.
        r->error = error;
        r->state = SyncRequest::Done;
        ran = true;
        // Notified with the lock released, so that the woken worker does not at once
        // block on it again.
        g.unlock();
        q.done.notify_all();
        g.lock();
    }
    return ran;
}

void SetSynchronizeShutdown(bool shutdown)
{
    SyncQueue& q = Queue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.shutdown = shutdown;
        if (shutdown) {
            for (SyncRequest* r : q.queue)
                r->state = SyncRequest::Dropped;
            q.queue.clear();
        }
    }
    q.done.notify_all();
}

void CancelPendingSynchronize(TThread* thread)
{
    CancelHandOvers(thread, false);
}

namespace {

void CancelHandOvers(TThread* thread, bool keepFinal)
{
    SyncQueue& q = Queue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        for (auto it = q.queue.begin(); it != q.queue.end();) {
            if ((*it)->thread == thread && !(keepFinal && (*it)->keep)) {
                (*it)->state = SyncRequest::Dropped;
                it = q.queue.erase(it);
            } else {
                ++it;
            }
        }
    }
    q.done.notify_all();
}

} // namespace

TThread::TThread(bool CreateSuspended)
    : FHandle(NextHandle.fetch_add(1))
{
    if (CreateSuspended)
        return;
    {
        std::lock_guard<std::mutex> g(PendingLock);
        PendingStarts.push_back(this);
    }
    if (WakeMainThread)
        WakeMainThread();
}

TThread::~TThread()
{
    if (FThread.joinable() && std::this_thread::get_id() == FThread.get_id()) {
        // FreeOnTerminate: the thread deletes its own object as its last act.
        FThread.detach();
        return;
    }
    {
        std::lock_guard<std::mutex> g(Queue().lock);
        FDying = true;
    }
    CancelHandOvers(this, true);
    Terminate();
    StartNow();
    WaitFor();
}

void TThread::Resume()
{
    StartNow();
}

void TThread::StartNow()
{
    Unpend(this);
    std::lock_guard<std::mutex> g(FStartLock);
    if (FStarted.load())
        return;
    FStarted.store(true);
    FThread = std::thread([this] { Run(); });
    FThreadID = FThread.get_id();
}

int TThread::WaitFor()
{
    bool pending = false;
    {
        std::lock_guard<std::mutex> g(PendingLock);
        for (TThread* t : PendingStarts)
            pending = pending || t == this;
    }
    if (pending)
        StartNow();
    if (!FStarted.load())
        throw EThread("Cannot wait for a thread that was never started");
    std::lock_guard<std::mutex> g(FJoinLock);
    if (FThread.joinable() && std::this_thread::get_id() == FThread.get_id())
        throw EThread("A thread cannot wait for itself");
    // A worker may be blocked in Synchronize, waiting for this very thread to run its
    // call: the GUI thread keeps serving the queue until the worker is finished, instead
    // of blocking in join. Finishing signals nothing, so the queue wait is cut to 5 ms to
    // notice it soon.
    if (OnMainThread())
        while (!FFinished.load())
            CheckSynchronize(5);
    if (FThread.joinable())
        FThread.join();
    return ReturnValue;
}

void TThread::Run()
{
    {
        // StartNow has finished storing FThread and FThreadID.
        std::lock_guard<std::mutex> g(FStartLock);
    }
    std::exception_ptr failure;
    try {
        if (!Terminated())
            Execute();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure) {
        std::string text;
        try {
            std::rethrow_exception(failure);
        } catch (const Exception& e) {
            text = e.Message();
        } catch (const std::exception& e) {
            text = e.what();
        } catch (...) {
            text = "Unknown exception in a thread";
        }
        bool shown = false;
        if (ThreadExceptionHandler) {
            try {
                HandOver(this, [&] {
                    ThreadExceptionHandler(Exception(text));
                    shown = true;
                }, true);
            } catch (...) {
            }
        }
        if (!shown)
            std::fprintf(stderr, "Exception in thread: %s\n", text.c_str());
    }
    if (OnTerminate) {
        try {
            HandOver(this, [this] { OnTerminate(this); }, true);
        } catch (const Exception& e) {
            std::fprintf(stderr, "Exception in OnTerminate: %s\n", e.Message().c_str());
        } catch (...) {
        }
    }
    // FreeOnTerminate is read before Finished is published: the store is what other
    // threads synchronise with, so code that changes FreeOnTerminate or starts freeing the
    // object once it sees Finished cannot race with this read. After the store only the
    // local copy is used.
    bool freeSelf = FreeOnTerminate;
    FFinished.store(true);
    if (freeSelf)
        delete this;
}
