#pragma once

#include <cstdint>

#include "render/sprite.h"
#include "render/sse2_support.h"

#if ORV_RENDER_SSE2
#include <emmintrin.h>
#endif

namespace orv {

// Texel coordinates are 16.16 fixed point without a half-texel offset. Both samplers clamp to the
// whole texture, not to the sprite's frame: a sample just outside a frame reads its neighbour.

// Sampler policies of the drawing variants, made once per sprite: the texture's bounds are kept
// in locals that the pixel stores cannot alias.
class NearestSampling {
public:
    explicit NearestSampling(const TexelSampler& sampler)
        : texture_(*sampler.texture), lastColumn_(sampler.lastColumn), lastRow_(sampler.lastRow) {}

    std::uint32_t operator()(std::int32_t u, std::int32_t v) const {
        std::int32_t column = u < 0 ? 0 : u >> 16;
        std::int32_t row = v < 0 ? 0 : v >> 16;
        if (column > lastColumn_) column = lastColumn_;
        if (row > lastRow_) row = lastRow_;
        return texture_.Row(static_cast<std::uint32_t>(row))[column];
    }

private:
    const FrameBuffer& texture_;
    std::int32_t lastColumn_, lastRow_;
};

inline std::uint32_t SampleNearest(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
    return NearestSampling(sampler)(u, v);
}

namespace detail {

// Pixels are mixed per byte as (p * (65535 - w) + q * w) >> 16. The weights add up to 65535, not
// 65536, so mixing two equal values of 255 gives 254; frames are defined with that loss.
#if ORV_RENDER_SSE2
// In 16-bit lanes: p + floor(((q - p) * w - p) / 65536), the product split into its
// low and high halves (w is unsigned, the multiply signed, hence the correction of the high half).
inline __m128i MixLanes(__m128i p, __m128i q, __m128i w) {
    const __m128i diff = _mm_sub_epi16(q, p);
    const __m128i low = _mm_mullo_epi16(diff, w);
    const __m128i high = _mm_add_epi16(_mm_mulhi_epi16(diff, w), _mm_and_si128(diff, _mm_srai_epi16(w, 15)));
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i borrow = _mm_cmplt_epi16(_mm_xor_si128(low, bias), _mm_xor_si128(p, bias));
    return _mm_add_epi16(_mm_add_epi16(p, high), borrow);
}

inline __m128i Widen(std::uint32_t first, std::uint32_t second) {
    return _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(second), static_cast<int>(first)),
                             _mm_setzero_si128());
}

inline std::uint32_t Narrow(__m128i lanes) {
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(lanes, lanes)));
}

inline std::uint32_t Mix(std::uint32_t p, std::uint32_t q, std::uint32_t w) {
    return Narrow(MixLanes(Widen(p, 0), Widen(q, 0), _mm_set1_epi16(static_cast<short>(w))));
}

// Both rows are mixed across in one go (upper in lanes 0-3, lower in 4-7), then down.
inline std::uint32_t Mix4(std::uint32_t p00, std::uint32_t p10, std::uint32_t p01, std::uint32_t p11,
                          std::uint32_t fx, std::uint32_t fy) {
    const __m128i rows = MixLanes(Widen(p00, p01), Widen(p10, p11), _mm_set1_epi16(static_cast<short>(fx)));
    return Narrow(MixLanes(rows, _mm_unpackhi_epi64(rows, rows), _mm_set1_epi16(static_cast<short>(fy))));
}
#else
// Two bytes are mixed per 64-bit multiply, each in its own 32-bit slot so that no sum reaches the
// other (255 * 65535 < 2^24).
constexpr std::uint64_t kSlotBytes = 0x000000FF000000FFull;

inline std::uint64_t SpreadBlueRed(std::uint32_t p) {
    return (p & 0xFF) | std::uint64_t{p & 0xFF0000} << 16;
}
inline std::uint64_t SpreadGreenAlpha(std::uint32_t p) {
    return ((p >> 8) & 0xFF) | std::uint64_t{p >> 24} << 32;
}

