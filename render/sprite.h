#pragma once

#include <cstdint>

#include "render/frame_buffer.h"
#include "render/row_band.h"

namespace orv {

// Per-sprite inputs of the fills. Coordinates of destination rectangles are 16.16 fixed point.
struct SpriteTint {
    std::uint32_t alpha = 255;  // 0..255
    std::uint32_t red = 255, green = 255, blue = 255;
};

struct TexelRect {  // whole texels, right and bottom exclusive
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct FixedRect {  // 16.16 destination pixels
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct QuadVertex {
    double x = 0, y = 0;  // destination pixels
    double u = 0, v = 0;  // texels
};

struct SpriteQuad {
    std::int32_t count = 0;
    QuadVertex vertex[4];
};

struct TexelSampler {
    const FrameBuffer* texture = nullptr;
    std::int32_t lastColumn = 0;  // width - 1
    std::int32_t lastRow = 0;     // height - 1
};

// The five selectors that pick one of the 32 drawing variants, once per emitter and step.
struct SpriteVariantKey {
    bool bilinear = false;     // sampling: nearest or bilinear
    bool opaqueTarget = true;  // target kind: opaque, or with alpha
    bool sse2 = false;         // code path: SSE2 rectangle spans or plain
    bool normalBlend = false;  // blending: additive or normal
    bool tinted = false;       // tint: the particle colour multiplies the texel
};

// One drawing variant: its rectangle fill and its quad fill, with sampler, pixel operation and
// code path fixed when the variant was generated. Each fill draws only the rows of `band` (rows
// outside the target are ignored); a sprite drawn band by band over all rows gives exactly the
// pixels it gives when drawn over AllRows(target) at once.
struct SpriteFills {
    void (*fillRect)(FrameBuffer& target, const RowBand& band, const FixedRect& dest, const TexelRect& source,
                     const SpriteTint& tint, const TexelSampler& sampler);
    void (*fillQuad)(FrameBuffer& target, const RowBand& band, const SpriteQuad& quad, const SpriteTint& tint,
                     const TexelSampler& sampler);
};

// The variant for a key. The SSE2 request is honoured only where SSE2 code is compiled in.
const SpriteFills& SelectSpriteFills(const SpriteVariantKey& key);

}  // namespace orv
