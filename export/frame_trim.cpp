#include "export/frame_trim.h"

#include <algorithm>

namespace orv {

PixelRect OpaqueBounds(const FrameBuffer& frame) {
    std::uint32_t left = frame.Width();
    std::uint32_t right = 0;
    std::uint32_t top = frame.Height();
    std::uint32_t bottom = 0;
    for (std::uint32_t y = 0; y < frame.Height(); ++y) {
        const std::uint32_t* row = frame.Row(y);
        std::uint32_t first = 0;
        while (first < frame.Width() && (row[first] >> 24) == 0) ++first;
        if (first == frame.Width()) continue;
        std::uint32_t last = frame.Width() - 1;
        while ((row[last] >> 24) == 0) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (top > bottom || left > right) return {0, 0, 1, 1};
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace orv
