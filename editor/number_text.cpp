#include "editor/number_text.h"

#include <algorithm>
#include <string>

#include "effectfile/effect_reader.h"
#include "engine/fixed_decimal_text.h"

namespace orv {

std::u16string FormatRawNumber(std::int32_t raw, int decimals) {
    const std::string text = FormatFixed(raw, decimals);
    return std::u16string(text.begin(), text.end());  // digits, sign and dot only
}

std::int64_t ParseRawNumber(std::u16string_view text, int decimals) {
    return ParseFixedWide(text, decimals);
}

std::optional<std::uint64_t> ParseSeedInput(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view digits = text.substr(first, text.find_last_not_of(u' ') + 1 - first);
    // Anything beyond ASCII is refused here, so the narrowing below keeps every character.
    if (std::any_of(digits.begin(), digits.end(), [](char16_t c) { return c > 0x7F; })) return std::nullopt;
    return ParseSeed(std::string(digits.begin(), digits.end()));
}

}  // namespace orv
