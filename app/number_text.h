#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// Text of a raw value with `decimals` fraction digits: "%d" for 0 decimals, otherwise the
// quotient by 10^decimals truncated toward zero, a dot and the remainder's absolute value with
// its zero fill ("2.0", "-1080.0", "0.300"). A negative value whose quotient is 0 keeps its sign.
std::u16string FormatRawNumber(std::int32_t raw, int decimals);

// "入力範囲 : <min> ～ <max>", both bounds written by FormatRawNumber.
std::u16string InputRangeText(std::int32_t minimum, std::int32_t maximum, int decimals);

// Reads typed text as a raw value: an optional "-", decimal digits, then after a "." at most
// `decimals` further digits (more are ignored); missing fraction digits count as zeros. Reading
// stops silently at any other character; no digits at all give 0. Values beyond 32 bits saturate,
// so they are refused by the range check rather than wrapping into it.
std::int64_t ParseRawNumber(std::u16string_view text, int decimals);

}  // namespace orv
