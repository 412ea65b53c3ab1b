#include "editor/number_text.h"

#include <string>

#include "engine/fixed_decimal_text.h"

namespace orv {

std::u16string FormatRawNumber(std::int32_t raw, int decimals) {
    const std::string text = FormatFixed(raw, decimals);
    return std::u16string(text.begin(), text.end());  // digits, sign and dot only
}

std::int64_t ParseRawNumber(std::u16string_view text, int decimals) {
    return ParseFixedWide(text, decimals);
}

}  // namespace orv
