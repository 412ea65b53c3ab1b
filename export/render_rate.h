#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace orv {

// Counts the frames of a render as they are written and estimates from the rate so far how long
// the rest will take: what both progress displays show under their bars.
class RenderRate {
public:
    using Clock = std::chrono::steady_clock;

    explicit RenderRate(std::uint64_t totalFrames, Clock::time_point start = Clock::now())
        : totalFrames_(totalFrames), start_(start) {}

    // Takes the job's progress reports: the first comes before any frame, every later one follows
    // a written frame.
    void PositionReported() {
        if (started_) ++framesDone_;
        started_ = true;
    }

    std::uint64_t FramesDone() const { return framesDone_; }
    std::uint64_t TotalFrames() const { return totalFrames_; }
    // Frames per second since the start; 0 before the first frame.
    double FramesPerSecond(Clock::time_point now = Clock::now()) const;
    // Seconds until the last frame at the rate so far; nothing while there is no rate yet.
    std::optional<double> SecondsLeft(Clock::time_point now = Clock::now()) const;

private:
    std::uint64_t totalFrames_;
    Clock::time_point start_;
    std::uint64_t framesDone_ = 0;
    bool started_ = false;
};

// "m:ss", or "h:mm:ss" from an hour on, rounded to the second; "--:--" for no estimate.
std::string FormatTimeLeft(std::optional<double> seconds);

}  // namespace orv
