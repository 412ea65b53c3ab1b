#include "engine/simulation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/emitter_drawing.h"
#include "engine/random.h"

namespace orv {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kHalfPi = 1.5707963267948966;
// Amplitudes, frequencies, cycles and movements this close to zero count as zero.
constexpr double kNearZero = 5e-9;

// base ± variance: one fresh draw.
double Vary(double base, double variance) {
    return base + RandomSigned() * variance;
}

// The colour variant of Vary, in single precision throughout.
float VaryColour(float base, float variance) {
    return base + static_cast<float>(RandomSigned()) * variance;
}

// A colour channel clamped to 0..1 as a byte. NaN, which a particle with a vanishing lifespan
// can reach, counts as 0 rather than reaching an undefined conversion.
std::uint32_t ColourByte(float channel) {
    const float clamped = channel > 0.0f ? (channel < 1.0f ? channel : 1.0f) : 0.0f;
    return static_cast<std::uint32_t>(clamped * 255.0f);
}

// Moves a particle by the change of amplitude x sin(frequency x age) since its last step, along
// (towardsX, towardsY). A negated direction gives the same bits as subtracting the product.
void Oscillate(Particle& particle, double amplitude, double frequency, double& previousOffset,
               double towardsX, double towardsY) {
    if (!(std::fabs(amplitude) > kNearZero && std::fabs(frequency) > kNearZero)) return;
    const double offset = std::sin(frequency * particle.age) * amplitude;
    const double delta = offset - previousOffset;
    previousOffset = offset;
    particle.x = particle.x + delta * towardsX;
    particle.y = particle.y + delta * towardsY;
}

// Frame of a duration walk: the first index at which the remaining milliseconds reach 0 or less,
// 0 when the walk passes the end of the list.
std::uint32_t WalkDurations(const std::vector<std::uint32_t>& durations, std::int64_t milliseconds) {
    for (std::size_t i = 0; i < durations.size(); ++i) {
        milliseconds -= durations[i];
        if (milliseconds <= 0) return static_cast<std::uint32_t>(i);
    }
    return 0;
}

// Whole milliseconds of a non-negative number of seconds, saturating instead of overflowing.
std::int64_t Milliseconds(double seconds) {
    const double ms = seconds * 1000.0;
    if (!(ms < 9.0e18)) return ms > 0 ? std::int64_t{9'000'000'000'000'000'000} : 0;
    if (!(ms > -9.0e18)) return 0;
    return static_cast<std::int64_t>(ms);
}

std::uint32_t AnimatedFrame(const TextureSettings& texture, const Particle& particle) {
    const std::uint32_t frames = texture.FrameCount();
    const std::vector<std::uint32_t>& durations = texture.FrameDurations();
    const std::int64_t listed = static_cast<std::int64_t>(durations.size());
    const std::int64_t total = texture.TotalAnimationTime();
    std::int64_t age = Milliseconds(particle.age);
    std::uint32_t frame = 0;
    if (listed >= frames) {
        if (total != 0) age %= total;  // the animation loops
        frame = WalkDurations(durations, age);
    } else if (listed > 0) {
        if (age < total) {
            frame = WalkDurations(durations, age % total);
        } else {
            // The listed durations time the first frames once; the rest share the remaining
            // life evenly.
            const std::int64_t per = (Milliseconds(particle.lifespan) - total) / (frames - listed);
            if (per < 1) {
                frame = static_cast<std::uint32_t>(listed);
            } else {
                const std::int64_t index = (age - total) / per + listed;
                frame = static_cast<std::uint32_t>(std::min<std::int64_t>(index, frames - 1));
            }
        }
    } else {
        const double index = particle.age / (particle.lifespan / frames);
        frame = index < frames - 1 ? static_cast<std::uint32_t>(index) : frames - 1;
    }
    // A duration list longer than the grid must not name a frame outside it.
    return std::min(frame, frames - 1);
}

}  // namespace

void SetEmitterOrigin(Emitter& emitter, std::uint32_t frameWidth, std::uint32_t frameHeight) {
    emitter.runtime.originX =
        static_cast<double>(std::int64_t{frameWidth / 2} + emitter.params.raw[kOffsetX]);
    emitter.runtime.originY =
        static_cast<double>(std::int64_t{frameHeight / 2} + emitter.params.raw[kOffsetY]);
}

