#pragma once

#include <cstdint>

#include "render/frame_buffer.h"

namespace orv {

// Whole pixels, right and bottom exclusive.
struct PixelRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Clips a target rectangle to a target of targetWidth x targetHeight and a source rectangle to a
// source of sourceWidth x sourceHeight, moving the other rectangle's edges in proportion. False
// when nothing remains to copy.
bool ClipRectPair(std::uint32_t targetWidth, std::uint32_t targetHeight, std::uint32_t sourceWidth,
                  std::uint32_t sourceHeight, PixelRect& target, PixelRect& source);

// Every pixel of `target` becomes `word`. The `sse2` choice is accepted like the other frame
// operations take it; one vectorised fill serves both paths.
void ClearFrame(FrameBuffer& target, std::uint32_t word, bool sse2);

// Clipped one-to-one copy, alpha included.
void CopyRect(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
              const PixelRect& sourceRect, bool sse2);

// Clipped copy in which every target pixel moves towards the source pixel by the source's alpha:
// per channel d + floor((s - d) * a / 256); the result is opaque.
void CompositeOver(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
                   const PixelRect& sourceRect, bool sse2);

}  // namespace orv
