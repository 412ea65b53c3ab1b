#include "vesk/task_pool.h"

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

void CTaskPool::Run(std::size_t count, const std::function<void(std::size_t)>& task) {
    if (count == 0) return;
    if (workers_.empty() || count == 1) {
        for (std::size_t index = 0; index < count; ++index) task(index);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        task_ = &task;
        count_ = count;
        next_.store(0);
        failure_ = nullptr;
        open_ = true;
        ++batch_;
    }
    wake_.notify_all();
    TakeTasks(task, count);

    std::exception_ptr failure;
    {
        std::unique_lock<std::mutex> hold(lock_);
        // Every index has been handed out; a worker that wakes from now on stays out, and those
        // still at work are waited for.
        open_ = false;
        idle_.wait(hold, [this] { return busyWorkers_ == 0; });
        task_ = nullptr;
        failure = failure_;
        failure_ = nullptr;
    }
    if (failure) std::rethrow_exception(failure);
}

void CTaskPool::WorkerLoop() {
    std::uint64_t seen = 0;
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        wake_.wait(hold, [&] { return quit_ || (open_ && batch_ != seen); });
        if (quit_) return;
        seen = batch_;
        const std::function<void(std::size_t)>& task = *task_;
        const std::size_t count = count_;
        ++busyWorkers_;
        hold.unlock();
        TakeTasks(task, count);
        hold.lock();
        if (--busyWorkers_ == 0) idle_.notify_one();
    }
}
