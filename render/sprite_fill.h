#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <optional>
#include <type_traits>

#include "render/avx2_rows.h"
#include "render/pixel_operations_sse2.h"
#include "render/span_split.h"
#include "render/sprite.h"
#include "render/sprite_geometry.h"
#include "render/texel_samplers.h"

namespace orv {

// The two sprite fills as templates over sampler policy, pixel operation policy and (for the
// rectangle) the span code path. Every combination is its own routine, so the pixel loops hold
// no test of sampling kind, blending, tint or target kind.

// The span policies are made once per sprite from its walk: every row spans the same columns
// and starts at the same texel column; only the row and its v change.

// Plain code path: one pixel at a time.
template <class Sampler, class Op>
class PlainSpans {
public:
    PlainSpans(const TexelSampler& sampler, const SpriteTint& tint, const RectWalk& walk)
        : sample_(sampler),
          op_(tint),
          x0_(walk.x0),
          x1_(walk.x1),
          u_(static_cast<std::uint32_t>(walk.u)),
          du_(static_cast<std::uint32_t>(walk.du)) {}

    void Fill(std::uint32_t* row, std::int32_t v) const {
        std::uint32_t u = u_;
        for (std::int32_t x = x0_; x < x1_; ++x) {
            row[x] = op_(row[x], sample_(static_cast<std::int32_t>(u), v));
            u += du_;
        }
    }

private:
    Sampler sample_;
    Op op_;
    std::int32_t x0_, x1_;
    std::uint32_t u_, du_;
};

#if ORV_RENDER_SSE2
// Samplers that can also take four interior samples of a row at once.
template <class Sampler>
concept SamplesFourAtATime = requires(const Sampler& sampler) {
    { sampler.InteriorColumns(0, 0, 0) } -> std::same_as<ColumnRange>;
    { sampler.InteriorRow(0) } -> std::same_as<bool>;
};

// Samplers that keep the mixes across texel rows for the rows that read them again.
template <class Sampler>
concept KeepsRowMixes = requires {
    typename Sampler::MixedRows;
};

// The sampler's cache of mixes across texel rows, for samplers that have one.
template <class Sampler, bool = KeepsRowMixes<Sampler>>
struct RowMixesOf {
    struct type {};
};
template <class Sampler>
struct RowMixesOf<Sampler, true> {
    using type = typename Sampler::MixedRows;
};

// Operations whose SSE2 form gives exactly their own results (the opaque ones): a rotated sprite
// may blend four pixels at a time with them and still draw the plain path's pixels, and any span
// may blend its first and last pixels as part of a group.
template <class Op>
inline constexpr bool kSse2FormIsExact = false;
template <bool Tinted>
inline constexpr bool kSse2FormIsExact<OpaqueNormalOp<Tinted>> = true;
template <bool Tinted>
inline constexpr bool kSse2FormIsExact<OpaqueAddOp<Tinted>> = true;

// Whether a span's first and last pixels are blended as part groups: the operation's SSE2 form
// must be exact, and the lanes kept cost samples too, which only pays when samples are cheap.
template <class Sampler, class Op>
inline constexpr bool kPartGroups = kSse2FormIsExact<Op>&& Sampler::kCheapSamples;

// Blends the `count` pixels from `pixel` (column x of a row of rowLength pixels), which lie in one
// 16-byte group, as that whole group with the other lanes stored back unchanged; texel(k) is the
// texel of the pixel k places from `pixel` (k may be negative: any texel serves for the lanes
// kept). Only lanes of the pixels' own row are touched, since the rows of other bands belong to
// other threads; false, with nothing done, when the group reaches past the row.
template <class Wide, class Texel>
ORV_PIXEL_INLINE bool BlendPartGroup(std::uint32_t* pixel, std::int32_t x, std::int32_t count,
                                     std::int32_t rowLength, const Wide& wide, Texel texel) {
    const auto first = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(pixel) % 16 / 4);
    if (x < first || x - first + 4 > rowLength) return false;
    const __m128i texels =
        _mm_set_epi32(static_cast<int>(texel(3 - first)), static_cast<int>(texel(2 - first)),
                      static_cast<int>(texel(1 - first)), static_cast<int>(texel(-first)));
    auto* at = reinterpret_cast<__m128i*>(pixel - first);
    const __m128i before = _mm_load_si128(at);
    const __m128i mask = sse2::LaneMask(first, first + count);
    _mm_store_si128(at,
                    _mm_or_si128(_mm_and_si128(mask, wide(before, texels)), _mm_andnot_si128(mask, before)));
    return true;
}

