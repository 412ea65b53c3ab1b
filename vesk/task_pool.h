#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vesk {

// A fixed set of worker threads that live as long as the pool and run numbered tasks together
// with the calling thread. Frames are drawn dozens of times a second, so threads are started once
// instead of per frame. Between batches the workers sleep on a condition variable, but first they
// watch for the next batch for a moment: a sleeping thread takes a long while to wake (longest on
// a virtual machine, whose idle processor is handed back to the host), and a frame's batches come
// in quick succession.
class CTaskPool {
public:
    // `threads` counts every thread that runs tasks, the caller included; 0 is taken as 1.
    explicit CTaskPool(std::size_t threads);
    CTaskPool(const CTaskPool&) = delete;
    CTaskPool& operator=(const CTaskPool&) = delete;
    // Ends and joins the workers.
    ~CTaskPool();

    std::size_t Threads() const { return workers_.size() + 1; }

    // Runs task(0) to task(count - 1), each exactly once, on the workers and the caller, and
    // returns when all have finished. Tasks are handed out in index order to whichever thread is
    // free. The first exception a task throws is rethrown here once every task has ended. Not
    // reentrant: one batch at a time, from one thread.
    void Run(std::size_t count, const std::function<void(std::size_t)>& task);

    // Says that a batch follows within a few milliseconds: the workers wake now and watch for it,
    // so that it starts on every thread at once. Costs nothing but a little processor time.
    void Rouse();

private:
    using Clock = std::chrono::steady_clock;

    void WorkerLoop();
    // Takes tasks of the current batch until none is left.
    void TakeTasks(const std::function<void(std::size_t)>& task, std::size_t count);
    // Spins until a batch other than `seen` is published, the pool ends, or the watch is over.
    void Watch(std::uint64_t seen, Clock::time_point until) const;

    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    // The current batch, guarded by lock_. Workers join it only while it is open.
    const std::function<void(std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    std::uint64_t batch_ = 0;
    bool open_ = false;
    bool quit_ = false;
    std::uint64_t rousals_ = 0;
    std::size_t sleepers_ = 0;
    std::exception_ptr failure_;
    // Changed under lock_ only; read without it by the threads that watch.
    std::atomic<std::size_t> busyWorkers_{0};
    std::atomic<std::uint64_t> published_{0};
    std::atomic<bool> quitting_{false};
    std::atomic<Clock::rep> rousedUntil_{0};
    // Next task index of the current batch; reset only while no worker is in a batch.
    std::atomic<std::size_t> next_{0};
    std::vector<std::thread> workers_;
};

}  // namespace vesk
