#include "vesk/event_flag.h"

#include <system_error>

namespace vesk {

void CEventFlag::Set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        flag_ = true;
        signalled_ = true;
    }
    cv_.notify_one();
}

void CEventFlag::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
    flag_ = false;
}

bool CEventFlag::IsSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return flag_;
}

int CEventFlag::Wait() {
    try {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return signalled_; });
        signalled_ = false;
        return 0;
    } catch (const std::system_error&) {
        return 2;
    }
}

}  // namespace vesk