// The `count` pixels before a span's first or after its last 16-byte boundary, from `pixel` in
// `row`: as a part group when PartGroups and the group stays in the row (then `advance(count)`
// moves past them), else one by one through `single`.
template <bool PartGroups, class Wide, class Texel, class Advance, class Single>
ORV_PIXEL_INLINE void BlendEdgePixels(std::uint32_t* pixel, const std::uint32_t* row, std::int32_t count,
                                      std::int32_t rowLength, const Wide& wide, Texel texel, Advance advance,
                                      Single single) {
    if constexpr (PartGroups) {
        if (count > 0 &&
            BlendPartGroup(pixel, static_cast<std::int32_t>(pixel - row), count, rowLength, wide, texel)) {
            advance(count);
            return;
        }
    }
    for (std::int32_t i = 0; i < count; ++i) single();
}

// SSE2 code path: destination pixels are read, blended and stored four at a time on 16-byte
// boundaries, with single pixels before and after. Texels are fetched one by one, except where
// the sampler can take four at once: in the groups whose samples are all interior. A sprite
// taller than its texels takes those from mixes across kept per texel row.
template <class Sampler, class Op>
class Sse2Spans {
public:
    Sse2Spans(const TexelSampler& sampler, const SpriteTint& tint, const RectWalk& walk)
        : sample_(sampler),
          op_(tint),
          wide_(tint),
          rowLength_(walk.rowLength),
          x0_(walk.x0),
          x1_(walk.x1),
          u_(static_cast<std::uint32_t>(walk.u)),
          du_(static_cast<std::uint32_t>(walk.du)) {
        if constexpr (SamplesFourAtATime<Sampler>) {
            interior_ = sample_.InteriorColumns(walk.u, walk.du, walk.x1 - walk.x0);
            if constexpr (KeepsRowMixes<Sampler>) {
                if (walk.dv > -65536 && walk.dv < 65536 && interior_.first < interior_.last) {
                    rowMixes_.emplace(sample_, u_, du_, interior_);
                }
            }
        }
    }
    // The row cache refers to the sampler member.
    Sse2Spans(const Sse2Spans&) = delete;
    Sse2Spans& operator=(const Sse2Spans&) = delete;

