#pragma once

#include <cstdint>

#include "render/sprite.h"

namespace orv {

// Texel coordinates are 16.16 fixed point without a half-texel offset. Both samplers clamp to the
// whole texture, not to the sprite's frame: a sample just outside a frame reads its neighbour.

inline std::uint32_t SampleNearest(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
    std::int32_t column = u < 0 ? 0 : u >> 16;
    std::int32_t row = v < 0 ? 0 : v >> 16;
    if (column > sampler.lastColumn) column = sampler.lastColumn;
    if (row > sampler.lastRow) row = sampler.lastRow;
    return sampler.texture->Row(static_cast<std::uint32_t>(row))[column];
}

namespace detail {

// One byte of a 16-bit weighted mix. The weights add up to 65535, not 65536, so mixing two equal
// values of 255 gives 254; frames are defined with that loss.
inline std::uint32_t MixByte(std::uint32_t p, std::uint32_t q, std::uint32_t w, int shift) {
    return ((((p >> shift) & 0xFF) * (65535 - w) + ((q >> shift) & 0xFF) * w) >> 16) << shift;
}

inline std::uint32_t Mix(std::uint32_t p, std::uint32_t q, std::uint32_t w) {
    return MixByte(p, q, w, 0) | MixByte(p, q, w, 8) | MixByte(p, q, w, 16) | MixByte(p, q, w, 24);
}

}  // namespace detail

inline std::uint32_t SampleBilinear(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
    const FrameBuffer& texture = *sampler.texture;
    const std::int32_t lastColumn = sampler.lastColumn;
    const std::int32_t lastRow = sampler.lastRow;
    const std::uint32_t fx = static_cast<std::uint32_t>(u) & 0xFFFF;
    const std::uint32_t fy = static_cast<std::uint32_t>(v) & 0xFFFF;
    const std::int32_t x = u >> 16;
    const std::int32_t y = v >> 16;
    auto pixel = [&texture](std::int32_t column, std::int32_t row) {
        return texture.Row(static_cast<std::uint32_t>(row))[column];
    };
    // Compared in 64 bits: a texture taller or wider than 32767 texels would overflow 16.16.
    const bool pastLastColumn = std::int64_t{u} >= std::int64_t{lastColumn} * 65536;
    const bool pastLastRow = std::int64_t{v} >= std::int64_t{lastRow} * 65536;

    if (u < 0 || pastLastColumn) {
        const std::int32_t column = u < 0 ? 0 : lastColumn;
        if (v < 0) return pixel(column, 0);
        if (pastLastRow) return pixel(column, lastRow);
        return detail::Mix(pixel(column, y), pixel(column, y + 1), fy);
    }
    if (v < 0) return detail::Mix(pixel(x, 0), pixel(x + 1, 0), fx);
    if (pastLastRow) return detail::Mix(pixel(x, lastRow), pixel(x + 1, lastRow), fx);
    const std::uint32_t* upper = texture.Row(static_cast<std::uint32_t>(y)) + x;
    const std::uint32_t* lower = texture.Row(static_cast<std::uint32_t>(y + 1)) + x;
    return detail::Mix(detail::Mix(upper[0], upper[1], fx), detail::Mix(lower[0], lower[1], fx), fy);
}

// Sampler policies of the drawing variants.
struct NearestSampling {
    static std::uint32_t Sample(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
        return SampleNearest(sampler, u, v);
    }
};

struct BilinearSampling {
    static std::uint32_t Sample(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
        return SampleBilinear(sampler, u, v);
    }
};

}  // namespace orv