void GrowPool(Emitter& emitter, std::int32_t increment) {
    EmitterRuntime& runtime = emitter.runtime;
    // Doubling an empty pool adds nothing; an emitter stepped after a clear still needs a slot.
    const std::int64_t wanted = std::int64_t{runtime.allocatedCount} + std::max(increment, 1);
    const std::int32_t count = static_cast<std::int32_t>(std::min<std::int64_t>(wanted, runtime.capacity));
    if (count > 0 && static_cast<std::size_t>(count) > runtime.pool.size()) runtime.pool.resize(count);
    runtime.allocatedCount = count;
}

void RestartEmitter(Emitter& emitter) {
    EmitterRuntime& runtime = emitter.runtime;
    runtime.remainingDuration = 0;
    runtime.emissionAccumulator = 0;
    runtime.originX = 0;
    runtime.originY = 0;
    runtime.emissionRate = emitter.values.maxParticles / emitter.values.lifespan;
    runtime.capacity = std::min(emitter.values.maxParticles, kMaxCapacity);
    GrowPool(emitter, emitter.values.maxParticles);
}

void RearmEmitter(Emitter& emitter, double seconds) {
    EmitterRuntime& runtime = emitter.runtime;
    runtime.remainingDuration = 0;
    if (runtime.emissionRate != 0) runtime.remainingDuration = seconds != 0 ? seconds : kEndless;
    runtime.delayCountdown = emitter.values.delay;
}

bool InitParticle(const Emitter& emitter, Particle& particle) {
    const EmitterValues& values = emitter.values;
    const EmitterRuntime& runtime = emitter.runtime;

    const double lifespan = Vary(values.lifespan, values.lifespanVariance);
    if (lifespan <= 0) return false;

    particle.x = Vary(runtime.originX, values.xVariance);
    particle.y = Vary(runtime.originY, values.yVariance);
    particle.birthX = particle.x;
    particle.birthY = particle.y;
    particle.age = 0;
    particle.lifespan = lifespan;

    const double angle = Vary(values.emitterAngle, values.emitterAngleVariance);
    const double speed = Vary(values.speed, values.speedVariance);
    particle.emissionCos = std::cos(angle);
    particle.emissionSin = std::sin(angle);
    particle.velocityX = particle.emissionCos * speed;
    particle.velocityY = particle.emissionSin * speed;

    particle.radius = Vary(values.maxRadius, values.maxRadiusVariance);
    particle.radiusRate = values.maxRadius / lifespan;
    particle.orbitAngle = Vary(values.emitterAngle, values.emitterAngleVariance);
    particle.angularVelocity = Vary(values.degPerSec, values.degPerSecVar);
    particle.radialAcceleration = Vary(values.radAcc, values.radAccVar);
    particle.tangentialAcceleration = Vary(values.tanAcc, values.tanAccVar);

    double startSize = Vary(values.startSize, values.startSizeVariance);
    double finishSize = Vary(values.finishSize, values.finishSizeVariance);
    if (startSize < 0.1) startSize = 0.1;
    if (finishSize < 0.1) finishSize = 0.1;
    const double frameWidth = emitter.texture.FrameWidth();
    particle.sizeScale = startSize / frameWidth;
    particle.sizeRate = ((finishSize - startSize) / lifespan) / frameWidth;

    particle.horizontalAmplitude = Vary(values.horAmplitude, values.horAmplitudeVar);
    particle.verticalAmplitude = Vary(values.verAmplitude, values.verAmplitudeVar);
    const double horizontalCycle = Vary(values.horCycle, values.horCycleVar);
    particle.horizontalFrequency = std::fabs(horizontalCycle) > kNearZero ? kTwoPi / horizontalCycle : 0;
    const double verticalCycle = Vary(values.verCycle, values.verCycleVar);
    particle.verticalFrequency = std::fabs(verticalCycle) > kNearZero ? kTwoPi / verticalCycle : 0;
    particle.previousHorizontalOffset = 0;
    particle.previousVerticalOffset = 0;

    const ColourF& start = values.startColor;
    const ColourF& startVariance = values.startColorVariance;
    particle.alpha = start.alpha;
    particle.red = start.red;
    particle.green = start.green;
    particle.blue = start.blue;
    if (startVariance.red != 0) particle.red = VaryColour(particle.red, startVariance.red);
    if (startVariance.green != 0) particle.green = VaryColour(particle.green, startVariance.green);
    if (startVariance.blue != 0) particle.blue = VaryColour(particle.blue, startVariance.blue);
    if (startVariance.alpha != 0) particle.alpha = VaryColour(particle.alpha, startVariance.alpha);

    const ColourF& finish = values.finishColor;
    const ColourF& finishVariance = values.finishColorVariance;
    if (emitter.params.colorConstant) {
        float finishAlpha = finish.alpha;
        if (finishVariance.alpha != 0) finishAlpha = VaryColour(finishAlpha, finishVariance.alpha);
        particle.redRate = 0;
        particle.greenRate = 0;
        particle.blueRate = 0;
        particle.alphaRate = static_cast<float>((finishAlpha - particle.alpha) / lifespan);
    } else {
        float finishRed = finish.red;
        float finishGreen = finish.green;
        float finishBlue = finish.blue;
        float finishAlpha = finish.alpha;
        if (finishVariance.red != 0) finishRed = VaryColour(finishRed, finishVariance.red);
        if (finishVariance.green != 0) finishGreen = VaryColour(finishGreen, finishVariance.green);
        if (finishVariance.blue != 0) finishBlue = VaryColour(finishBlue, finishVariance.blue);
        if (finishVariance.alpha != 0) finishAlpha = VaryColour(finishAlpha, finishVariance.alpha);
        particle.redRate = static_cast<float>((finishRed - particle.red) / lifespan);
        particle.greenRate = static_cast<float>((finishGreen - particle.green) / lifespan);
        particle.blueRate = static_cast<float>((finishBlue - particle.blue) / lifespan);
        particle.alphaRate = static_cast<float>((finishAlpha - particle.alpha) / lifespan);
    }

    particle.rotation = Vary(values.startRot, values.startRotVariance);
    particle.spin = Vary(values.rotPerSec, values.rotPerSecVariance);

    particle.frameIndex = 0;
    if (!emitter.texture.IsAnimation()) {
        const std::uint32_t frames = emitter.texture.FrameCount();
        const std::uint32_t frame = static_cast<std::uint32_t>(RandomUnit() * frames);
        particle.frameIndex = frame == frames ? 0 : frame;
    }
    return true;
}