inline std::uint64_t MixSpread(std::uint64_t p, std::uint64_t q, std::uint32_t w) {
    return ((p * (65535 - w) + q * w) >> 16) & kSlotBytes;
}

inline std::uint32_t Gather(std::uint64_t blueRed, std::uint64_t greenAlpha) {
    return static_cast<std::uint32_t>(blueRed | blueRed >> 16 | greenAlpha << 8 | greenAlpha >> 8);
}

inline std::uint32_t Mix(std::uint32_t p, std::uint32_t q, std::uint32_t w) {
    return Gather(MixSpread(SpreadBlueRed(p), SpreadBlueRed(q), w),
                  MixSpread(SpreadGreenAlpha(p), SpreadGreenAlpha(q), w));
}

inline std::uint32_t Mix4(std::uint32_t p00, std::uint32_t p10, std::uint32_t p01, std::uint32_t p11,
                          std::uint32_t fx, std::uint32_t fy) {
    const std::uint64_t blueRed = MixSpread(MixSpread(SpreadBlueRed(p00), SpreadBlueRed(p10), fx),
                                            MixSpread(SpreadBlueRed(p01), SpreadBlueRed(p11), fx), fy);
    const std::uint64_t greenAlpha =
        MixSpread(MixSpread(SpreadGreenAlpha(p00), SpreadGreenAlpha(p10), fx),
                  MixSpread(SpreadGreenAlpha(p01), SpreadGreenAlpha(p11), fx), fy);
    return Gather(blueRed, greenAlpha);
}
#endif

}  // namespace detail

class BilinearSampling {
public:
    explicit BilinearSampling(const TexelSampler& sampler)
        : texture_(*sampler.texture),
          lastColumn_(sampler.lastColumn),
          lastRow_(sampler.lastRow),
          // In 64 bits: a texture wider or taller than 32767 texels would overflow 16.16.
          columnLimit_(std::int64_t{sampler.lastColumn} * 65536),
          rowLimit_(std::int64_t{sampler.lastRow} * 65536) {}

    std::uint32_t operator()(std::int32_t u, std::int32_t v) const {
        const std::uint32_t fx = static_cast<std::uint32_t>(u) & 0xFFFF;
        const std::uint32_t fy = static_cast<std::uint32_t>(v) & 0xFFFF;
        const std::int32_t x = u >> 16;
        const std::int32_t y = v >> 16;
        const bool pastLastColumn = u >= columnLimit_;
        const bool pastLastRow = v >= rowLimit_;
        if (u < 0 || pastLastColumn) {
            const std::int32_t column = u < 0 ? 0 : lastColumn_;
            if (v < 0) return Pixel(column, 0);
            if (pastLastRow) return Pixel(column, lastRow_);
            return detail::Mix(Pixel(column, y), Pixel(column, y + 1), fy);
        }
        if (v < 0) return detail::Mix(Pixel(x, 0), Pixel(x + 1, 0), fx);
        if (pastLastRow) return detail::Mix(Pixel(x, lastRow_), Pixel(x + 1, lastRow_), fx);
        const std::uint32_t* upper = texture_.Row(static_cast<std::uint32_t>(y)) + x;
        const std::uint32_t* lower = texture_.Row(static_cast<std::uint32_t>(y + 1)) + x;
        return detail::Mix4(upper[0], upper[1], lower[0], lower[1], fx, fy);
    }

private:
    std::uint32_t Pixel(std::int32_t column, std::int32_t row) const {
        return texture_.Row(static_cast<std::uint32_t>(row))[column];
    }

    const FrameBuffer& texture_;
    std::int32_t lastColumn_, lastRow_;
    std::int64_t columnLimit_, rowLimit_;
};

inline std::uint32_t SampleBilinear(const TexelSampler& sampler, std::int32_t u, std::int32_t v) {
    return BilinearSampling(sampler)(u, v);
}

}  // namespace orv
