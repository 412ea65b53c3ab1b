#include "vesk/task_pool.h"

#include <algorithm>

#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__) || defined(_M_IX86)
#include <emmintrin.h>
#define VESK_SPIN_PAUSE() _mm_pause()
#else
#define VESK_SPIN_PAUSE() ((void)0)
#endif

namespace vesk {

namespace {
// How long a worker watches for the next batch after one: longer than the gaps between the
// batches of one frame, far shorter than the pause between frames of an animation.
constexpr auto kWatchAfterBatch = std::chrono::microseconds(500);
// How long a roused worker watches: the work before the batch (stepping a frame) takes about a
// millisecond.
constexpr auto kWatchAfterRousal = std::chrono::milliseconds(4);
// How long the caller watches for the workers to finish before it sleeps: short, since with more
// threads than processors its watching would hold up the workers it waits for.
constexpr auto kWatchForWorkers = std::chrono::microseconds(200);
// Spins between looks at the clock.
constexpr int kSpinsPerLook = 64;

template <class Done>
void SpinUntil(std::chrono::steady_clock::time_point until, Done done) {
    for (;;) {
        for (int spin = 0; spin < kSpinsPerLook; ++spin) {
            if (done()) return;
            VESK_SPIN_PAUSE();
        }
        if (std::chrono::steady_clock::now() >= until) return;
        // A worker that waits for a processor is let in rather than kept out by the watch.
        std::this_thread::yield();
    }
}
}  // namespace

CTaskPool::CTaskPool(std::size_t threads) {
    const std::size_t workers = threads > 1 ? threads - 1 : 0;
    workers_.reserve(workers);
    try {
        for (std::size_t i = 0; i < workers; ++i) workers_.emplace_back([this] { WorkerLoop(); });
    } catch (...) {
        // The workers already started must not outlive the half-built pool.
        {
            std::lock_guard<std::mutex> hold(lock_);
            quit_ = true;
            quitting_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
        throw;
    }
}

CTaskPool::~CTaskPool() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        quit_ = true;
        quitting_ = true;
    }
    wake_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void CTaskPool::TakeTasks(const std::function<void(std::size_t)>& task, std::size_t count) {
    for (std::size_t index = next_.fetch_add(1); index < count; index = next_.fetch_add(1)) {
        try {
            task(index);
        } catch (...) {
            std::lock_guard<std::mutex> hold(lock_);
            if (!failure_) failure_ = std::current_exception();
        }
    }
}

void CTaskPool::Watch(std::uint64_t seen, Clock::time_point until) const {
    until = std::max(until, Clock::time_point(Clock::duration(rousedUntil_.load(std::memory_order_relaxed))));
    SpinUntil(until, [&] { return published_.load(std::memory_order_acquire) != seen || quitting_.load(); });
}

void CTaskPool::Rouse() {
    if (workers_.empty()) return;
    rousedUntil_.store((Clock::now() + kWatchAfterRousal).time_since_epoch().count(),
                       std::memory_order_relaxed);
    bool sleeping = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        ++rousals_;
        sleeping = sleepers_ > 0;
    }
    if (sleeping) wake_.notify_all();
}

void CTaskPool::Run(std::size_t count, const std::function<void(std::size_t)>& task) {
    if (count == 0) return;
    if (workers_.empty() || count == 1) {
        for (std::size_t index = 0; index < count; ++index) task(index);
        return;
    }
    bool sleeping = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        task_ = &task;
        count_ = count;
        next_.store(0);
        failure_ = nullptr;
        open_ = true;
        published_.store(++batch_, std::memory_order_release);
        sleeping = sleepers_ > 0;
    }
    if (sleeping) wake_.notify_all();
    TakeTasks(task, count);

    std::exception_ptr failure;
    {
        std::unique_lock<std::mutex> hold(lock_);
        // Every index has been handed out; a worker that comes from now on stays out, and those
        // still at work are waited for.
        open_ = false;
        if (busyWorkers_ != 0) {
            hold.unlock();
            SpinUntil(Clock::now() + kWatchForWorkers, [this] { return busyWorkers_.load() == 0; });
            hold.lock();
            idle_.wait(hold, [this] { return busyWorkers_ == 0; });
        }
        task_ = nullptr;
        failure = failure_;
        failure_ = nullptr;
    }
    if (failure) std::rethrow_exception(failure);
}

void CTaskPool::WorkerLoop() {
    std::uint64_t seen = 0, seenRousals = 0;
    auto watchUntil = Clock::now();
    for (;;) {
        Watch(seen, watchUntil);
        std::unique_lock<std::mutex> hold(lock_);
        ++sleepers_;
        wake_.wait(hold, [&] { return quit_ || (open_ && batch_ != seen) || rousals_ != seenRousals; });
        --sleepers_;
        if (quit_) return;
        seenRousals = rousals_;
        const bool join = open_ && batch_ != seen;
        // A batch closed before this worker came is not its to run.
        seen = batch_;
        if (!join) {
            // Roused ahead of a batch: watch for it awake.
            watchUntil = Clock::now();
            continue;
        }
        const std::function<void(std::size_t)>& task = *task_;
        const std::size_t count = count_;
        ++busyWorkers_;
        hold.unlock();
        TakeTasks(task, count);
        hold.lock();
        if (--busyWorkers_ == 0) idle_.notify_one();
        watchUntil = Clock::now() + kWatchAfterBatch;
    }
}

}  // namespace vesk
