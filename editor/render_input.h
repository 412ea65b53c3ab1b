#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Longest texts the render dialog's edits accept.
inline constexpr std::size_t kMaxOutputPathLength = 2599;
inline constexpr int kMaxSecondsDigits = 10;

// The length edit's text as the render dialog reads it: the integer its first 9 characters start
// with, an optional sign included; 0 when they do not start with a number.
std::int32_t ParseRenderSeconds(std::u16string_view text);

// Why the render dialog refuses its input, or nothing when it can be confirmed: a length below 1
// second, then an empty output path.
std::optional<std::u16string> RenderInputRefusal(std::int32_t seconds, std::u16string_view outputBasePath);

// The seed field's text: plain decimal digits, 0 to 2^64 - 1; nothing for anything else.
std::optional<std::uint64_t> ParseSeedText(std::u16string_view text);

// The start field's text: seconds as orv-render's --start takes them; nothing for anything else.
std::optional<double> ParseStartText(std::u16string_view text);

// Makes sure the folder the frames go to exists, creating it with its parents. Returns the reason
// in the user's language when it cannot be made, or nothing when the folder is there.
std::optional<std::u16string> PrepareOutputFolder(std::u16string_view outputBasePath);

}  // namespace orv
