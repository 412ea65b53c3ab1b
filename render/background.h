#pragma once

#include <cstdint>

#include "render/frame_buffer.h"
#include "render/row_band.h"

namespace orv {

// The background colour word 0xAARRGGBB from the raw values of the four background parameters
// (three decimals, 0 to 1000 for 0.000 to 1.000).
std::uint32_t BackgroundColour(std::int32_t rawRed, std::int32_t rawGreen, std::int32_t rawBlue,
                               std::int32_t rawAlpha);

// The preview's background step: the image, unscaled, at the top-left corner when there is one
// (the rest of the target is left as it was), otherwise the whole target in `colour`.
// Limited to the rows of `band`, so that a frame can be composed band by band.
void DrawBackground(FrameBuffer& target, const FrameBuffer* image, std::uint32_t colour, bool sse2,
                    const RowBand& band);

}  // namespace orv
