#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// The file of frame `index` of a sequence: folder, title, the index in at least six digits,
// ".png". Indices past 999999 simply take more digits.
std::u16string FrameFileName(std::u16string_view folder, std::u16string_view title, std::uint64_t index);

}  // namespace orv
