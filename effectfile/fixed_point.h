#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// Fixed-point decimal text of a raw value, converted digit by digit, never through floating
// point. Decimals 1 to 3 give exactly that many fraction digits ("-0.5" for raw -5 with one
// decimal); any other count gives the plain integer.
std::string FormatFixed(std::int32_t raw, int decimals);

// The raw value of a file number: an optional '-', integer digits, and after a '.' at most
// `decimals` fraction digits; further digits are cut off, not rounded, missing ones count as 0.
// Anything else ends the number ("1e3" reads as 1, "abc" and "+1" as 0). Values beyond the 32-bit
// range saturate at its ends.
std::int32_t ParseFixed(std::string_view text, int decimals);

}  // namespace orv
