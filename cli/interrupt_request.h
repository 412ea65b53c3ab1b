#pragma once

#include <csignal>

namespace orv {

// Turns the first Ctrl-C (SIGINT) or SIGTERM while it lives into a request that the render polls
// between frames, so an interrupted render leaves an unbroken run of frames from its first one. A
// second signal of the same kind finds the default handler again and ends the process at once,
// as users expect of a second Ctrl-C. The previous handlers come back on destruction.
class InterruptRequest {
public:
    InterruptRequest();
    ~InterruptRequest();
    InterruptRequest(const InterruptRequest&) = delete;
    InterruptRequest& operator=(const InterruptRequest&) = delete;

    bool Requested() const;
    // The signal that made the request, 0 while there is none.
    int Signal() const;

private:
    using Handler = void (*)(int);
    Handler previousInterrupt_ = nullptr;
    Handler previousTerminate_ = nullptr;
};

}  // namespace orv
