#pragma once

#include "render/span_split.h"

#if ORV_RENDER_SSE2

#include <emmintrin.h>

#include <cstdint>

#include "render/pixel_operations.h"
#include "render/sprite.h"

namespace orv {

// SSE2 forms of the pixel operations: four destination pixels (one aligned group) and four
// texels in, four pixels out. Constants that depend only on the sprite are made once per sprite.

namespace sse2 {

// Copies the alpha lane (3) of every pixel into its four 16-bit lanes.
inline __m128i BroadcastAlpha16(__m128i pixels16) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels16, 0xFF), 0xFF);
}

// From one value per pixel (low 16 bits of each 32-bit lane) to that value in all four 16-bit
// lanes of the pixel: pixels 0 and 1 in `low`, 2 and 3 in `high`.
inline void SpreadPerPixel(__m128i values32, __m128i& low, __m128i& high) {
    const __m128i doubled = _mm_or_si128(values32, _mm_slli_epi32(values32, 16));
    low = _mm_unpacklo_epi32(doubled, doubled);
    high = _mm_unpackhi_epi32(doubled, doubled);
}

// The division by 255 of a product of two alphas: ((x + 128) * 32897) >> 23, per 32-bit lane
// holding x in its low 16 bits.
inline __m128i DivideBy255(__m128i x32) {
    return _mm_srli_epi32(_mm_mulhi_epu16(_mm_add_epi32(x32, _mm_set1_epi32(128)), _mm_set1_epi32(32897)), 7);
}

// All ones in lanes [first, end) of four, zero in the others (0 <= first <= end <= 4).
inline __m128i LaneMask(std::int32_t first, std::int32_t end) {
    alignas(16) static constexpr std::uint32_t kLanes[12] = {0, 0, 0, 0, ~0u, ~0u, ~0u, ~0u, 0, 0, 0, 0};
    return _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kLanes + 4 - first)),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(kLanes + 8 - end)));
}

}  // namespace sse2

// The 16-byte lanes of the SSE2 code, as the opaque operations' template takes them; wider
// registers provide the same functions (each working within 16-byte halves where SSE2 has no
// wider form, which per-pixel arithmetic does not notice).
struct Sse2Lanes {
    using Vector = __m128i;
    ORV_PIXEL_INLINE static Vector Repeat32(std::uint32_t value) {
        return _mm_set1_epi32(static_cast<int>(value));
    }
    ORV_PIXEL_INLINE static Vector Repeat16(std::uint16_t value) {
        return _mm_set1_epi16(static_cast<short>(value));
    }
    // (red, green, blue) in the colour lanes of each pixel's four 16-bit lanes, 0 in its alpha lane.
    ORV_PIXEL_INLINE static Vector RepeatColour16(std::uint16_t red, std::uint16_t green,
                                                  std::uint16_t blue) {
        return _mm_set_epi16(0, static_cast<short>(red), static_cast<short>(green), static_cast<short>(blue),
                             0, static_cast<short>(red), static_cast<short>(green), static_cast<short>(blue));
    }
    ORV_PIXEL_INLINE static Vector Or(Vector a, Vector b) { return _mm_or_si128(a, b); }
    ORV_PIXEL_INLINE static Vector WidenLow(Vector a) { return _mm_unpacklo_epi8(a, _mm_setzero_si128()); }
    ORV_PIXEL_INLINE static Vector WidenHigh(Vector a) { return _mm_unpackhi_epi8(a, _mm_setzero_si128()); }
    ORV_PIXEL_INLINE static Vector Narrow(Vector low, Vector high) { return _mm_packus_epi16(low, high); }
    ORV_PIXEL_INLINE static Vector AlphaToAll16(Vector a) { return sse2::BroadcastAlpha16(a); }
    ORV_PIXEL_INLINE static Vector MulHigh16(Vector a, Vector b) { return _mm_mulhi_epu16(a, b); }
    ORV_PIXEL_INLINE static Vector MulLow16(Vector a, Vector b) { return _mm_mullo_epi16(a, b); }
    ORV_PIXEL_INLINE static Vector Sub16(Vector a, Vector b) { return _mm_sub_epi16(a, b); }
    ORV_PIXEL_INLINE static Vector ShiftRight16By8(Vector a) { return _mm_srli_epi16(a, 8); }
    ORV_PIXEL_INLINE static Vector Add8(Vector a, Vector b) { return _mm_add_epi8(a, b); }
    ORV_PIXEL_INLINE static Vector AddSaturate8(Vector a, Vector b) { return _mm_adds_epu8(a, b); }
};

