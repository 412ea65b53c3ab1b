#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orv {

// Texts of the Qt-free layers (marked with ORV_TR_NOOP, context "orv") in the interface language.
// Such a text is one fixed sentence, possibly followed by lines of details (a folder, a file, a
// reason) that are shown as they are.
QString CoreText(std::u16string_view text);
QString CoreText(const char* utf8);

// A parameter row's name and its value label for a raw value, in the interface language.
QString ParamNameText(std::size_t row);
QString ParamLabelText(std::size_t row, std::int32_t raw);

}  // namespace orv
