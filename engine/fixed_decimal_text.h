#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// Raw parameter values are decimal fixed-point numbers: raw / 10^decimals. Their text is
// converted digit by digit, never through floating point.

// A raw value split for display: `whole` is raw / 10^decimals truncated toward zero, `fraction`
// the remainder's absolute value, and `negativeZero` tells a value between -1 and 0, whose
// whole part 0 alone would lose the sign.
struct FixedParts {
    std::int32_t whole = 0;
    std::int32_t fraction = 0;
    bool negativeZero = false;
};
// Decimals outside 1..3 give the plain integer with no fraction.
FixedParts SplitFixed(std::int32_t raw, int decimals);

// Decimals 1 to 3 give exactly that many fraction digits ("-0.5" for raw -5 with one decimal,
// "0.300" for 300 with three); any other count gives the plain integer.
std::string FormatFixed(std::int32_t raw, int decimals);

// The raw value of a number's text: an optional '-', integer digits, and after a '.' at most
// `decimals` fraction digits; further digits are cut off, not rounded, missing ones count as 0.
// Anything else ends the number ("1e3" reads as 1, "abc" and "+1" as 0). The magnitude saturates
// far beyond the 32-bit range (at 2^40), so an over-long number can be refused by a range check
// instead of wrapping into it.
std::int64_t ParseFixedWide(std::string_view text, int decimals);
std::int64_t ParseFixedWide(std::u16string_view text, int decimals);

// ParseFixedWide clamped to the 32-bit range.
std::int32_t ParseFixed(std::string_view text, int decimals);

}  // namespace orv
