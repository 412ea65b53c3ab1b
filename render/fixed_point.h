#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "render/sprite.h"

namespace orv {

// Largest magnitude, in pixels or texels, that 16.16 fixed point holds.
inline constexpr double kFixedLimit = 32767.0;

// Whether a coordinate can be taken to 16.16 (finite and within +-32767).
inline bool FitsFixed(double value) {
    return std::fabs(value) <= kFixedLimit;
}

// value * 65536 truncated toward zero, for a value that FitsFixed.
inline std::int32_t ToFixed(double value) {
    return static_cast<std::int32_t>(value * 65536.0);
}

// As ToFixed, but a value that does not fit (or is not a number) saturates instead of being
// undefined; within range it is the same truncation.
inline std::int32_t ToFixedSaturated(double value) {
    const double scaled = value * 65536.0;
    if (!(scaled == scaled)) return 0;
    if (scaled >= 2147483647.0) return INT32_MAX;
    if (scaled <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(scaled);
}

// The 16.16 destination rectangle of an unrotated sprite from its edges in pixels. A sprite
// whose edges do not fit 16.16 is skipped (no value) rather than wrapped to a wrong place.
inline std::optional<FixedRect> MakeFixedRect(double left, double top, double right, double bottom) {
    if (!FitsFixed(left) || !FitsFixed(top) || !FitsFixed(right) || !FitsFixed(bottom)) return std::nullopt;
    return FixedRect{ToFixed(left), ToFixed(top), ToFixed(right), ToFixed(bottom)};
}

}  // namespace orv
