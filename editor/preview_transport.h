#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "editor/preview_tick.h"
#include "engine/effect.h"

namespace orv {

// The preview's speeds, slowest first; it starts at 1 x, which steps exactly as the timer runs.
inline constexpr std::array<double, 5> kPreviewSpeeds{0.25, 0.5, 1.0, 2.0, 4.0};
inline constexpr std::size_t kNormalSpeedIndex = 2;

// The seek range the transport starts with, and the longest one it takes: a seek simulates every
// step up to its time while the window waits.
inline constexpr double kDefaultSeekLength = 10.0;
inline constexpr double kMaxSeekLength = 600.0;

// The preview's time under the user's control: playing or paused, the speed, single steps, the
// restart and the seek, and the time since the last restart. Playing at 1 x, a tick is exactly the
// preview tick of old; everything else leaves the effect as a fixed-step simulation from a
// restart would, so with a seed a moment can be found again.
class PreviewTransport {
public:
    explicit PreviewTransport(MillisecondClock clock);

    // The timer's tick. Playing: the emitters step by the elapsed time times the speed, and the
    // frame is drawn. Paused: nothing moves; the frame is drawn again when `redraw` asks for it
    // (an edit is to show at once).
    TickResult Tick(Effect& effect, const TickInputs& inputs, bool redraw);

    bool Playing() const { return playing_; }
    // Playing again starts the timing afresh, so the pause is not stepped over.
    void SetPlaying(bool playing);
    void TogglePlaying() { SetPlaying(!playing_); }

    std::size_t SpeedIndex() const { return speedIndex_; }
    double Speed() const { return kPreviewSpeeds[speedIndex_]; }
    // False (nothing changes) for an index beyond the speeds.
    bool SetSpeedIndex(std::size_t index);

    // Paused only: one step of 1 / fps seconds, drawn. While playing nothing happens (the result
    // says nothing was stepped).
    TickResult StepFrame(Effect& effect, const TickInputs& inputs, std::uint32_t fps);

    // Every emitter restarted as RestartAllEmitters does (the seed, if any, first), the time back
    // to 0. Playing goes on from there; paused, the empty start is drawn.
    TickResult Restart(Effect& effect, const TickInputs& inputs);

    // Restarts, simulates whole steps of 1 / fps seconds without drawing up to `seconds` (held to
    // 0 .. the seek length, rounded to the nearest step), pauses and draws that frame.
    TickResult Seek(Effect& effect, const TickInputs& inputs, double seconds, std::uint32_t fps);

    // The effect's state was changed behind the transport (a render stepped it, a new seed
    // applies): playing, the effect restarts; paused, the same moment is sought again.
    TickResult Replay(Effect& effect, const TickInputs& inputs, std::uint32_t fps);

    // A seed set, changed or removed since the last call shows at once (Replay). Nothing happens
    // (an empty result) while the seed is the one seen last.
    TickResult FollowSeed(Effect& effect, const TickInputs& inputs, std::uint32_t fps);

    // The current frame drawn again, nothing stepped.
    TickResult Redraw(Effect& effect, const TickInputs& inputs) { return ticker_.Redraw(effect, inputs); }

    // The emitters were restarted by someone else (a new or opened effect): the time starts at 0.
    void ResetTime() { time_ = 0; }

    // Seconds the emitters were stepped since the last restart.
    double Time() const { return time_; }

    double SeekLength() const { return seekLength_; }
    // False (nothing changes) unless 0 < seconds <= kMaxSeekLength.
    bool SetSeekLength(double seconds);

    PreviewTicker& Ticker() { return ticker_; }

private:
    TickResult Stepped(TickResult result);

    PreviewTicker ticker_;
    bool playing_ = true;
    std::size_t speedIndex_ = kNormalSpeedIndex;
    double time_ = 0;
    double seekLength_ = kDefaultSeekLength;
    std::optional<std::uint64_t> seed_;  // the seed FollowSeed saw last; a new effect has none
};

// Whole steps of 1 / fps seconds nearest to `seconds` (0 for a negative time).
std::uint64_t StepsIn(double seconds, std::uint32_t fps);

// Restarts every emitter and simulates `steps` steps of 1 / fps seconds without drawing, leaving
// the emitters as that many drawn frames would.
void SimulateFromRestart(Effect& effect, const SettingsSnapshot& settings, std::uint64_t steps, std::uint32_t fps);

}  // namespace orv
