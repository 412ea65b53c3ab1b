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
// The particles that live on are moved one by one but may be updated through `runTasks`: an
// update draws no random number and touches its own particle only.
bool AdvanceEmitter(Emitter& emitter, double dt, bool sortForDrawing, const TaskRunner& runTasks = {});

// AdvanceEmitter for each of `emitters` in turn, with the particles' updates of all of them in one
// batch of tasks. Returns, for each emitter, what AdvanceEmitter would return.
std::vector<bool> AdvanceEmitters(std::span<Emitter* const> emitters, double dt, bool sortForDrawing,
                                  const TaskRunner& runTasks);

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
