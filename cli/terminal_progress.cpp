#include "cli/terminal_progress.h"

#include <algorithm>
#include <cinttypes>
#include <string>

namespace orv {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* out, std::uint64_t totalFrames)
    : out_(out), rate_(totalFrames) {}

void TerminalProgress::SetRange(int /*minimum*/, int maximum) {
    maximum_ = std::max(maximum, 1);
    rate_ = RenderRate(rate_.TotalFrames());
}

void TerminalProgress::SetPosition(int position) {
    rate_.PositionReported();
    lastPosition_ = position;
    if (!drawn_ || rate_.FramesDone() == rate_.TotalFrames() || Clock::now() - lastDraw_ >= kRedrawInterval) {
        Draw(position);
    }
}

void TerminalProgress::Finish() {
    Draw(lastPosition_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void TerminalProgress::Draw(int position) {
    lastDraw_ = Clock::now();
    drawn_ = true;
    const int filled = std::clamp(position, 0, maximum_) * kBarWidth / maximum_;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');

    // "\r" returns to the line start; the trailing "\033[K" clears what a longer line left.
    std::fprintf(out_, "\r[%s] %" PRIu64 "/%" PRIu64 " frames  %.1f fps  %s left\033[K", bar.c_str(),
                 rate_.FramesDone(), rate_.TotalFrames(), rate_.FramesPerSecond(lastDraw_),
                 FormatTimeLeft(rate_.SecondsLeft(lastDraw_)).c_str());
    std::fflush(out_);
}

}  // namespace orv
