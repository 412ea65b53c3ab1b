#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// FormatFixed as UTF-16 text ("2.0", "-1080.0", "0.300", "-0.5").
std::u16string FormatRawNumber(std::int32_t raw, int decimals);

// Typed text as a raw value, read as ParseFixedWide reads it: values beyond 32 bits saturate, so
// they are refused by the range check rather than wrapping into it.
std::int64_t ParseRawNumber(std::u16string_view text, int decimals);

// A typed seed: decimal digits, spaces around them allowed, 0 to 2^64 - 1, as the file's "seed"
// is read; nothing for anything else.
std::optional<std::uint64_t> ParseSeedInput(std::u16string_view text);

}  // namespace orv
