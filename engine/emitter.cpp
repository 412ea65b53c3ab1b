#include "engine/emitter.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Where rows 2..36 keep their simulation values.
constexpr double EmitterValues::*kDoubleSlots[] = {
    &EmitterValues::lifespanVariance,
    &EmitterValues::startSize,
    &EmitterValues::startSizeVariance,
    &EmitterValues::finishSize,
    &EmitterValues::finishSizeVariance,
    &EmitterValues::emitterAngle,
    &EmitterValues::emitterAngleVariance,
    &EmitterValues::startRot,
    &EmitterValues::startRotVariance,
    &EmitterValues::rotPerSec,
    &EmitterValues::rotPerSecVariance,
    &EmitterValues::xVariance,
    &EmitterValues::yVariance,
    &EmitterValues::speed,
    &EmitterValues::speedVariance,
    &EmitterValues::xGravity,
    &EmitterValues::yGravity,
    &EmitterValues::tanAcc,
    &EmitterValues::tanAccVar,
    &EmitterValues::radAcc,
    &EmitterValues::radAccVar,
    &EmitterValues::maxRadius,
    &EmitterValues::maxRadiusVariance,
    &EmitterValues::minRadius,
    &EmitterValues::degPerSec,
    &EmitterValues::degPerSecVar,
    &EmitterValues::horAmplitude,
    &EmitterValues::horAmplitudeVar,
    &EmitterValues::horCycle,
    &EmitterValues::horCycleVar,
    &EmitterValues::verAmplitude,
    &EmitterValues::verAmplitudeVar,
    &EmitterValues::verCycle,
    &EmitterValues::verCycleVar,
    &EmitterValues::delay,
};
static_assert(std::size(kDoubleSlots) == kDelay - kLifespanVariance + 1);

// Rows 40..55 in table order: start r g b a, finish r g b a, start variances, finish variances.
float& ColourSlot(EmitterValues& values, std::size_t index) {
    const std::size_t group = (index - kStartColorR) / 4;
    ColourF& colour = group == 0   ? values.startColor
                      : group == 1 ? values.finishColor
                      : group == 2 ? values.startColorVariance
                                   : values.finishColorVariance;
    switch ((index - kStartColorR) % 4) {
        case 0:
            return colour.red;
        case 1:
            return colour.green;
        case 2:
            return colour.blue;
        default:
            return colour.alpha;
    }
}

}  // namespace

Emitter::Emitter(EmitListener* listener) {
    runtime.listener = listener;
    ResetEmitterToDefaults(*this);
}

void SetParam(Emitter& emitter, std::size_t index, std::int32_t raw) {
    if (index >= kEmitterParamCount) return;
    emitter.params.raw[index] = raw;
    const double value = RawToValue(index, raw);
    EmitterValues& values = emitter.values;
    EmitterRuntime& runtime = emitter.runtime;
    if (index == kMaxParticles) {
        // The raw value is already whole; a negative count would make the emission period
        // negative and the emission loop endless.
        values.maxParticles = std::clamp(raw, 0, kMaxCapacity);
        runtime.capacity = values.maxParticles;
        runtime.emissionRate = values.maxParticles / values.lifespan;
    } else if (index == kLifespan) {
        values.lifespan = value > 0.01 ? value : 0.01;
        runtime.emissionRate = values.maxParticles / values.lifespan;
    } else if (index <= kDelay) {
        values.*kDoubleSlots[index - kLifespanVariance] = value;
    } else if (index == kOffsetX) {
        runtime.originX = value;
    } else if (index == kOffsetY) {
        runtime.originY = value;
    } else if (index == kDuration) {
        // Read only when the emitter is re-armed.
    } else {
        ColourSlot(values, index) = static_cast<float>(value);
    }
}

double ParamValue(const Emitter& emitter, std::size_t index) {
    if (index >= kEmitterParamCount) return 0.0;
    return RawToValue(index, emitter.params.raw[index]);
}

void ApplyRawValues(Emitter& emitter) {
    for (std::size_t index = 0; index < kEmitterParamCount; ++index) {
        SetParam(emitter, index, emitter.params.raw[index]);
    }
}

bool SetSortType(EmitterParams& params, std::uint32_t sortType) {
    if (sortType >= kSortTypeCount) return false;
    params.sortType = sortType;
    return true;
}

void ResetEmitterToDefaults(Emitter& emitter) {
    EmitterParams& params = emitter.params;
    for (std::size_t index = 0; index < kEmitterParamCount; ++index)
        params.raw[index] = Param(index).DefaultRaw();
    params.name.clear();
    params.type = kGravity;
    params.blendingMode = kAdditive;
    params.enableColor = true;
    params.colorConstant = false;
    params.textureDirectionBefore = false;
    params.sortType = kSortNone;
    ClearEmitter(emitter);
}

void ClearEmitter(Emitter& emitter) {
    EmitterRuntime& runtime = emitter.runtime;
    std::vector<Particle>().swap(runtime.pool);
    runtime.allocatedCount = 0;
    runtime.liveCount = 0;
    runtime.capacity = 0;
    runtime.emissionAccumulator = 0;
    runtime.emissionRate = 0;
    runtime.remainingDuration = 0;
    runtime.originX = 0;
    runtime.originY = 0;
    runtime.interpolation = 0;

    EmitterValues& values = emitter.values;
    const std::int32_t maxParticles = values.maxParticles;
    const double lifespan = values.lifespan;
    values = EmitterValues{};
    values.maxParticles = maxParticles;
    values.lifespan = lifespan;
    values.startColor = ColourF{1, 1, 1, 1};
    values.finishColor = ColourF{1, 1, 1, 1};

    EmitterParams& params = emitter.params;
    params.type = kGravity;
    params.enableColor = true;
    params.colorConstant = false;
    params.blendingMode = kAdditive;
    params.sortType = kSortNone;
}

double DurationSeconds(const Emitter& emitter) {
    return emitter.params.raw[kDuration] / 100.0;
}

}  // namespace orv
