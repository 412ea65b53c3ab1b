#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace orv {

// The values of a render as typed on the command line or in the render dialog.

// A whole number as plain decimal digits: no sign, no spaces, no hexadecimal, nothing after the
// number; nothing when it does not fit `Unsigned`.
template <typename Unsigned>
std::optional<Unsigned> ParseDecimal(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    Unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Longest start offset, as long as the longest render.
inline constexpr double kMaxStartSeconds = 4294967295.0;

// A start offset as typed: digits with an optional fraction ("2", "1.5"), at most
// kMaxStartSeconds; no sign, no exponent, no "inf", nothing around it.
std::optional<double> ParseStartSeconds(std::string_view text);

// The offset in whole steps of 1 / fps, rounded to the nearest.
std::uint64_t StartSteps(double seconds, std::uint32_t framesPerSecond);

}  // namespace orv
