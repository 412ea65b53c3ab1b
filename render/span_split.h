#pragma once

#include <cstdint>

#include "render/sse2_support.h"

namespace orv {

// A row span cut for 16-byte stores: `head` single pixels up to the first 16-byte boundary, then
// `groups` aligned groups of 4 pixels, then `tail` single pixels. A span too short to reach past
// the boundary is all tail.
struct SpanSplit {
    std::int32_t head = 0;
    std::int32_t groups = 0;
    std::int32_t tail = 0;
};

ORV_PIXEL_INLINE SpanSplit SplitSpan(const std::uint32_t* first, std::int32_t count) {
    if (count <= 0) return {};
    const auto offset = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(first) % 16);
    const std::int32_t head = offset != 0 ? (16 - offset) / 4 : 0;
    if (count <= head) return {0, 0, count};
    return {head, (count - head) / 4, (count - head) % 4};
}

}  // namespace orv