    void Fill(std::uint32_t* row, std::int32_t v) {
        std::uint32_t* pixel = row + x0_;
        const SpanSplit split = SplitSpan(pixel, x1_ - x0_);
        std::uint32_t u = u_;
        const std::uint32_t du = du_;
        auto single = [&]() ORV_LAMBDA_INLINE {
            *pixel = op_(*pixel, sample_(static_cast<std::int32_t>(u), v));
            ++pixel;
            u += du;
        };
        auto singles = [&](std::int32_t count) ORV_LAMBDA_INLINE {
            BlendEdgePixels<kPartGroups<Sampler, Op>>(
                pixel, row, count, rowLength_, wide_,
                [&](std::int32_t k) ORV_LAMBDA_INLINE {
                    return sample_(static_cast<std::int32_t>(u + static_cast<std::uint32_t>(k) * du), v);
                },
                [&](std::int32_t done) ORV_LAMBDA_INLINE {
                    pixel += done;
                    u += static_cast<std::uint32_t>(done) * du;
                },
                single);
        };
        auto group = [&](__m128i texels) {
            auto* at = reinterpret_cast<__m128i*>(pixel);
            _mm_store_si128(at, wide_(_mm_load_si128(at), texels));
            pixel += 4;
        };
        auto gatheredGroups = [&](std::int32_t count) {
            for (std::int32_t i = 0; i < count; ++i) {
                const std::uint32_t t0 = sample_(static_cast<std::int32_t>(u), v);
                const std::uint32_t t1 = sample_(static_cast<std::int32_t>(u + du), v);
                const std::uint32_t t2 = sample_(static_cast<std::int32_t>(u + 2 * du), v);
                const std::uint32_t t3 = sample_(static_cast<std::int32_t>(u + 3 * du), v);
                u += 4 * du;
                group(_mm_set_epi32(static_cast<int>(t3), static_cast<int>(t2), static_cast<int>(t1),
                                    static_cast<int>(t0)));
            }
        };
        singles(split.head);
        if constexpr (SamplesFourAtATime<Sampler>) {
            // Group g covers span columns head + 4g to head + 4g + 3; [from, to) are the groups
            // lying wholly in the interior columns.
            std::int32_t from = 0, to = 0;
            if (sample_.InteriorRow(v)) {
                from = std::min((std::max(interior_.first - split.head, 0) + 3) / 4, split.groups);
                to = std::max(std::min(std::max(interior_.last - split.head, 0) / 4, split.groups), from);
            }
            gatheredGroups(from);
            if (from < to) {
                bool mixesKept = false;
                if constexpr (KeepsRowMixes<Sampler>) {
                    if (rowMixes_) {
                        rowMixes_->SelectRow(v);
                        for (std::int32_t i = from; i < to; ++i) group(rowMixes_->Four(split.head + 4 * i));
                        mixesKept = true;
                    }
                }
                if (!mixesKept) {
                    typename Sampler::FourAtATime four(sample_, v, u, du);
                    for (std::int32_t i = from; i < to; ++i) group(four.Next());
                }
                u += static_cast<std::uint32_t>(to - from) * 4 * du;
            }
            gatheredGroups(split.groups - to);
        } else {
            gatheredGroups(split.groups);
        }
        singles(split.tail);
    }

private:
    Sampler sample_;
    Op op_;
    typename Sse2FormOf<Op>::type wide_;
    std::int32_t rowLength_, x0_, x1_;
    std::uint32_t u_, du_;
    ColumnRange interior_;
    std::optional<typename RowMixesOf<Sampler>::type> rowMixes_;
};
#endif

#if ORV_RENDER_AVX2
// The opaque operations, as the AVX2 rows are chosen for them.
template <class Op>
struct OpaqueKind;
template <bool Tinted>
struct OpaqueKind<OpaqueNormalOp<Tinted>> {
    static constexpr bool kTinted = Tinted, kAdditive = false;
};
template <bool Tinted>
struct OpaqueKind<OpaqueAddOp<Tinted>> {
    static constexpr bool kTinted = Tinted, kAdditive = true;
};

// AVX2 code path of the SSE2 request, for nearest sampling onto opaque targets: each row is
// blended eight pixels at a time from its one texel row.
template <class Sampler, class Op>
class Avx2Spans {
    static_assert(std::is_same_v<Sampler, NearestSampling> && kSse2FormIsExact<Op>);

public:
    Avx2Spans(const TexelSampler& sampler, const SpriteTint& tint, const RectWalk& walk)
        : sample_(sampler),
          tint_(tint),
          x0_(walk.x0),
          count_(walk.x1 - walk.x0),
          u_(static_cast<std::uint32_t>(walk.u)),
          du_(static_cast<std::uint32_t>(walk.du)) {}

    void Fill(std::uint32_t* row, std::int32_t v) const {
        BlendNearestRowAvx2<OpaqueKind<Op>::kTinted, OpaqueKind<Op>::kAdditive>(
            row + x0_, count_, sample_.RowAt(v), sample_.LastColumn(), u_, du_, tint_);
    }

private:
    Sampler sample_;
    SpriteTint tint_;
    std::int32_t x0_, count_;
    std::uint32_t u_, du_;
};
#endif

