#include "editor/number_text.h"

#include <string>

#include "engine/fixed_decimal_text.h"

namespace orv {

std::u16string FormatRawNumber(std::int32_t raw, int decimals) {
    const std::string text = FormatFixed(raw, decimals);
    return std::u16string(text.begin(), text.end());  // digits, sign and dot only
}

std::u16string InputRangeText(std::int32_t minimum, std::int32_t maximum, int decimals) {
    return u"入力範囲 : " + FormatRawNumber(minimum, decimals) + u" ～ " + FormatRawNumber(maximum, decimals);
}

std::int64_t ParseRawNumber(std::u16string_view text, int decimals) {
    return ParseFixedWide(text, decimals);
}

}  // namespace orv
