#include "editor/preview_transport.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orv {

PreviewTransport::PreviewTransport(MillisecondClock clock) : ticker_(std::move(clock)) {}

TickResult PreviewTransport::Tick(Effect& effect, const TickInputs& inputs, bool redraw) {
    if (playing_) return Stepped(ticker_.Tick(effect, inputs, Speed()));
    if (redraw) return ticker_.Redraw(effect, inputs);
    return {};
}

void PreviewTransport::SetPlaying(bool playing) {
    if (playing && !playing_) ticker_.RestartTiming();
    playing_ = playing;
}

bool PreviewTransport::SetSpeedIndex(std::size_t index) {
    if (index >= kPreviewSpeeds.size()) return false;
    speedIndex_ = index;
    return true;
}

TickResult PreviewTransport::StepFrame(Effect& effect, const TickInputs& inputs, std::uint32_t fps) {
    if (playing_ || fps == 0) return {};
    return Stepped(ticker_.Step(effect, inputs, 1.0 / fps));
}

TickResult PreviewTransport::Restart(Effect& effect, const TickInputs& inputs) {
    effect.RestartAllEmitters(inputs.settings);
    time_ = 0;
    if (playing_) return {};
    return ticker_.Redraw(effect, inputs);
}

TickResult PreviewTransport::Seek(Effect& effect, const TickInputs& inputs, double seconds, std::uint32_t fps) {
    if (fps == 0) return {};
    const std::uint64_t steps = StepsIn(std::clamp(seconds, 0.0, seekLength_), fps);
    SimulateFromRestart(effect, inputs.settings, steps, fps);
    time_ = static_cast<double>(steps) / fps;
    playing_ = false;
    return ticker_.Redraw(effect, inputs);
}

TickResult PreviewTransport::FollowSeed(Effect& effect, const TickInputs& inputs, std::uint32_t fps) {
    if (effect.Seed() == seed_) return {};
    seed_ = effect.Seed();
    return Replay(effect, inputs, fps);
}

TickResult PreviewTransport::Replay(Effect& effect, const TickInputs& inputs, std::uint32_t fps) {
    if (playing_) return Restart(effect, inputs);
    return Seek(effect, inputs, time_, fps);
}

bool PreviewTransport::SetSeekLength(double seconds) {
    if (!(seconds > 0 && seconds <= kMaxSeekLength)) return false;
    seekLength_ = seconds;
    return true;
}

TickResult PreviewTransport::Stepped(TickResult result) {
    time_ += result.seconds;
    return result;
}

std::uint64_t StepsIn(double seconds, std::uint32_t fps) {
    if (!(seconds > 0)) return 0;
    return static_cast<std::uint64_t>(std::llround(seconds * fps));
}

void SimulateFromRestart(Effect& effect, const SettingsSnapshot& settings, std::uint64_t steps, std::uint32_t fps) {
    effect.RestartAllEmitters(settings);
    const double dt = 1.0 / fps;
    for (std::uint64_t step = 0; step < steps; ++step) effect.SimulateFrame(dt, settings);
}

}  // namespace orv
