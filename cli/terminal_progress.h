#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "export/render_progress.h"
#include "export/render_rate.h"

namespace orv {

// A one-line progress bar for a terminal: frames done and total, frames per second, time left.
// It counts frames from the job's reports (one position after every written frame) and redraws
// at most ten times a second, plus once at the end.
class TerminalProgress final : public RenderProgress {
public:
    TerminalProgress(std::FILE* out, std::uint64_t totalFrames);

    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;
    void Finish() override;

private:
    using Clock = std::chrono::steady_clock;

    void Draw(int position);

    std::FILE* out_;
    RenderRate rate_;
    int maximum_ = 1000;
    int lastPosition_ = 0;
    bool drawn_ = false;
    Clock::time_point lastDraw_;
};

// Shows nothing (--quiet, or standard error is no terminal).
class SilentProgress final : public RenderProgress {
public:
    void SetRange(int, int) override {}
    void SetPosition(int) override {}
    void Finish() override {}
};

}  // namespace orv
