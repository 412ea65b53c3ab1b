#pragma once

#include <condition_variable>
#include <mutex>

namespace vesk {

// A boolean flag mirrored by an auto-reset event. The flag is the truth pollers read;
// the event only wakes waiters. Both live under one lock here.
class CEventFlag {
public:
    CEventFlag() = default;
    CEventFlag(const CEventFlag&) = delete;
    CEventFlag& operator=(const CEventFlag&) = delete;
    ~CEventFlag() = default;

    // Sets the flag and signals the event (wakes one waiter, or the next Wait if none waits).
    void Set();
    // Clears the event and the flag.
    void Reset();
    bool IsSet() const;

    // Waits without time limit until the event is signalled, consuming the signal (auto-reset).
    // 0 = signalled, 1 = timed out (never happens here), 2 = any other failure.
    int Wait();

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;  // the event
    bool flag_ = false;       // the flag
};

}  // namespace vesk
