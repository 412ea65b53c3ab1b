#pragma once

#include <cstdint>

#include "render/pixel_operations_sse2.h"
#include "render/span_split.h"
#include "render/sprite.h"
#include "render/sprite_geometry.h"

namespace orv {

// The two sprite fills as templates over sampler policy, pixel operation policy and (for the
// rectangle) the span code path. Every combination is its own routine, so the pixel loops hold
// no test of sampling kind, blending, tint or target kind.

// Plain code path: one pixel at a time.
template <class Sampler, class Op>
class PlainSpans {
public:
    PlainSpans(const TexelSampler& sampler, const SpriteTint& tint) : sample_(sampler), op_(tint) {}

    void Fill(std::uint32_t* row, std::int32_t x0, std::int32_t x1, std::uint32_t u, std::uint32_t du,
              std::int32_t v) const {
        for (std::int32_t x = x0; x < x1; ++x) {
            row[x] = op_(row[x], sample_(static_cast<std::int32_t>(u), v));
            u += du;
        }
    }

private:
    Sampler sample_;
    Op op_;
};

#if ORV_RENDER_SSE2
// SSE2 code path: texels are fetched one by one, destination pixels are read, blended and stored
// four at a time on 16-byte boundaries, with single pixels before and after.
template <class Sampler, class Op>
class Sse2Spans {
public:
    Sse2Spans(const TexelSampler& sampler, const SpriteTint& tint)
        : sample_(sampler), op_(tint), wide_(tint) {}

    void Fill(std::uint32_t* row, std::int32_t x0, std::int32_t x1, std::uint32_t u, std::uint32_t du,
              std::int32_t v) const {
        std::uint32_t* pixel = row + x0;
        const SpanSplit split = SplitSpan(pixel, x1 - x0);
        auto single = [&] {
            *pixel = op_(*pixel, sample_(static_cast<std::int32_t>(u), v));
            ++pixel;
            u += du;
        };
        for (std::int32_t i = 0; i < split.head; ++i) single();
        for (std::int32_t i = 0; i < split.groups; ++i) {
            const std::uint32_t t0 = sample_(static_cast<std::int32_t>(u), v);
            const std::uint32_t t1 = sample_(static_cast<std::int32_t>(u + du), v);
            const std::uint32_t t2 = sample_(static_cast<std::int32_t>(u + 2 * du), v);
            const std::uint32_t t3 = sample_(static_cast<std::int32_t>(u + 3 * du), v);
            u += 4 * du;
            const __m128i texels = _mm_set_epi32(static_cast<int>(t3), static_cast<int>(t2),
                                                 static_cast<int>(t1), static_cast<int>(t0));
            auto* group = reinterpret_cast<__m128i*>(pixel);
            _mm_store_si128(group, wide_(_mm_load_si128(group), texels));
            pixel += 4;
        }
        for (std::int32_t i = 0; i < split.tail; ++i) single();
    }

private:
    Sampler sample_;
    Op op_;
    typename Sse2FormOf<Op>::type wide_;
};
#endif

inline bool CanSample(const TexelSampler& sampler) {
    return sampler.texture != nullptr && !sampler.texture->Empty() && sampler.lastColumn >= 0 &&
           sampler.lastRow >= 0 &&
           static_cast<std::uint32_t>(sampler.lastColumn) < sampler.texture->Width() &&
           static_cast<std::uint32_t>(sampler.lastRow) < sampler.texture->Height();
}

template <class Sampler, class Op, template <class, class> class Spans>
void FillSpriteRect(FrameBuffer& target, const FixedRect& dest, const TexelRect& source,
                    const SpriteTint& tint, const TexelSampler& sampler) {
    if (!CanSample(sampler)) return;
    const auto walk = PlanRectWalk(target.Width(), target.Height(), dest, source);
    if (!walk) return;
    const Spans<Sampler, Op> spans(sampler, tint);
    const auto u = static_cast<std::uint32_t>(walk->u);
    const auto du = static_cast<std::uint32_t>(walk->du);
    auto v = static_cast<std::uint32_t>(walk->v);
    for (std::int32_t y = walk->y0; y < walk->y1; ++y) {
        spans.Fill(target.Row(static_cast<std::uint32_t>(y)), walk->x0, walk->x1, u, du,
                   static_cast<std::int32_t>(v));
        v += static_cast<std::uint32_t>(walk->dv);
    }
}

// Rotated sprites: the same scalar routine on every code path.
template <class Sampler, class Op>
void FillSpriteQuad(FrameBuffer& target, const SpriteQuad& quad, const SpriteTint& tint,
                    const TexelSampler& sampler) {
    if (!CanSample(sampler)) return;
    QuadScanner scanner(quad, target.Width(), target.Height());
    const Sampler sample(sampler);
    const Op op(tint);
    QuadSpan span;
    for (std::int32_t y = scanner.FirstRow(); y <= scanner.LastRow(); ++y) {
        if (!scanner.Span(y, span)) continue;
        std::uint32_t* row = target.Row(static_cast<std::uint32_t>(y));
        auto u = static_cast<std::uint32_t>(span.u);
        auto v = static_cast<std::uint32_t>(span.v);
        for (std::int32_t x = span.x0; x < span.x1; ++x) {
            row[x] = op(row[x], sample(static_cast<std::int32_t>(u), static_cast<std::int32_t>(v)));
            u += static_cast<std::uint32_t>(span.du);
            v += static_cast<std::uint32_t>(span.dv);
        }
    }
}

}  // namespace orv