void UpdateParticle(const Emitter& emitter, Particle& particle, double step) {
    const EmitterValues& values = emitter.values;
    const EmitterRuntime& runtime = emitter.runtime;

    const double h = std::min(step, particle.lifespan - particle.age);
    particle.age = particle.age + h;
    const double x0 = particle.x;
    const double y0 = particle.y;

    if (emitter.params.type == kRadial) {
        particle.orbitAngle = particle.orbitAngle + h * particle.angularVelocity;
        particle.radius = particle.radius - h * particle.radiusRate;
        particle.x = runtime.originX - std::cos(particle.orbitAngle) * particle.radius;
        particle.y = runtime.originY - std::sin(particle.orbitAngle) * particle.radius;
        if (values.minRadius > particle.radius) particle.age = particle.lifespan;
    } else {
        const double dx = particle.x - particle.birthX;
        const double dy = particle.y - particle.birthY;
        double distance = std::sqrt(dx * dx + dy * dy);
        if (distance < 0.01) distance = 0.01;
        const double ux = dx / distance;
        const double uy = dy / distance;
        particle.velocityX = particle.velocityX + h * (particle.radialAcceleration * ux + values.xGravity -
                                                       particle.tangentialAcceleration * uy);
        particle.velocityY = particle.velocityY + h * (particle.radialAcceleration * uy + values.yGravity +
                                                       particle.tangentialAcceleration * ux);
        particle.x = particle.x + h * particle.velocityX;
        particle.y = particle.y + h * particle.velocityY;
    }

    // Horizontal oscillation runs across the emission direction, vertical along it.
    Oscillate(particle, particle.horizontalAmplitude, particle.horizontalFrequency,
              particle.previousHorizontalOffset, particle.emissionSin, -particle.emissionCos);
    Oscillate(particle, particle.verticalAmplitude, particle.verticalFrequency,
              particle.previousVerticalOffset, particle.emissionCos, particle.emissionSin);

    particle.sizeScale = particle.sizeScale + h * particle.sizeRate;

    if (emitter.params.textureDirectionBefore) {
        const double dx = particle.x - x0;
        const double dy = particle.y - y0;
        particle.rotation =
            std::fabs(dx) > kNearZero || std::fabs(dy) > kNearZero ? std::atan2(dy, dx) + kHalfPi : 0;
    } else {
        particle.rotation = particle.rotation + h * particle.spin;
    }

    const float hf = static_cast<float>(h);
    particle.red = particle.red + hf * particle.redRate;
    particle.green = particle.green + hf * particle.greenRate;
    particle.blue = particle.blue + hf * particle.blueRate;
    particle.alpha = particle.alpha + hf * particle.alphaRate;
    particle.packedColour = 0xFF000000u + ColourByte(particle.red) * 65536u +
                            ColourByte(particle.green) * 256u + ColourByte(particle.blue);
    particle.alphaCopy = particle.alpha;

    const TextureSettings& texture = emitter.texture;
    if (texture.IsAnimation() && texture.FrameCount() >= 2)
        particle.frameIndex = AnimatedFrame(texture, particle);
}

