// Compiled for AVX2: nothing here may run before Avx2RowsEnabled() said so. The file defines only
// the rows declared in avx2_rows.h and uses only templates instantiated for its own 32-byte
// lanes, so no function that other files share is compiled for AVX2 here.
#include <immintrin.h>

#include "render/avx2_rows.h"
#include "render/pixel_operations_sse2.h"

namespace orv {

namespace {

// The 32-byte lanes of the opaque operations' template; unpacking and packing work within 16-byte
// halves, each the same as one SSE2 register.
struct Avx2Lanes {
    using Vector = __m256i;
    ORV_PIXEL_INLINE static Vector Repeat32(std::uint32_t value) {
        return _mm256_set1_epi32(static_cast<int>(value));
    }
    ORV_PIXEL_INLINE static Vector Repeat16(std::uint16_t value) {
        return _mm256_set1_epi16(static_cast<short>(value));
    }
    ORV_PIXEL_INLINE static Vector RepeatColour16(std::uint16_t red, std::uint16_t green,
                                                  std::uint16_t blue) {
        const auto r = static_cast<short>(red), g = static_cast<short>(green), b = static_cast<short>(blue);
        return _mm256_set_epi16(0, r, g, b, 0, r, g, b, 0, r, g, b, 0, r, g, b);
    }
    ORV_PIXEL_INLINE static Vector Or(Vector a, Vector b) { return _mm256_or_si256(a, b); }
    ORV_PIXEL_INLINE static Vector WidenLow(Vector a) {
        return _mm256_unpacklo_epi8(a, _mm256_setzero_si256());
    }
    ORV_PIXEL_INLINE static Vector WidenHigh(Vector a) {
        return _mm256_unpackhi_epi8(a, _mm256_setzero_si256());
    }
    ORV_PIXEL_INLINE static Vector Narrow(Vector low, Vector high) { return _mm256_packus_epi16(low, high); }
    ORV_PIXEL_INLINE static Vector AlphaToAll16(Vector a) {
        return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF);
    }
    ORV_PIXEL_INLINE static Vector MulHigh16(Vector a, Vector b) { return _mm256_mulhi_epu16(a, b); }
    ORV_PIXEL_INLINE static Vector MulLow16(Vector a, Vector b) { return _mm256_mullo_epi16(a, b); }
    ORV_PIXEL_INLINE static Vector Sub16(Vector a, Vector b) { return _mm256_sub_epi16(a, b); }
    ORV_PIXEL_INLINE static Vector ShiftRight16By8(Vector a) { return _mm256_srli_epi16(a, 8); }
    ORV_PIXEL_INLINE static Vector Add8(Vector a, Vector b) { return _mm256_add_epi8(a, b); }
    ORV_PIXEL_INLINE static Vector AddSaturate8(Vector a, Vector b) { return _mm256_adds_epu8(a, b); }
};

// Nearest sampling's clamp of 16.16 coordinates to texel indices 0..last.
ORV_PIXEL_INLINE __m256i ClampedTexel(__m256i coordinate, __m256i last) {
    return _mm256_min_epi32(_mm256_max_epi32(_mm256_srai_epi32(coordinate, 16), _mm256_setzero_si256()),
                            last);
}

// The texels at the eight offsets, loaded one by one: faster here than the gather instruction.
ORV_PIXEL_INLINE __m256i Fetch(const int* base, __m256i offsets) {
    alignas(32) int at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), offsets);
    return _mm256_setr_epi32(base[at[0]], base[at[1]], base[at[2]], base[at[3]], base[at[4]], base[at[5]],
                             base[at[6]], base[at[7]]);
}

