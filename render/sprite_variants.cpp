#include <array>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "render/avx2_rows.h"
#include "render/pixel_operations.h"
#include "render/sprite.h"
#include "render/sprite_fill.h"
#include "render/texel_samplers.h"

namespace orv {

namespace {

// Variant index bits, most significant first in the order the selectors take precedence.
constexpr std::size_t kBilinearBit = 16, kWithAlphaBit = 8, kSse2Bit = 4, kNormalBit = 2, kTintedBit = 1;

template <bool Opaque, bool Normal, bool Tinted>
struct OperationFor;
template <bool Tinted>
struct OperationFor<true, true, Tinted> {
    using type = OpaqueNormalOp<Tinted>;
};
template <bool Tinted>
struct OperationFor<true, false, Tinted> {
    using type = OpaqueAddOp<Tinted>;
};
template <bool Tinted>
struct OperationFor<false, true, Tinted> {
    using type = TransparentNormalOp<Tinted>;
};
template <bool Tinted>
struct OperationFor<false, false, Tinted> {
    using type = TransparentAddOp<Tinted>;
};

#if ORV_RENDER_SSE2
template <class Sampler, class Op>
using Sse2OrPlainSpans = Sse2Spans<Sampler, Op>;
#else
// Without SSE2 code the plain path serves the SSE2 request.
template <class Sampler, class Op>
using Sse2OrPlainSpans = PlainSpans<Sampler, Op>;
#endif

// With Avx2, the SSE2 variants of nearest sampling onto opaque targets draw with the AVX2 rows.
template <std::size_t Index, bool Avx2>
constexpr SpriteFills MakeFills() {
    using Sampler = std::conditional_t<(Index & kBilinearBit) != 0, BilinearSampling, NearestSampling>;
    using Op = typename OperationFor<(Index & kWithAlphaBit) == 0, (Index & kNormalBit) != 0,
                                     (Index & kTintedBit) != 0>::type;
    if constexpr ((Index & kSse2Bit) == 0) {
        return {&FillSpriteRect<Sampler, Op, PlainSpans>, &FillSpriteQuad<Sampler, Op>};
#if ORV_RENDER_AVX2
    } else if constexpr (Avx2 && (Index & (kBilinearBit | kWithAlphaBit)) == 0) {
        return {&FillSpriteRect<Sampler, Op, Avx2Spans>, &FillSpriteQuad<Sampler, Op, true, true>};
#endif
    } else {
        return {&FillSpriteRect<Sampler, Op, Sse2OrPlainSpans>, &FillSpriteQuad<Sampler, Op, true>};
    }
}

template <bool Avx2, std::size_t... Index>
constexpr std::array<SpriteFills, sizeof...(Index)> MakeTable(std::index_sequence<Index...>) {
    return {MakeFills<Index, Avx2>()...};
}

constexpr std::array<SpriteFills, 32> kVariants = MakeTable<false>(std::make_index_sequence<32>{});
constexpr std::array<SpriteFills, 32> kAvx2Variants = MakeTable<true>(std::make_index_sequence<32>{});

}  // namespace

const SpriteFills& SelectSpriteFills(const SpriteVariantKey& key) {
    const std::size_t index = (key.bilinear ? kBilinearBit : 0) | (key.opaqueTarget ? 0 : kWithAlphaBit) |
                              (key.sse2 ? kSse2Bit : 0) | (key.normalBlend ? kNormalBit : 0) |
                              (key.tinted ? kTintedBit : 0);
    return (key.sse2 && Avx2RowsEnabled() ? kAvx2Variants : kVariants)[index];
}

}  // namespace orv
