#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "vesk/event_flag.h"

namespace vesk {

// Worker-thread base class with a stop/started handshake.
//
// Derived classes override Run() and poll IsStopRequested() between units of work. A derived
// class whose Run() uses its own members must call Stop() in its own destructor: the base
// destructor joins too, but by then the derived part is already gone.
class CThread {
public:
    CThread() = default;
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;
    // Stop() (joins the worker). Destroying the object from its own worker detaches the thread.
    virtual ~CThread();

    // Stops and joins any previous run, then starts a new worker and waits until it has raised
    // the started signal. 0 = started; -1 = the thread cannot be created (also when called from
    // the worker itself); 1 = the started wait timed out; 2 = that wait failed.
    int Start();
    // Requests a stop and joins the worker, without holding the thread lock while joining.
    // 0 = no worker, or the worker was joined; 1 = the join failed; 2 = called from the worker
    // itself (nothing joined, returns at once).
    int Stop();
    // Sets the stop request under the thread lock; does not wait.
    void RequestStop();
    bool IsStopRequested() const;

protected:
    // Runs on the worker. The base version only raises the started signal (the thread procedure
    // has raised it already before calling Run).
    virtual void Run();

    // The started signal, for overrides that raise it themselves.
    CEventFlag& StartedSignal() { return started_; }

private:
    static void ThreadProc(CThread* self);

    std::unique_ptr<std::thread> thread_;  // null when no thread
    std::thread::id threadId_;             // default (no thread) when none
    std::recursive_mutex lock_;            // serialises Start, Stop and RequestStop
    CEventFlag stopRequest_;
    CEventFlag started_;
};

}  // namespace vesk