// Blends `count` pixels from `pixel` eight at a time, the last ones through a mask so that no
// other pixel is read or written; each call of offsets() gives the texel offsets of the next eight.
template <bool Tinted, bool Additive, class Offsets>
ORV_PIXEL_INLINE void BlendRow(std::uint32_t* pixel, std::int32_t count, const std::uint32_t* texels,
                               const SpriteTint& tint, Offsets offsets) {
    const OpaqueWide<Avx2Lanes, Tinted, Additive> blend(tint);
    const auto* base = reinterpret_cast<const int*>(texels);
    std::int32_t k = 0;
    for (; k + 8 <= count; k += 8) {
        auto* at = reinterpret_cast<__m256i*>(pixel + k);
        const __m256i sampled = Fetch(base, offsets());
        _mm256_storeu_si256(at, blend(_mm256_loadu_si256(at), sampled));
    }
    if (k < count) {
        const __m256i mask =
            _mm256_cmpgt_epi32(_mm256_set1_epi32(count - k), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
        auto* at = reinterpret_cast<int*>(pixel + k);
        const __m256i sampled = Fetch(base, offsets());
        _mm256_maskstore_epi32(at, mask, blend(_mm256_maskload_epi32(at, mask), sampled));
    }
}

// The 16.16 coordinates start + k step of lanes k = 0..7, wrapping as 32-bit sums do.
ORV_PIXEL_INLINE __m256i Steps(std::uint32_t start, std::uint32_t step) {
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(start)),
                            _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int>(step)),
                                               _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
}

}  // namespace

template <bool Tinted, bool Additive>
void BlendNearestRowAvx2(std::uint32_t* pixel, std::int32_t count, const std::uint32_t* texels,
                         std::int32_t lastColumn, std::uint32_t u, std::uint32_t du, const SpriteTint& tint) {
    __m256i us = Steps(u, du);
    const __m256i eight = _mm256_set1_epi32(static_cast<int>(du * 8));
    const __m256i last = _mm256_set1_epi32(lastColumn);
    BlendRow<Tinted, Additive>(pixel, count, texels, tint, [&]() ORV_LAMBDA_INLINE {
        const __m256i columns = ClampedTexel(us, last);
        us = _mm256_add_epi32(us, eight);
        return columns;
    });
}

template <bool Tinted, bool Additive>
void BlendNearestSlantedRowAvx2(std::uint32_t* pixel, std::int32_t count, const TexelGrid& grid,
                                std::uint32_t u, std::uint32_t v, std::uint32_t du, std::uint32_t dv,
                                const SpriteTint& tint) {
    __m256i us = Steps(u, du), vs = Steps(v, dv);
    const __m256i eightU = _mm256_set1_epi32(static_cast<int>(du * 8));
    const __m256i eightV = _mm256_set1_epi32(static_cast<int>(dv * 8));
    const __m256i lastColumn = _mm256_set1_epi32(grid.lastColumn), lastRow = _mm256_set1_epi32(grid.lastRow);
    const __m256i pitch = _mm256_set1_epi32(static_cast<int>(grid.pitch));
    BlendRow<Tinted, Additive>(pixel, count, grid.first, tint, [&]() ORV_LAMBDA_INLINE {
        const __m256i offsets = _mm256_add_epi32(_mm256_mullo_epi32(ClampedTexel(vs, lastRow), pitch),
                                                 ClampedTexel(us, lastColumn));
        us = _mm256_add_epi32(us, eightU);
        vs = _mm256_add_epi32(vs, eightV);
        return offsets;
    });
}

#define ORV_AVX2_ROWS(Tinted, Additive)                                                                     \
    template void BlendNearestRowAvx2<Tinted, Additive>(std::uint32_t*, std::int32_t, const std::uint32_t*, \
                                                        std::int32_t, std::uint32_t, std::uint32_t,         \
                                                        const SpriteTint&);                                 \
    template void BlendNearestSlantedRowAvx2<Tinted, Additive>(                                             \
        std::uint32_t*, std::int32_t, const TexelGrid&, std::uint32_t, std::uint32_t, std::uint32_t,        \
        std::uint32_t, const SpriteTint&);
ORV_AVX2_ROWS(false, false)
ORV_AVX2_ROWS(false, true)
ORV_AVX2_ROWS(true, false)
ORV_AVX2_ROWS(true, true)
#undef ORV_AVX2_ROWS

}  // namespace orv
