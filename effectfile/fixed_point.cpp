#include "effectfile/fixed_point.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace orv {
namespace {

// One past the largest magnitude a 32-bit value can take (that of INT32_MIN); accumulation
// stops growing there, so the result saturates instead of wrapping.
constexpr std::int64_t kMagnitudeCap = std::int64_t{1} << 31;

std::int64_t Shift(std::int64_t magnitude, int digit) {
    return std::min(magnitude * 10 + digit, kMagnitudeCap);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int32_t Signed(std::int64_t magnitude, bool negative) {
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::string FormatFixed(std::int32_t raw, int decimals) {
    static constexpr std::int64_t kScale[] = {1, 10, 100, 1000};
    char buffer[64];
    if (decimals < 1 || decimals > 3) {
        std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(raw));
        return buffer;
    }
    // The sign is written separately so that a value between -1 and 0 keeps it.
    const std::int64_t magnitude = raw < 0 ? -std::int64_t{raw} : std::int64_t{raw};
    const std::int64_t scale = kScale[decimals];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%0*lld", raw < 0 ? "-" : "",
                  static_cast<long long>(magnitude / scale), decimals,
                  static_cast<long long>(magnitude % scale));
    return buffer;
}

std::int32_t ParseFixed(std::string_view text, int decimals) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) ++pos;

    std::int64_t magnitude = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) magnitude = Shift(magnitude, text[pos] - '0');

    int fractionDigits = 0;
    if (pos + 1 < text.size() && text[pos] == '.') {
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) {
            if (fractionDigits >= decimals) return Signed(magnitude, negative);
            magnitude = Shift(magnitude, text[pos] - '0');
            ++fractionDigits;
        }
    }
    for (; fractionDigits < decimals; ++fractionDigits) magnitude = Shift(magnitude, 0);
    return Signed(magnitude, negative);
}

}  // namespace orv
