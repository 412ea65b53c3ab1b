#include "engine/fixed_decimal_text.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "vesk/decimal_digits.h"

namespace orv {
namespace {

constexpr std::int32_t kPowersOfTen[] = {1, 10, 100, 1000};
constexpr std::uint64_t kMagnitudeCap = std::uint64_t{1} << 40;

template <class Char>
std::int64_t ParseFixedText(std::basic_string_view<Char> text, int decimals) {
    const std::size_t wanted = decimals > 0 ? static_cast<std::size_t>(decimals) : 0;
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == Char('-');
    if (negative) ++pos;
    std::uint64_t magnitude = 0;
    vesk::ReadDigits(text, pos, magnitude, kMagnitudeCap);
    std::size_t fractionDigits = 0;
    if (pos < text.size() && text[pos] == Char('.')) {
        ++pos;
        fractionDigits = vesk::ReadDigits(text, pos, magnitude, kMagnitudeCap, wanted);
    }
    for (; fractionDigits < wanted; ++fractionDigits) magnitude = std::min(magnitude * 10, kMagnitudeCap);
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

}  // namespace

FixedParts SplitFixed(std::int32_t raw, int decimals) {
    if (decimals < 1 || decimals > 3) return {raw, 0, false};
    const std::int32_t scale = kPowersOfTen[decimals];
    const std::int32_t whole = raw / scale;
    // |raw mod scale| without negating raw, which would overflow for the smallest value.
    const std::int32_t remainder = raw % scale;
    return {whole, remainder < 0 ? -remainder : remainder, raw < 0 && whole == 0};
}

std::string FormatFixed(std::int32_t raw, int decimals) {
    char buffer[48];
    const FixedParts parts = SplitFixed(raw, decimals);
    if (decimals < 1 || decimals > 3) {
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(raw));
    } else {
        std::snprintf(buffer, sizeof buffer, "%s%d.%0*d", parts.negativeZero ? "-" : "",
                      static_cast<int>(parts.whole), decimals, static_cast<int>(parts.fraction));
    }
    return buffer;
}

std::int64_t ParseFixedWide(std::string_view text, int decimals) {
    return ParseFixedText(text, decimals);
}

std::int64_t ParseFixedWide(std::u16string_view text, int decimals) {
    return ParseFixedText(text, decimals);
}

std::int32_t ParseFixed(std::string_view text, int decimals) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ParseFixedWide(text, decimals),
                                                              std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace orv