// d + ((c - d) * a >> 8) per byte, the product kept to its low 16 bits and the sum taken modulo
// 256: exactly the scalar interpolation, since the true result always lies in 0..255.
template <class Lanes, class Vector = typename Lanes::Vector>
ORV_PIXEL_INLINE Vector InterpolateBytes(Vector d, Vector dLow, Vector dHigh, Vector cLow, Vector cHigh,
                                         Vector aLow, Vector aHigh) {
    const Vector stepLow = Lanes::ShiftRight16By8(Lanes::MulLow16(Lanes::Sub16(cLow, dLow), aLow));
    const Vector stepHigh = Lanes::ShiftRight16By8(Lanes::MulLow16(Lanes::Sub16(cHigh, dHigh), aHigh));
    return Lanes::Add8(d, Lanes::Narrow(stepLow, stepHigh));
}

// Opaque target, bit-identical to OpaqueNormal / OpaqueAdd, on the lanes of Lanes: every pixel
// is blended on its own, so any register width gives the same pixels.
template <class Lanes, bool Tinted, bool Additive>
class OpaqueWide {
public:
    using Vector = typename Lanes::Vector;

    explicit OpaqueWide(const SpriteTint& tint)
        : alphaScale_(Lanes::Repeat16(static_cast<std::uint16_t>(tint.alpha << 8))),
          tintScale_(Lanes::RepeatColour16(static_cast<std::uint16_t>(tint.red << 8),
                                           static_cast<std::uint16_t>(tint.green << 8),
                                           static_cast<std::uint16_t>(tint.blue << 8))) {}

    ORV_PIXEL_INLINE Vector operator()(Vector d, Vector s) const {
        const Vector dLow = Lanes::WidenLow(d), dHigh = Lanes::WidenHigh(d);
        const Vector sLow = Lanes::WidenLow(s), sHigh = Lanes::WidenHigh(s);
        const Vector aLow = Lanes::MulHigh16(Lanes::AlphaToAll16(sLow), alphaScale_);
        const Vector aHigh = Lanes::MulHigh16(Lanes::AlphaToAll16(sHigh), alphaScale_);
        Vector mLow = sLow, mHigh = sHigh;
        if constexpr (Tinted) {
            mLow = Lanes::MulHigh16(sLow, tintScale_);
            mHigh = Lanes::MulHigh16(sHigh, tintScale_);
        }
        if constexpr (Additive) {
            const Vector sum = Lanes::AddSaturate8(d, Tinted ? Lanes::Narrow(mLow, mHigh) : s);
            mLow = Lanes::WidenLow(sum);
            mHigh = Lanes::WidenHigh(sum);
        }
        return Lanes::Or(InterpolateBytes<Lanes>(d, dLow, dHigh, mLow, mHigh, aLow, aHigh),
                         Lanes::Repeat32(0xFF000000u));
    }

private:
    Vector alphaScale_;
    Vector tintScale_;
};

template <bool Tinted, bool Additive>
using OpaqueSse2 = OpaqueWide<Sse2Lanes, Tinted, Additive>;

// Target with alpha: source-over without tables, dividing by the result alpha through the
// processor's approximate reciprocal. Close to, not identical with, the plain operations.
template <bool Tinted, bool Additive>
class TransparentSse2 {
public:
    explicit TransparentSse2(const SpriteTint& tint)
        : alphaScale_(_mm_set1_epi32(static_cast<int>(tint.alpha << 8))),
          tintScale_(Sse2Lanes::RepeatColour16(static_cast<std::uint16_t>(tint.red << 8),
                                               static_cast<std::uint16_t>(tint.green << 8),
                                               static_cast<std::uint16_t>(tint.blue << 8))) {}

    ORV_PIXEL_INLINE __m128i operator()(__m128i d, __m128i s) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i full = _mm_set1_epi32(255);
        // Alphas and weights, one per 32-bit lane.
        const __m128i ea = _mm_mulhi_epu16(_mm_srli_epi32(s, 24), alphaScale_);
        const __m128i da = _mm_srli_epi32(d, 24);
        const __m128i kd = sse2::DivideBy255(_mm_mullo_epi16(_mm_sub_epi32(full, ea), da));
        const __m128i alpha = _mm_add_epi32(ea, kd);
        const __m128i divisor =
            _mm_or_si128(alpha, _mm_and_si128(_mm_cmpeq_epi32(alpha, zero), _mm_set1_epi32(65535)));
        const __m128 reciprocal = _mm_mul_ps(_mm_rcp_ps(_mm_cvtepi32_ps(divisor)), _mm_set1_ps(65536.0f));
        const __m128i scale = _mm_cvtps_epi32(_mm_min_ps(reciprocal, _mm_set1_ps(32767.0f)));

