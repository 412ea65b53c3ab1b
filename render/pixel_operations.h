#pragma once

#include <cstdint>

#include "render/blend_tables.h"
#include "render/sprite.h"
#include "render/sse2_support.h"

namespace orv {

// Scalar pixel operations: (tint, destination pixel d, texel s) -> new destination pixel. All
// arithmetic is on unsigned 32-bit words so that the packed-channel tricks wrap as intended.

// Texel alpha scaled by the tint alpha; at most 254, so a sprite never fully covers a pixel.
ORV_PIXEL_INLINE std::uint32_t EffectiveAlpha(std::uint32_t s, const SpriteTint& tint) {
    return ((s >> 24) * tint.alpha) >> 8;
}

// Each colour channel becomes (channel * tint channel) >> 8; the alpha byte becomes 0.
ORV_PIXEL_INLINE std::uint32_t TintTexel(std::uint32_t s, const SpriteTint& tint) {
    return ((((s & 0xFF0000) * tint.red) & 0xFF0000FF) | (((s & 0xFF00) * tint.green) & 0xFF0000) |
            ((s & 0xFF) * tint.blue)) >>
           8;
}

template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t SpriteColour(std::uint32_t s, const SpriteTint& tint) {
    if constexpr (Tinted) {
        return TintTexel(s, tint);
    } else {
        return s;
    }
}

// Per colour channel d + floor((c - d) * a / 256), red and blue in one multiply. The alpha byte of
// the result is 255.
ORV_PIXEL_INLINE std::uint32_t InterpolateOpaque(std::uint32_t d, std::uint32_t c, std::uint32_t a) {
    const std::uint32_t rb =
        ((d & 0x00FF00FF) + ((((c & 0x00FF00FF) - (d & 0x00FF00FF)) * a) >> 8)) & 0xFFFF00FF;
    const std::uint32_t g = (((((c & 0xFF00) - (d & 0xFF00)) * a) >> 8) + (d & 0xFF00)) & 0xFF00;
    return rb | g | 0xFF000000;
}

// Per colour channel min(d + m, 255), three channels at once; the alpha byte is meaningless.
ORV_PIXEL_INLINE std::uint32_t SaturatingAdd(std::uint32_t d, std::uint32_t m) {
    const std::uint32_t carry = ((((d ^ m) & 0xFEFEFE) + ((d & m) * 2)) >> 8) & 0x010101;
    const std::uint32_t mask = (carry + 0x7F7F7F) ^ 0x7F7F7F;
    return ((d - mask) + m) | mask;
}

// Opaque target: every touched pixel ends with alpha 255.
template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t OpaqueNormal(const SpriteTint& tint, std::uint32_t d, std::uint32_t s) {
    return InterpolateOpaque(d, SpriteColour<Tinted>(s, tint), EffectiveAlpha(s, tint));
}

template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t OpaqueAdd(const SpriteTint& tint, std::uint32_t d, std::uint32_t s) {
    return InterpolateOpaque(d, SaturatingAdd(d, SpriteColour<Tinted>(s, tint)), EffectiveAlpha(s, tint));
}

// Target with alpha: source-over composition through the blend tables.
template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t TransparentNormal(const BlendTables& tables, const SpriteTint& tint,
                                                 std::uint32_t d, std::uint32_t s) {
    const std::uint32_t m = SpriteColour<Tinted>(s, tint);
    const std::uint32_t i = EffectiveAlpha(s, tint) * 256 + (d >> 24);
    const std::uint32_t w = tables.overWeight[i];
    const std::uint32_t rb =
        ((d & 0x00FF00FF) + ((((m & 0x00FF00FF) - (d & 0x00FF00FF)) * w) >> 8)) & 0x00FF00FF;
    const std::uint32_t g = (((((m & 0xFF00) - (d & 0xFF00)) * w) >> 8) + (d & 0xFF00)) & 0xFF00;
    return rb | g | (std::uint32_t{tables.outAlpha[i]} << 24);
}

// Splits the pixel into the parts covered by the destination only, the source only and both,
// and divides the weighted sum by the resulting alpha with the multiply-shift tables.
template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t TransparentAdd(const BlendTables& tables, const SpriteTint& tint,
                                              std::uint32_t d, std::uint32_t s) {
    const std::uint32_t m = SpriteColour<Tinted>(s, tint);
    const std::uint32_t sum = SaturatingAdd(d, m);
    const std::uint32_t i = EffectiveAlpha(s, tint) * 256 + (d >> 24);
    const std::uint32_t kb = tables.bothWeight[i];
    const std::uint32_t ks = tables.sourceOnlyWeight[i];
    const std::uint32_t kd = tables.destOnlyWeight[i];
    const std::uint32_t alpha = tables.outAlpha[i];
    const std::uint32_t increment = tables.divIncrement[alpha];
    const std::uint32_t multiplier = tables.divMultiplier[alpha];
    const std::uint32_t shift = tables.divShift[alpha];
    auto channel = [&](int at) {
        const std::uint32_t n = ((d >> at) & 0xFF) * kd + ((sum >> at) & 0xFF) * kb + ((m >> at) & 0xFF) * ks;
        return (((n + increment) * multiplier) >> shift) << at;
    };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t TransparentNormal(const SpriteTint& tint, std::uint32_t d, std::uint32_t s) {
    return TransparentNormal<Tinted>(GetBlendTables(), tint, d, s);
}

template <bool Tinted>
ORV_PIXEL_INLINE std::uint32_t TransparentAdd(const SpriteTint& tint, std::uint32_t d, std::uint32_t s) {
    return TransparentAdd<Tinted>(GetBlendTables(), tint, d, s);
}

// Operation policies of the drawing template: made once per sprite, so that whatever depends only
// on the sprite (tint, tables) is fetched outside the pixel loops.
template <bool Tinted>
class OpaqueNormalOp {
public:
    explicit OpaqueNormalOp(const SpriteTint& tint) : tint_(tint) {}
    ORV_PIXEL_INLINE std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const {
        return OpaqueNormal<Tinted>(tint_, d, s);
    }

private:
    SpriteTint tint_;
};

template <bool Tinted>
class OpaqueAddOp {
public:
    explicit OpaqueAddOp(const SpriteTint& tint) : tint_(tint) {}
    ORV_PIXEL_INLINE std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const {
        return OpaqueAdd<Tinted>(tint_, d, s);
    }

private:
    SpriteTint tint_;
};

template <bool Tinted>
class TransparentNormalOp {
public:
    explicit TransparentNormalOp(const SpriteTint& tint) : tint_(tint), tables_(GetBlendTables()) {}
    ORV_PIXEL_INLINE std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const {
        return TransparentNormal<Tinted>(tables_, tint_, d, s);
    }

private:
    SpriteTint tint_;
    const BlendTables& tables_;
};

template <bool Tinted>
class TransparentAddOp {
public:
    explicit TransparentAddOp(const SpriteTint& tint) : tint_(tint), tables_(GetBlendTables()) {}
    ORV_PIXEL_INLINE std::uint32_t operator()(std::uint32_t d, std::uint32_t s) const {
        return TransparentAdd<Tinted>(tables_, tint_, d, s);
    }

private:
    SpriteTint tint_;
    const BlendTables& tables_;
};

}  // namespace orv
