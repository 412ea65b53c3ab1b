#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/param_table.h"
#include "engine/particle.h"
#include "engine/texture_settings.h"

namespace orv {

class Emitter;

// Told when an emitter's last particle died during a step; the owner of the effect re-arms it so
// that an effect with finite durations loops.
class EmitListener {
public:
    virtual void OnEmitterEmpty(Emitter& emitter) = 0;

protected:
    ~EmitListener() = default;
};

enum EmitterType : std::uint32_t { kGravity = 0, kRadial = 1 };
enum BlendingMode : std::uint32_t { kAdditive = 0, kNormal = 1 };
enum SortType : std::uint32_t {
    kSortNone = 0,
    kSortAgeAscending = 1,     // "duration_desc": the oldest particle on top
    kSortAgeDescending = 2,    // "duration_asc": the youngest particle on top
    kSortScaleAscending = 3,   // "scale_desc": the largest particle on top
    kSortScaleDescending = 4,  // "scale_asc": the smallest particle on top
};
inline constexpr std::uint32_t kSortTypeCount = 5;

// Remaining duration of an emitter that never stops emitting.
inline constexpr double kEndless = std::numeric_limits<double>::max();

// Largest number of particles one emitter keeps.
inline constexpr std::int32_t kMaxCapacity = 8192;

// What the user chose for an emitter: name, choices and flags, and the raw values of rows 0..55.
struct EmitterParams {
    std::u16string name;
    std::uint32_t type = kGravity;
    std::uint32_t blendingMode = kAdditive;
    bool enableColor = true;
    bool colorConstant = false;
    bool textureDirectionBefore = false;
    std::uint32_t sortType = kSortNone;  // set through SetSortType
    std::array<std::int32_t, kEmitterParamCount> raw{};

    bool operator==(const EmitterParams&) const = default;
};

struct ColourF {
    float alpha = 0, red = 0, green = 0, blue = 0;
};

// Simulation values derived from the raw values by SetParam, in the units the simulation uses:
// seconds, pixels, radians.
struct EmitterValues {
    std::int32_t maxParticles = 0;
    double lifespan = 0;
    double lifespanVariance = 0;
    double startSize = 0, startSizeVariance = 0;
    double finishSize = 0, finishSizeVariance = 0;
    double emitterAngle = 0, emitterAngleVariance = 0;
    double startRot = 0, startRotVariance = 0;
    double rotPerSec = 0, rotPerSecVariance = 0;
    double xVariance = 0, yVariance = 0;
    double speed = 0, speedVariance = 0;
    double xGravity = 0, yGravity = 0;
    double tanAcc = 0, tanAccVar = 0;
    double radAcc = 0, radAccVar = 0;
    double maxRadius = 0, maxRadiusVariance = 0;
    double minRadius = 0;
    double degPerSec = 0, degPerSecVar = 0;
    double horAmplitude = 0, horAmplitudeVar = 0;
    double horCycle = 0, horCycleVar = 0;
    double verAmplitude = 0, verAmplitudeVar = 0;
    double verCycle = 0, verCycleVar = 0;
    double delay = 0;
    ColourF startColor, startColorVariance, finishColor, finishColorVariance;
};

// The state a running emitter carries from step to step.
struct EmitterRuntime {
    EmitListener* listener = nullptr;  // not owned
    // Entries [0, liveCount) are alive, [liveCount, allocatedCount) are spares ready for reuse.
    // The vector never shrinks while the emitter lives, so steady emission allocates nothing.
    std::vector<Particle> pool;
    std::int32_t allocatedCount = 0;
    std::int32_t liveCount = 0;
    std::int32_t capacity = 0;
    double emissionRate = 0;         // particles per second
    double emissionAccumulator = 0;  // seconds
    double remainingDuration = 0;    // seconds; kEndless never runs out
    double delayCountdown = 0;       // seconds
    double originX = 0, originY = 0;
    std::uint32_t interpolation = 0;  // 0 nearest, 1 bilinear (copied from InterpolateType)
    std::uint64_t births = 0;         // particles born in the emitter's life; never reset
};

// One emitter of an effect. Plain record: the operations on it are the free functions below and
// those of engine/simulation.h and engine/emitter_drawing.h.
class Emitter {
public:
    // No image, split 1 x 1, empty pool, then reset to defaults (ResetEmitterToDefaults).
    explicit Emitter(EmitListener* listener = nullptr);
    Emitter(const Emitter&) = delete;
    Emitter& operator=(const Emitter&) = delete;

    EmitterParams params;
    TextureSettings texture;
    EmitterValues values;
    EmitterRuntime runtime;
};

// Stores a raw value of row `index` and re-derives that row's simulation value. Rows 56 and
// above belong to the effect and are ignored here.
void SetParam(Emitter& emitter, std::size_t index, std::int32_t raw);

// Simulation value of the stored raw value of row `index` (< 56).
double ParamValue(const Emitter& emitter, std::size_t index);

// Calls SetParam for rows 0..55 with the stored raw values, so that every simulation value
// follows its raw value.
void ApplyRawValues(Emitter& emitter);

// A sort type of kSortTypeCount or more is refused (false) and the previous one stays.
bool SetSortType(EmitterParams& params, std::uint32_t sortType);

// Raw values of rows 0..55 to their defaults, name empty, choices and flags to their defaults,
// then ClearEmitter. The caller then applies the raw values, sets the choices, and restarts and
// re-arms the emitter.
void ResetEmitterToDefaults(Emitter& emitter);

// Frees every particle and zeroes the runtime and most simulation values (colours become opaque
// white); max particles, lifespan, texture_direction_before and the delay countdown stay.
void ClearEmitter(Emitter& emitter);

// The emitter's duration setting in seconds (row 39 raw / 100), what its re-arm uses.
double DurationSeconds(const Emitter& emitter);

}  // namespace orv