inline bool CanSample(const TexelSampler& sampler) {
    return sampler.texture != nullptr && !sampler.texture->Empty() && sampler.lastColumn >= 0 &&
           sampler.lastRow >= 0 &&
           static_cast<std::uint32_t>(sampler.lastColumn) < sampler.texture->Width() &&
           static_cast<std::uint32_t>(sampler.lastRow) < sampler.texture->Height();
}

template <class Sampler, class Op, template <class, class> class Spans>
void FillSpriteRect(FrameBuffer& target, const RowBand& band, const FixedRect& dest, const TexelRect& source,
                    const SpriteTint& tint, const TexelSampler& sampler) {
    if (!CanSample(sampler)) return;
    const auto walk = PlanRectWalk(target.Width(), ClampBand(band, target.Height()), dest, source);
    if (!walk) return;
    Spans<Sampler, Op> spans(sampler, tint, *walk);
    auto v = static_cast<std::uint32_t>(walk->v);
    for (std::int32_t y = walk->y0; y < walk->y1; ++y) {
        spans.Fill(target.Row(static_cast<std::uint32_t>(y)), static_cast<std::int32_t>(v));
        v += static_cast<std::uint32_t>(walk->dv);
    }
}

// Samplers that can fetch a sample that needs no clamping more cheaply.
template <class Sampler>
concept FetchesUnclamped = requires(const Sampler& sampler) {
    { sampler.Covers(0, 0, 0, 0, 0) } -> std::same_as<bool>;
    { sampler.Unclamped(0u, 0u) } -> std::same_as<std::uint32_t>;
};

// One row of a rotated sprite: pixels [x0, x1) of `row` (rowLength pixels), texel k at
// (u + k du, v + k dv) as `fetch` takes it. With Groups (an operation whose SSE2 form is exact),
// four pixels at a time on 16-byte boundaries; with PartGroups too, the first and last ones as
// part groups (where `clamped`, which takes any coordinates, fetches for the lanes kept).
template <bool Groups, bool PartGroups, class Op, class Wide, class Fetch, class Clamped>
ORV_PIXEL_INLINE void BlendQuadRow(std::uint32_t* row, std::int32_t x0, std::int32_t x1,
                                   [[maybe_unused]] std::int32_t rowLength, std::uint32_t u, std::uint32_t v,
                                   std::uint32_t du, std::uint32_t dv, const Op& op,
                                   [[maybe_unused]] const Wide& wide, Fetch fetch,
                                   [[maybe_unused]] Clamped clamped) {
    std::uint32_t* pixel = row + x0;
    const std::int32_t count = x1 - x0;
    auto single = [&]() ORV_LAMBDA_INLINE {
        *pixel = op(*pixel, fetch(u, v));
        ++pixel;
        u += du;
        v += dv;
    };
    if constexpr (Groups) {
#if ORV_RENDER_SSE2
        auto singles = [&](std::int32_t part) ORV_LAMBDA_INLINE {
            BlendEdgePixels<PartGroups>(
                pixel, row, part, rowLength, wide,
                [&](std::int32_t k) ORV_LAMBDA_INLINE {
                    const auto steps = static_cast<std::uint32_t>(k);
                    return clamped(u + steps * du, v + steps * dv);
                },
                [&](std::int32_t done) ORV_LAMBDA_INLINE {
                    pixel += done;
                    u += static_cast<std::uint32_t>(done) * du;
                    v += static_cast<std::uint32_t>(done) * dv;
                },
                single);
        };
        const SpanSplit split = SplitSpan(pixel, count);
        singles(split.head);
        for (std::int32_t i = 0; i < split.groups; ++i) {
            const __m128i texels =
                _mm_set_epi32(static_cast<int>(fetch(u + 3 * du, v + 3 * dv)),
                              static_cast<int>(fetch(u + 2 * du, v + 2 * dv)),
                              static_cast<int>(fetch(u + du, v + dv)), static_cast<int>(fetch(u, v)));
            auto* at = reinterpret_cast<__m128i*>(pixel);
            _mm_store_si128(at, wide(_mm_load_si128(at), texels));
            pixel += 4;
            u += 4 * du;
            v += 4 * dv;
        }
        singles(split.tail);
#endif
    } else {
        for (std::int32_t i = 0; i < count; ++i) single();
    }
}

