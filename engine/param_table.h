#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orv {

// Rows of the parameter table. The row index is a parameter's identity everywhere: panel control
// arrays, SetParam, the effect file's key order.
enum ParamRow : std::size_t {
    kMaxParticles = 0,
    kLifespan,
    kLifespanVariance,
    kStartSize,
    kStartSizeVariance,
    kFinishSize,
    kFinishSizeVariance,
    kEmitterAngle,
    kEmitterAngleVariance,
    kStartRot,
    kStartRotVariance,
    kRotPerSec,
    kRotPerSecVariance,
    kXVariance,
    kYVariance,
    kSpeed,
    kSpeedVariance,
    kXGravity,
    kYGravity,
    kTanAcc,
    kTanAccVar,
    kRadAcc,
    kRadAccVar,
    kMaxRadius,
    kMaxRadiusVariance,
    kMinRadius,
    kDegPerSec,
    kDegPerSecVar,
    kHorAmplitude,
    kHorAmplitudeVar,
    kHorCycle,
    kHorCycleVar,
    kVerAmplitude,
    kVerAmplitudeVar,
    kVerCycle,
    kVerCycleVar,
    kDelay,
    kOffsetX,
    kOffsetY,
    kDuration,
    kStartColorR,
    kStartColorG,
    kStartColorB,
    kStartColorA,
    kFinishColorR,
    kFinishColorG,
    kFinishColorB,
    kFinishColorA,
    kStartColorRVar,
    kStartColorGVar,
    kStartColorBVar,
    kStartColorAVar,
    kFinishColorRVar,
    kFinishColorGVar,
    kFinishColorBVar,
    kFinishColorAVar,
    kBgR,
    kBgG,
    kBgB,
    kBgA,
};

inline constexpr std::size_t kParamCount = 60;         // rows 0..59
inline constexpr std::size_t kEmitterParamCount = 56;  // rows 0..55 belong to an emitter
inline constexpr std::size_t kBackgroundParamCount = 4;

// One row of the parameter table. Texts are UTF-8.
struct ParamDescriptor {
    const char* key;     // effect file key (ASCII)
    const char* name;    // the parameter's name in words
    const char* format;  // label text with its printf placeholders
    std::int32_t labelId;
    std::int32_t sliderId;
    std::int32_t sliderMin;
    std::int32_t sliderMax;
    std::int32_t defaultPosition;
    std::int32_t zeroOffset;
    std::int32_t decimals;  // 0..3
    bool angle;             // value in degrees, handed to the simulation in radians

    std::int32_t DefaultRaw() const { return defaultPosition - zeroOffset; }
    std::int32_t MinRaw() const { return sliderMin - zeroOffset; }
    std::int32_t MaxRaw() const { return sliderMax - zeroOffset; }
};

const std::array<ParamDescriptor, kParamCount>& ParamTable();

// The row `index` (< kParamCount).
const ParamDescriptor& Param(std::size_t index);

// Simulation value of a raw value: raw / 10^decimals in double, then degrees to radians on angle
// rows. The panel converts trackbar positions (minus the zero offset) the same way.
double RawToValue(std::size_t index, std::int32_t raw);

// Label text (UTF-8) of row `index` for a raw value, e.g. "生存期間 :  2.0秒". A negative value
// whose whole part is 0 keeps its sign ("-0.5").
std::string FormatParamLabel(std::size_t index, std::int32_t raw);

// The same with `format` in place of the row's own: a translation of it, holding the same
// conversions in the same order.
std::string FormatParamLabel(std::size_t index, std::int32_t raw, const char* format);

}  // namespace orv
