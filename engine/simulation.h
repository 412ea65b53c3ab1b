#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/emitter.h"
#include "engine/settings.h"
#include "render/frame_buffer.h"

namespace orv {

// One time step of an emitter: delay, update and retirement of particles, emission, duration
// countdown, sorting, the listener's notification and drawing into `target` (may be null).
// Returns true while the emitter is still inside its delay, otherwise the drawing's result
// (false without a target or without a texture image). The caller sets the origin first
// (SetEmitterOrigin) and copies the interpolation setting; `settings` choose the drawing's code path.
bool StepEmitter(Emitter& emitter, double dt, FrameBuffer* target, bool opaqueTarget,
                 const SettingsSnapshot& settings);

// Runs task(0) to task(count - 1), each once, in any order and possibly at the same time (on a
// pool of threads), and returns when all have run.
using TaskRunner = std::function<void(std::size_t count, const std::function<void(std::size_t)>& task)>;

// A step without its drawing: everything StepEmitter does before it draws, with the sorting done
// only when `sortForDrawing` (StepEmitter sorts when it has a target). Returns false while the
// emitter is still inside its delay, when the step draws nothing; true when its live particles
// are to be drawn (DrawEmitterSprites), which a frame drawn on several threads does afterwards.
bool AdvanceEmitter(Emitter& emitter, double dt, bool sortForDrawing);

// What the first part of a step leaves to the rest: whether the step is held in the delay, the
// step's length (the rest of the delay when the delay ends within the step) and whether the pool
// ran empty.
struct StartedStep {
    bool held = false;
    bool ranEmpty = false;
    double dt = 0;
};

// Steps the emitters of a frame together. It keeps the room it needs from one frame to the next,
// so that stepping a steady effect allocates nothing.
class EmitterStepper {
public:
    // AdvanceEmitter for each of `emitters` in turn, except that the look at every particle's age
    // and the particles' updates run for all emitters at once, through `runTasks` (neither draws a
    // random number, and each touches its own particle only). Returns, for each emitter, what
    // AdvanceEmitter would return; valid until the next call.
    const std::vector<bool>& Advance(std::span<Emitter* const> emitters, double dt, bool sortForDrawing,
                                     const TaskRunner& runTasks);

private:
    // Live particles [begin, end) of emitters[emitter].
    struct Piece {
        std::size_t emitter, begin, end;
    };

    // Cuts the live particles of the emitters that advance into pieces_; returns their count.
    std::size_t CutLive(std::span<Emitter* const> emitters);
    template <class Work>
    void ForEachPiece(const TaskRunner& runTasks, std::size_t live, const Work& work) const;

    std::vector<StartedStep> steps_;
    std::vector<bool> advanced_;
    std::vector<Piece> pieces_;
    std::vector<std::size_t> firstFlag_;  // where each emitter's flags start in dead_
    std::vector<std::uint8_t> dead_;  // one per live particle: whether it has died
};

// Whether a cycle's delay is still counting down, so the emitter's next step is held and shows
// nothing.
inline bool InDelay(const EmitterRuntime& runtime) {
    return runtime.remainingDuration != kEndless && runtime.delayCountdown > 0;
}

// Origin = (width / 2 + offset_x raw, height / 2 + offset_y raw), halves in integer division:
// the offsets act relative to the frame's centre.
void SetEmitterOrigin(Emitter& emitter, std::uint32_t frameWidth, std::uint32_t frameHeight);

// Zeroes duration, accumulator and origin, re-derives emission rate and capacity and fills the
// pool to capacity. The live count is kept.
void RestartEmitter(Emitter& emitter);

// Starts a new cycle: emission for `seconds` (0 = endless) after the delay. An emitter whose
// emission rate is 0 stays without emission.
void RearmEmitter(Emitter& emitter, double seconds);

// Grows the pool by `increment` particles, bounded by the capacity, and by at least one when
// the pool has no spare particle left and the capacity allows it.
void GrowPool(Emitter& emitter, std::int32_t increment);

// Start values of a newborn particle, drawn from the process-wide generator in a fixed order.
// Returns false when the drawn lifespan is 0 or less: the particle is discarded.
bool InitParticle(const Emitter& emitter, Particle& particle);

// Advances a particle by `step` seconds (never past the end of its life).
void UpdateParticle(const Emitter& emitter, Particle& particle, double step);

}  // namespace orv