// Rotated sprites: texels are taken one by one along the row's gradient. On the SSE2 path, with
// an operation whose SSE2 form is exact, they are blended four at a time on 16-byte boundaries;
// with Avx2 (nearest sampling onto an opaque target), eight at a time by the AVX2 rows.
template <class Sampler, class Op, bool Sse2 = false, bool Avx2 = false>
void FillSpriteQuad(FrameBuffer& target, const RowBand& band, const SpriteQuad& quad, const SpriteTint& tint,
                    const TexelSampler& sampler) {
    if (!CanSample(sampler)) return;
    QuadScanner scanner(quad, target.Width(), ClampBand(band, target.Height()));
    const Sampler sample(sampler);
    const Op op(tint);
#if ORV_RENDER_AVX2
    if constexpr (Avx2) {
        const TexelGrid grid = sample.Grid();
        if (FitsRowOffsets(grid)) {
            QuadSpan span;
            for (std::int32_t y = scanner.FirstRow(); y <= scanner.LastRow(); ++y) {
                if (!scanner.Span(y, span)) continue;
                BlendNearestSlantedRowAvx2<OpaqueKind<Op>::kTinted, OpaqueKind<Op>::kAdditive>(
                    target.Row(static_cast<std::uint32_t>(y)) + span.x0, span.x1 - span.x0, grid,
                    static_cast<std::uint32_t>(span.u), static_cast<std::uint32_t>(span.v),
                    static_cast<std::uint32_t>(span.du), static_cast<std::uint32_t>(span.dv), tint);
            }
            return;
        }
    }
#endif
#if ORV_RENDER_SSE2
    constexpr bool kGroups = Sse2 && kSse2FormIsExact<Op>;
    constexpr bool kParts = Sse2 && kPartGroups<Sampler, Op>;
    const typename Sse2FormOf<Op>::type wide(tint);
#else
    constexpr bool kGroups = false, kParts = false;
    const int wide = 0;
#endif
    const auto clamped = [&](std::uint32_t u, std::uint32_t v) {
        return sample(static_cast<std::int32_t>(u), static_cast<std::int32_t>(v));
    };
    const auto rowLength = static_cast<std::int32_t>(target.Width());
    QuadSpan span;
    for (std::int32_t y = scanner.FirstRow(); y <= scanner.LastRow(); ++y) {
        if (!scanner.Span(y, span)) continue;
        std::uint32_t* row = target.Row(static_cast<std::uint32_t>(y));
        const std::int32_t count = span.x1 - span.x0;
        const auto u = static_cast<std::uint32_t>(span.u), v = static_cast<std::uint32_t>(span.v);
        const auto du = static_cast<std::uint32_t>(span.du), dv = static_cast<std::uint32_t>(span.dv);
        if constexpr (FetchesUnclamped<Sampler>) {
            // A row that stays inside the texture (most rows of most sprites) skips the clamping.
            if (sample.Covers(span.u, span.du, span.v, span.dv, count)) {
                BlendQuadRow<kGroups, kParts>(
                    row, span.x0, span.x1, rowLength, u, v, du, dv, op, wide,
                    [&](std::uint32_t tu, std::uint32_t tv) { return sample.Unclamped(tu, tv); }, clamped);
                continue;
            }
        }
        BlendQuadRow<kGroups, kParts>(row, span.x0, span.x1, rowLength, u, v, du, dv, op, wide, clamped,
                                      clamped);
    }
}

}  // namespace orv
