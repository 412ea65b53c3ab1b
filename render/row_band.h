#pragma once

#include <cstdint>

#include "render/frame_buffer.h"

namespace orv {

// Rows [top, bottom) of a frame. A frame can be drawn band by band, one thread per band: every
// operation clipped to the band touches only its rows and gives each pixel the blends, in the
// same order, that it would get when the whole frame is drawn at once.
struct RowBand {
    std::int32_t top = 0;
    std::int32_t bottom = 0;

    bool Empty() const { return bottom <= top; }
};

// Every row of a frame.
inline RowBand AllRows(const FrameBuffer& frame) {
    return {0, static_cast<std::int32_t>(frame.Height())};
}

// The rows of `band` that lie inside a frame of `height` rows.
inline RowBand ClampBand(const RowBand& band, std::uint32_t height) {
    const auto rows = static_cast<std::int64_t>(height);
    const std::int64_t top = band.top < 0 ? 0 : band.top;
    const std::int64_t bottom = band.bottom > rows ? rows : band.bottom;
    return {static_cast<std::int32_t>(top), static_cast<std::int32_t>(bottom < top ? top : bottom)};
}

}  // namespace orv
