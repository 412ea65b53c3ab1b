#pragma once

#include <cstdint>

#include "render/frame_buffer.h"
#include "render/row_band.h"

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

// Each operation below also comes in a form limited to the target rows of a band: it does the part
// of the whole operation that falls on those rows, so a frame can be composed band by band.

// Every pixel of `target` becomes `word`. The `sse2` choice is accepted like the other frame
// operations take it; one vectorised fill serves both paths.
void ClearFrame(FrameBuffer& target, std::uint32_t word, bool sse2);
void ClearFrame(FrameBuffer& target, std::uint32_t word, bool sse2, const RowBand& band);

// Clipped one-to-one copy, alpha included.
void CopyRect(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
              const PixelRect& sourceRect, bool sse2);
void CopyRect(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
              const PixelRect& sourceRect, bool sse2, const RowBand& band);

// Clipped copy in which every target pixel moves towards the source pixel by the source's alpha:
// per channel d + floor((s - d) * a / 256); the result is opaque.
void CompositeOver(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
                   const PixelRect& sourceRect, bool sse2);
void CompositeOver(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
                   const PixelRect& sourceRect, bool sse2, const RowBand& band);

}  // namespace orv
