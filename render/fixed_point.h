#pragma once

#include <cmath>
#include <cstdint>

namespace orv {

// Largest magnitude, in pixels or texels, that 16.16 fixed point holds.
inline constexpr double kFixedLimit = 32767.0;

// Whether a coordinate can be taken to 16.16 (finite and within +-32767).
inline bool FitsFixed(double value) {
    return std::fabs(value) <= kFixedLimit;
}

// value * 65536 truncated toward zero; a value that does not fit (or is not a number) saturates
// instead of being undefined.
inline std::int32_t ToFixedSaturated(double value) {
    const double scaled = value * 65536.0;
    if (!(scaled == scaled)) return 0;
    if (scaled >= 2147483647.0) return INT32_MAX;
    if (scaled <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(scaled);
}

}  // namespace orv
