#include "app/number_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orv {

namespace {

constexpr std::int64_t kSaturation = std::int64_t{1} << 40;

std::int32_t PowerOfTen(int decimals) {
    std::int32_t power = 1;
    for (int i = 0; i < decimals; ++i) power *= 10;
    return power;
}

std::u16string Ascii(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    return wide;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

std::u16string FormatRawNumber(std::int32_t raw, int decimals) {
    char text[48];
    if (decimals <= 0) {
        std::snprintf(text, sizeof text, "%d", raw);
        return Ascii(text);
    }
    const std::int32_t power = PowerOfTen(decimals);
    const std::int32_t whole = raw / power;
    const std::int32_t fraction = std::abs(raw % power);
    const char* sign = (raw < 0 && whole == 0) ? "-" : "";
    const int width = decimals > 3 ? 3 : decimals;
    std::snprintf(text, sizeof text, "%s%d.%0*d", sign, static_cast<int>(whole), width,
                  static_cast<int>(fraction % 1000));
    return Ascii(text);
}

std::u16string InputRangeText(std::int32_t minimum, std::int32_t maximum, int decimals) {
    return u"入力範囲 : " + FormatRawNumber(minimum, decimals) + u" ～ " + FormatRawNumber(maximum, decimals);
}

std::int64_t ParseRawNumber(std::u16string_view text, int decimals) {
    std::size_t at = 0;
    const bool negative = at < text.size() && text[at] == u'-';
    if (negative) ++at;
    std::int64_t value = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (value < kSaturation) value = value * 10 + (text[at] - u'0');
    }
    int fractionDigits = 0;
    if (at < text.size() && text[at] == u'.') {
        for (++at; at < text.size() && IsDigit(text[at]) && fractionDigits < decimals; ++at) {
            if (value < kSaturation) value = value * 10 + (text[at] - u'0');
            ++fractionDigits;
        }
    }
    for (; fractionDigits < decimals; ++fractionDigits) {
        if (value < kSaturation) value *= 10;
    }
    return negative ? -value : value;
}

}  // namespace orv
