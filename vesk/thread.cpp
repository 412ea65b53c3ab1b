#include "vesk/thread.h"

#include <exception>
#include <system_error>

namespace vesk {

namespace {

// Joins a thread; on failure detaches it so the object can still be reused.
bool JoinOrAbandon(std::thread& t) {
    try {
        t.join();
        return true;
    } catch (const std::system_error&) {
        if (t.joinable()) t.detach();
        return false;
    }
}

}  // namespace

CThread::~CThread() {
    if (Stop() == 2) {
        // Destroyed from its own worker: the thread cannot join itself.
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (thread_ && thread_->joinable()) thread_->detach();
        thread_.reset();
        threadId_ = std::thread::id();
    }
}

void CThread::ThreadProc(CThread* self) {
    self->started_.Set();
    self->Run();
}

void CThread::Run() {
    started_.Set();
}

void CThread::RequestStop() {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    stopRequest_.Set();
}

bool CThread::IsStopRequested() const {
    return stopRequest_.IsSet();
}

int CThread::Start() {
    std::unique_lock<std::recursive_mutex> lock(lock_);
    // Stop any previous run. The lock is released while joining (as Stop does), so a worker that
    // calls RequestStop on itself cannot deadlock against this join.
    while (thread_) {
        if (std::this_thread::get_id() == threadId_) return -1;  // a worker cannot restart itself
        stopRequest_.Set();
        std::unique_ptr<std::thread> old = std::move(thread_);
        threadId_ = std::thread::id();
        lock.unlock();
        JoinOrAbandon(*old);
        lock.lock();
    }
    stopRequest_.Reset();
    started_.Reset();
    try {
        thread_ = std::make_unique<std::thread>(&CThread::ThreadProc, this);
    } catch (const std::exception&) {
        thread_.reset();
        return -1;
    }
    threadId_ = thread_->get_id();
    // The lock is held until the worker has started, so no Stop or RequestStop from another
    // thread comes in between creation and start.
    return started_.Wait();
}

int CThread::Stop() {
    std::unique_lock<std::recursive_mutex> lock(lock_);
    RequestStop();
    if (!thread_) return 0;
    if (std::this_thread::get_id() == threadId_) return 2;
    std::unique_ptr<std::thread> worker = std::move(thread_);
    threadId_ = std::thread::id();
    lock.unlock();
    const bool joined = JoinOrAbandon(*worker);
    return joined ? 0 : 1;
}

}  // namespace vesk