bool StepEmitter(Emitter& emitter, double dt, FrameBuffer* target, bool opaqueTarget,
                 const SettingsSnapshot& settings) {
    if (!AdvanceEmitter(emitter, dt, target != nullptr)) return true;
    return DrawEmitterSprites(emitter, target, opaqueTarget, settings);
}

// Particles updated per task: enough to outweigh handing the task out.
constexpr std::size_t kParticlesPerTask = 1024;

namespace {

// The delay: whether the step is held in it, and the step's length if not.
StartedStep CountDownDelay(Emitter& emitter, double dt) {
    EmitterRuntime& runtime = emitter.runtime;
    StartedStep step;
    if (InDelay(runtime)) {
        const double held = runtime.delayCountdown;
        runtime.delayCountdown = runtime.delayCountdown - dt;
        if (runtime.delayCountdown >= 0) {
            step.held = true;
            return step;
        }
        dt = held;
    }
    step.dt = dt;
    return step;
}

// Whether a live particle has reached the end of its life (and is retired before the update).
bool HasDied(const Particle& particle) { return !(particle.age < particle.lifespan); }

// Takes the dead particles out of the pool; died(i) says whether the live particle in slot i has
// died, and moved(i, from) is told when the particle of slot `from` takes slot i. Returns whether
// the pool ran empty.
template <class Died, class Moved>
bool RetireDead(EmitterRuntime& runtime, Died died, Moved moved) {
    bool ranEmpty = false;
    // Whether a particle lives on is decided before any update (a particle moved into a dead
    // one's slot has not been updated either), so the moves come first and the updates after.
    for (std::int32_t i = 0; i < runtime.liveCount;) {
        if (!died(static_cast<std::size_t>(i))) {
            ++i;
        } else {
            // Order-destroying removal: the last live particle takes the dead one's slot. The
            // dead one's values need not survive, the slot behind the live ones is a spare.
            --runtime.liveCount;
            if (i != runtime.liveCount) {
                runtime.pool[i] = runtime.pool[runtime.liveCount];
                moved(static_cast<std::size_t>(i), static_cast<std::size_t>(runtime.liveCount));
            }
            if (runtime.liveCount == 0 && runtime.listener != nullptr) ranEmpty = true;
        }
    }
    return ranEmpty;
}

// Emission, the duration's countdown, sorting and the listener: everything after the updates.
void FinishStep(Emitter& emitter, const StartedStep& step, bool sortForDrawing) {
    EmitterRuntime& runtime = emitter.runtime;
    const double dt = step.dt;
    // An emission rate that is not a positive finite number (max particles of 0, or set before a
    // lifespan) would turn the period into infinity or 0, and a zero period never ends the loop.
    const double period = 1.0 / runtime.emissionRate;
    if (runtime.remainingDuration > 0 && period > 0 && std::isfinite(period)) {
        runtime.emissionAccumulator = runtime.emissionAccumulator + dt;
        while (runtime.emissionAccumulator > 0) {
            if (runtime.liveCount < runtime.capacity) {
                if (runtime.liveCount == runtime.allocatedCount) GrowPool(emitter, runtime.allocatedCount);
                Particle& particle = runtime.pool[runtime.liveCount];
                ++runtime.liveCount;
                if (InitParticle(emitter, particle)) {
                    particle.birth = runtime.births++;
                    UpdateParticle(emitter, particle, runtime.emissionAccumulator);
                } else {
                    --runtime.liveCount;
                }
            }
            runtime.emissionAccumulator = runtime.emissionAccumulator - period;
        }
    }

    if (runtime.remainingDuration > 0 && runtime.remainingDuration != kEndless) {
        runtime.remainingDuration = runtime.remainingDuration - dt;
        if (!(runtime.remainingDuration > 0)) runtime.remainingDuration = 0;
    }

    if (sortForDrawing && emitter.params.sortType >= kSortAgeAscending &&
        emitter.params.sortType <= kSortScaleDescending) {
        SortParticles(emitter);
    }

    if (step.ranEmpty && runtime.listener != nullptr) runtime.listener->OnEmitterEmpty(emitter);
}

}  // namespace

