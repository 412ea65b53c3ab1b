#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/effect.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/frame_drawer.h"
#include "render/frame_buffer.h"

namespace orv {

// Most memory the copies of a loop's simulation may hold in particles.
inline constexpr std::size_t kMaxLoopCopyBytes = std::size_t{1} << 30;

// The warm-up a loop takes when none is given: the longest life any particle can have (lifespan
// + lifespan variance) plus that emitter's delay, over the effect's emitters, in whole steps of
// `dt` rounded up. After it the effect shows its settled state.
std::uint64_t DefaultLoopWarmUpSteps(const Effect& effect, double dt);

// A sequence of `length` frames that repeats without a seam. Step t is the state a plain render
// draws as its frame t (t + 1 steps after the restart). Every particle born in the `length` steps
// after the warm-up W (steps W + 1 to W + length) is shown in loop frame i at every step
// W + i + k · length (k = 0, 1, 2, ...) at which it lives; particles born outside that window are
// not shown. Frame `length` therefore shows exactly what frame 0 shows, and the sequence wraps.
//
// Rather than keeping `length` frames of pixels, the loop keeps copies of the simulation `length`
// steps apart: copy k stands at step W + i + k · length while frame i is drawn. Each copy holds
// its own emitter runtimes and its own random-generator words; stepping a copy swaps both into the
// effect and the process-wide generator, so every copy replays the one simulation exactly. There
// are as many copies as the window's longest-lived particle needs.
class SeamlessLoop {
public:
    // Restarts the effect (RestartAllEmitters) and simulates it far enough to set up the copies,
    // asking `stopRequested` between steps; after a stop, Stopped() says so and the loop is not to
    // be stepped. Throws std::length_error when the copies would hold more than kMaxLoopCopyBytes.
    SeamlessLoop(Effect& effect, const SettingsSnapshot& settings, double dt, std::uint64_t warmUpSteps,
                 std::uint64_t length, const std::function<bool()>& stopRequested);
    // Leaves the effect and the generator as the first copy stands: the loop's last frame.
    ~SeamlessLoop();
    SeamlessLoop(const SeamlessLoop&) = delete;
    SeamlessLoop& operator=(const SeamlessLoop&) = delete;

    bool Stopped() const { return stopped_; }
    std::size_t CopyCount() const { return copies_.size(); }

    // The next frame's steps without drawing: every copy one step on.
    void SimulateFrame();
    // The next frame: every copy one step on, then the background colour and, for each emitter in
    // list order, the window's particles of all copies together, in one order by the emitter's
    // sort rule, drawn band by band on the drawer's threads.
    void RenderFrame(FrameBuffer& target, FrameDrawer& drawer);

private:
    struct Copy {
        std::vector<EmitterRuntime> runtimes;  // one per emitter, in list order
        Xorshift128 generator;
    };

    Copy TakeCopy() const;
    // Exchanges the copy's runtimes and generator words with the effect's and the generator's.
    void Swap(Copy& copy);
    std::size_t CopyBytes(const Copy& copy) const;
    bool ShowsWindowParticles() const;
    bool InWindow(std::size_t emitter, const Particle& particle) const;

    Effect& effect_;
    const SettingsSnapshot settings_;
    const double dt_;
    bool stopped_ = false;
    std::vector<Copy> copies_;
    // The window's births per emitter: birth counts from windowStart_ up to windowEnd_.
    std::vector<std::uint64_t> windowStart_, windowEnd_;
    std::vector<std::vector<Particle>> gathered_;  // per emitter, reused from frame to frame
};

}  // namespace orv
