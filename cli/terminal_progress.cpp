#include "cli/terminal_progress.h"

#include <algorithm>
#include <cinttypes>
#include <string>

namespace orv {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string FormatDuration(double seconds) {
    const auto total = static_cast<std::uint64_t>(std::max(0.0, seconds) + 0.5);
    char text[48];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%" PRIu64 ":%02u:%02u", total / 3600, unsigned(total / 60 % 60),
                      unsigned(total % 60));
    } else {
        std::snprintf(text, sizeof text, "%u:%02u", unsigned(total / 60), unsigned(total % 60));
    }
    return text;
}

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* out, std::uint64_t totalFrames)
    : out_(out), totalFrames_(totalFrames) {}

void TerminalProgress::SetRange(int /*minimum*/, int maximum) {
    maximum_ = std::max(maximum, 1);
    start_ = Clock::now();
}

void TerminalProgress::SetPosition(int position) {
    // The first report (0) comes before any frame; every later one follows a written frame.
    if (started_) ++framesDone_;
    started_ = true;
    lastPosition_ = position;
    if (!drawn_ || framesDone_ == totalFrames_ || Clock::now() - lastDraw_ >= kRedrawInterval) Draw(position);
}

void TerminalProgress::Finish() {
    Draw(lastPosition_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void TerminalProgress::Draw(int position) {
    lastDraw_ = Clock::now();
    drawn_ = true;
    const double elapsed = std::chrono::duration<double>(lastDraw_ - start_).count();
    const double fps = elapsed > 0 && framesDone_ > 0 ? static_cast<double>(framesDone_) / elapsed : 0.0;

    const int filled = std::clamp(position, 0, maximum_) * kBarWidth / maximum_;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');

    std::string left = "--:--";
    if (framesDone_ == totalFrames_) {
        left = "0:00";
    } else if (fps > 0) {
        left = FormatDuration(static_cast<double>(totalFrames_ - framesDone_) / fps);
    }
    // "\r" returns to the line start; the trailing "\033[K" clears what a longer line left.
    std::fprintf(out_, "\r[%s] %" PRIu64 "/%" PRIu64 " frames  %.1f fps  %s left\033[K", bar.c_str(),
                 framesDone_, totalFrames_, fps, left.c_str());
    std::fflush(out_);
}

}  // namespace orv