bool AdvanceEmitter(Emitter& emitter, double dt, bool sortForDrawing) {
    StartedStep step = CountDownDelay(emitter, dt);
    if (step.held) return false;
    EmitterRuntime& runtime = emitter.runtime;
    step.ranEmpty = RetireDead(
        runtime, [&](std::size_t i) { return HasDied(runtime.pool[i]); }, [](std::size_t, std::size_t) {});
    for (std::int32_t i = 0; i < runtime.liveCount; ++i) UpdateParticle(emitter, runtime.pool[i], step.dt);
    FinishStep(emitter, step, sortForDrawing);
    return true;
}

const std::vector<bool>& EmitterStepper::Advance(std::span<Emitter* const> emitters, double dt,
                                                 bool sortForDrawing, const TaskRunner& runTasks) {
    // One emitter's step touches only that emitter (its listener rearms that emitter alone), and
    // neither the look at the particles' ages nor the updates draw a random number: so these run
    // for every emitter together, on the threads, while the other parts keep their order.
    steps_.resize(emitters.size());
    advanced_.assign(emitters.size(), false);
    for (std::size_t e = 0; e < emitters.size(); ++e) {
        steps_[e] = CountDownDelay(*emitters[e], dt);
        advanced_[e] = !steps_[e].held;
    }

    // Reading every particle is most of the retirement's work; the moves are few.
    const std::size_t live = CutLive(emitters);
    dead_.resize(live);
    ForEachPiece(runTasks, live, [&](const Piece& piece) {
        const Particle* const pool = emitters[piece.emitter]->runtime.pool.data();
        for (std::size_t i = piece.begin; i < piece.end; ++i)
            dead_[firstFlag_[piece.emitter] + i] = HasDied(pool[i]) ? 1 : 0;
    });
    for (std::size_t e = 0; e < emitters.size(); ++e) {
        if (steps_[e].held) continue;
        std::uint8_t* const dead = dead_.data() + firstFlag_[e];
        steps_[e].ranEmpty = RetireDead(
            emitters[e]->runtime, [&](std::size_t i) { return dead[i] != 0; },
            [&](std::size_t i, std::size_t from) { dead[i] = dead[from]; });
    }

    ForEachPiece(runTasks, CutLive(emitters), [&](const Piece& piece) {
        Emitter& emitter = *emitters[piece.emitter];
        Particle* const pool = emitter.runtime.pool.data();
        for (std::size_t i = piece.begin; i < piece.end; ++i)
            UpdateParticle(emitter, pool[i], steps_[piece.emitter].dt);
    });

    for (std::size_t e = 0; e < emitters.size(); ++e) {
        if (!steps_[e].held) FinishStep(*emitters[e], steps_[e], sortForDrawing);
    }
    return advanced_;
}

std::size_t EmitterStepper::CutLive(std::span<Emitter* const> emitters) {
    pieces_.clear();
    firstFlag_.resize(emitters.size());
    std::size_t live = 0;
    for (std::size_t e = 0; e < emitters.size(); ++e) {
        firstFlag_[e] = live;
        if (steps_[e].held) continue;
        const auto count = static_cast<std::size_t>(emitters[e]->runtime.liveCount);
        for (std::size_t begin = 0; begin < count; begin += kParticlesPerTask)
            pieces_.push_back({e, begin, std::min(count, begin + kParticlesPerTask)});
        live += count;
    }
    return live;
}

template <class Work>
void EmitterStepper::ForEachPiece(const TaskRunner& runTasks, std::size_t live, const Work& work) const {
    if (runTasks && live > kParticlesPerTask) {
        runTasks(pieces_.size(), [&](std::size_t task) { work(pieces_[task]); });
    } else {
        for (const Piece& piece : pieces_) work(piece);
    }
}

}  // namespace orv
