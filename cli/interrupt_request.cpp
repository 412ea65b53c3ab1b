#include "cli/interrupt_request.h"

namespace orv {
namespace {

// A handler may only store to a volatile sig_atomic_t; one process-wide value is what signals allow.
volatile std::sig_atomic_t g_signal = 0;

void RecordSignal(int signal) {
    g_signal = signal;
    std::signal(signal, SIG_DFL);
}

}  // namespace

InterruptRequest::InterruptRequest() {
    g_signal = 0;
    previousInterrupt_ = std::signal(SIGINT, RecordSignal);
    previousTerminate_ = std::signal(SIGTERM, RecordSignal);
}

InterruptRequest::~InterruptRequest() {
    std::signal(SIGINT, previousInterrupt_ == SIG_ERR ? SIG_DFL : previousInterrupt_);
    std::signal(SIGTERM, previousTerminate_ == SIG_ERR ? SIG_DFL : previousTerminate_);
}

bool InterruptRequest::Requested() const { return g_signal != 0; }

int InterruptRequest::Signal() const { return g_signal; }

}  // namespace orv
