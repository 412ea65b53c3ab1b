#include "export/frame_file_name.h"

#include <cinttypes>
#include <cstdio>

namespace orv {

std::u16string FrameFileName(std::u16string_view folder, std::u16string_view title, std::uint64_t index) {
    // A frame count is 64 bits wide: "%06d" on an int would wrap past 2^31 frames.
    char digits[32];
    const int length = std::snprintf(digits, sizeof digits, "%06" PRIu64, index);
    std::u16string name;
    name.reserve(folder.size() + title.size() + static_cast<std::size_t>(length) + 4);
    name.append(folder).append(title);
    for (int i = 0; i < length; ++i) name.push_back(static_cast<char16_t>(digits[i]));
    name.append(u".png");
    return name;
}

}  // namespace orv