        const __m128i dLow = _mm_unpacklo_epi8(d, zero), dHigh = _mm_unpackhi_epi8(d, zero);
        const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
        __m128i mLow = sLow, mHigh = sHigh;
        if constexpr (Tinted) {
            mLow = _mm_mulhi_epu16(sLow, tintScale_);
            mHigh = _mm_mulhi_epu16(sHigh, tintScale_);
        }
        const __m128i rounding = _mm_set1_epi16(128);
        __m128i kdLow, kdHigh, scaleLow, scaleHigh;
        sse2::SpreadPerPixel(kd, kdLow, kdHigh);
        sse2::SpreadPerPixel(scale, scaleLow, scaleHigh);
        __m128i nLow, nHigh;
        if constexpr (Additive) {
            const __m128i ks = sse2::DivideBy255(_mm_mullo_epi16(_mm_sub_epi32(full, da), ea));
            const __m128i kb = sse2::DivideBy255(_mm_mullo_epi16(ea, da));
            __m128i ksLow, ksHigh, kbLow, kbHigh;
            sse2::SpreadPerPixel(ks, ksLow, ksHigh);
            sse2::SpreadPerPixel(kb, kbLow, kbHigh);
            const __m128i sum = _mm_adds_epu8(d, Tinted ? _mm_packus_epi16(mLow, mHigh) : s);
            const __m128i sumLow = _mm_unpacklo_epi8(sum, zero), sumHigh = _mm_unpackhi_epi8(sum, zero);
            nLow = _mm_adds_epu16(_mm_adds_epu16(_mm_mullo_epi16(mLow, ksLow), _mm_mullo_epi16(dLow, kdLow)),
                                  _mm_adds_epu16(_mm_mullo_epi16(sumLow, kbLow), rounding));
            nHigh =
                _mm_adds_epu16(_mm_adds_epu16(_mm_mullo_epi16(mHigh, ksHigh), _mm_mullo_epi16(dHigh, kdHigh)),
                               _mm_adds_epu16(_mm_mullo_epi16(sumHigh, kbHigh), rounding));
        } else {
            __m128i eaLow, eaHigh;
            sse2::SpreadPerPixel(ea, eaLow, eaHigh);
            nLow = _mm_adds_epu16(_mm_adds_epu16(_mm_mullo_epi16(mLow, eaLow), _mm_mullo_epi16(dLow, kdLow)),
                                  rounding);
            nHigh = _mm_adds_epu16(
                _mm_adds_epu16(_mm_mullo_epi16(mHigh, eaHigh), _mm_mullo_epi16(dHigh, kdHigh)), rounding);
        }
        const __m128i colour =
            _mm_packus_epi16(_mm_mulhi_epu16(nLow, scaleLow), _mm_mulhi_epu16(nHigh, scaleHigh));
        const __m128i pixel =
            _mm_or_si128(_mm_and_si128(colour, _mm_set1_epi32(0x00FFFFFF)), _mm_slli_epi32(alpha, 24));
        return _mm_andnot_si128(_mm_cmpeq_epi32(alpha, zero), pixel);
    }

private:
    __m128i alphaScale_;
    __m128i tintScale_;
};

// The SSE2 form belonging to each scalar operation policy.
template <class Op>
struct Sse2FormOf;
template <bool Tinted>
struct Sse2FormOf<OpaqueNormalOp<Tinted>> {
    using type = OpaqueSse2<Tinted, false>;
};
template <bool Tinted>
struct Sse2FormOf<OpaqueAddOp<Tinted>> {
    using type = OpaqueSse2<Tinted, true>;
};
template <bool Tinted>
struct Sse2FormOf<TransparentNormalOp<Tinted>> {
    using type = TransparentSse2<Tinted, false>;
};
template <bool Tinted>
struct Sse2FormOf<TransparentAddOp<Tinted>> {
    using type = TransparentSse2<Tinted, true>;
};

}  // namespace orv

#endif  // ORV_RENDER_SSE2
