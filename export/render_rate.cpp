#include "export/render_rate.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace orv {

double RenderRate::FramesPerSecond(Clock::time_point now) const {
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    return elapsed > 0 && framesDone_ > 0 ? static_cast<double>(framesDone_) / elapsed : 0.0;
}

std::optional<double> RenderRate::SecondsLeft(Clock::time_point now) const {
    if (framesDone_ >= totalFrames_) return 0.0;
    const double rate = FramesPerSecond(now);
    if (rate <= 0) return std::nullopt;
    return static_cast<double>(totalFrames_ - framesDone_) / rate;
}

std::string FormatTimeLeft(std::optional<double> seconds) {
    if (!seconds) return "--:--";
    const auto total = static_cast<std::uint64_t>(std::max(0.0, *seconds) + 0.5);
    char text[48];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02u:%02u", total / 3600, unsigned(total / 60 % 60),
                      unsigned(total % 60));
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", unsigned(total / 60), unsigned(total % 60));
    }
    return text;
}

}  // namespace orv
