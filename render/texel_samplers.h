#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/avx2_rows.h"
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
// A run of span columns, first inclusive, last exclusive.
struct ColumnRange {
    std::int32_t first = 0, last = 0;
};

// Of the samples u + k * du, k in [0, count), the run [first, last) with 0 <= u <= limit. The
// same for every row of a rectangle, so it is found once per sprite. Empty when the coordinates
// wrap within the span.
inline ColumnRange UnclampedRun(std::int32_t u, std::int32_t du, std::int32_t count, std::int64_t limit) {
    if (count <= 0) return {};
    const std::int64_t first = u, step = du, last = first + step * (count - 1);
    if (last < INT32_MIN || last > INT32_MAX) return {};
    std::int64_t begin = 0, end = 0;
    if (step == 0) {
        end = first >= 0 && first <= limit ? count : 0;
    } else if (step > 0) {
        begin = first >= 0 ? 0 : (step - 1 - first) / step;
        end = first <= limit ? (limit - first) / step + 1 : 0;
    } else {
        begin = first <= limit ? 0 : (first - limit - step - 1) / -step;
        end = first >= 0 ? first / -step + 1 : 0;
    }
    end = std::min<std::int64_t>(end, count);
    begin = std::min(begin, end);
    return {static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end)};
}

// Whether every sample first + k * step, k in [0, count), lies in [0, limit] with no wrap-around:
// the samples are linear in k, so the first and the last decide.
inline bool RunWithin(std::int32_t first, std::int32_t step, std::int32_t count, std::int64_t limit) {
    const std::int64_t last = std::int64_t{first} + std::int64_t{step} * (count - 1);
    return first >= 0 && first <= limit && last >= 0 && last <= limit;
}

class NearestSampling {
public:
    // A sample costs a load: spare samples in a part group of four cost less than single pixels.
    static constexpr bool kCheapSamples = true;

    explicit NearestSampling(const TexelSampler& sampler)
        : texture_(*sampler.texture), lastColumn_(sampler.lastColumn), lastRow_(sampler.lastRow) {}

    std::uint32_t operator()(std::int32_t u, std::int32_t v) const {
        std::int32_t column = u < 0 ? 0 : u >> 16;
        if (column > lastColumn_) column = lastColumn_;
        return RowAt(v)[column];
    }

    // The texel row that the samples at 16.16 row coordinate v take.
    const std::uint32_t* RowAt(std::int32_t v) const {
        std::int32_t row = v < 0 ? 0 : v >> 16;
        if (row > lastRow_) row = lastRow_;
        return texture_.Row(static_cast<std::uint32_t>(row));
    }
    std::int32_t LastColumn() const { return lastColumn_; }
    // The texels as one grid, for the rows that address them by offset.
    TexelGrid Grid() const { return {texture_.Row(0), texture_.Pitch(), lastColumn_, lastRow_}; }

    // Whether the samples (u + k du, v + k dv), k in [0, count), all need no clamping.
    bool Covers(std::int32_t u, std::int32_t du, std::int32_t v, std::int32_t dv, std::int32_t count) const {
        return RunWithin(u, du, count, std::int64_t{lastColumn_} * 65536 + 65535) &&
               RunWithin(v, dv, count, std::int64_t{lastRow_} * 65536 + 65535);
    }
    // A sample that Covers vouches for, without the clamping.
    std::uint32_t Unclamped(std::uint32_t u, std::uint32_t v) const { return texture_.Row(v >> 16)[u >> 16]; }

#if ORV_RENDER_SSE2
    // The samples of a rectangle's rows that need no clamping: their column exists.
    ColumnRange InteriorColumns(std::int32_t u, std::int32_t du, std::int32_t count) const {
        return UnclampedRun(u, du, count, std::int64_t{lastColumn_} * 65536 + 65535);
    }
    // Whether row v exists.
    bool InteriorRow(std::int32_t v) const {
        return v >= 0 && (v >> 16) <= lastRow_;
    }

    // Four interior samples at a time along one interior row: no clamping, one row address.
    class FourAtATime {
    public:
        FourAtATime(const NearestSampling& sampling, std::int32_t v, std::uint32_t u, std::uint32_t du)
            : row_(sampling.texture_.Row(static_cast<std::uint32_t>(v) >> 16)), u_(u), du_(du) {}

        __m128i Next() {
            const std::uint32_t t0 = row_[u_ >> 16], t1 = row_[(u_ + du_) >> 16],
                                t2 = row_[(u_ + 2 * du_) >> 16], t3 = row_[(u_ + 3 * du_) >> 16];
            u_ += 4 * du_;
            return _mm_set_epi32(static_cast<int>(t3), static_cast<int>(t2), static_cast<int>(t1),
                                 static_cast<int>(t0));
        }

    private:
        const std::uint32_t* row_;
        std::uint32_t u_, du_;
    };
#endif

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
// `wHigh` is w >> 15 spread over the lane (all ones for weights of 32768 and more), made once for a
// weight that serves several mixes.
inline __m128i MixLanes(__m128i p, __m128i q, __m128i w, __m128i wHigh) {
    const __m128i diff = _mm_sub_epi16(q, p);
    const __m128i low = _mm_mullo_epi16(diff, w);
    const __m128i high = _mm_add_epi16(_mm_mulhi_epi16(diff, w), _mm_and_si128(diff, wHigh));
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i borrow = _mm_cmplt_epi16(_mm_xor_si128(low, bias), _mm_xor_si128(p, bias));
    return _mm_add_epi16(_mm_add_epi16(p, high), borrow);
}

inline __m128i MixLanes(__m128i p, __m128i q, __m128i w) {
    return MixLanes(p, q, w, _mm_srai_epi16(w, 15));
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
    static constexpr bool kCheapSamples = false;

    explicit BilinearSampling(const TexelSampler& sampler)
        : texture_(*sampler.texture),
          lastColumn_(sampler.lastColumn),
          lastRow_(sampler.lastRow),
          // In 64 bits: a texture wider or taller than 32767 texels would overflow 16.16.
          columnLimit_(std::int64_t{sampler.lastColumn} * 65536),
          rowLimit_(std::int64_t{sampler.lastRow} * 65536) {}

#if ORV_RENDER_SSE2
    // Of the samples u + k * du, k in [0, count), the run [first, last) that lies inside the texture
    // (0 <= u < lastColumn * 65536), where both columns of every pair exist and nothing is clamped.
    // The same for every row of a rectangle, so it is found once per sprite. Empty when the
    // coordinates wrap within the span; the clamping sampler then serves every sample.
    ColumnRange InteriorColumns(std::int32_t u, std::int32_t du, std::int32_t count) const {
        return UnclampedRun(u, du, count, columnLimit_ - 1);  // largest u whose pair of columns exists
    }

    // Whether row v needs no clamping: rows y and y + 1 both exist.
    bool InteriorRow(std::int32_t v) const {
        return v >= 0 && v < rowLimit_;
    }

    // Four interior samples at a time along one interior row. Both texel rows are fixed for the
    // row and fy with them; each pixel brings its two texel pairs (one 8-byte load per texel
    // row) and its own fx. The arithmetic is that of the single sample, lane for lane.
    class FourAtATime {
    public:
        FourAtATime(const BilinearSampling& sampling, std::int32_t v, std::uint32_t u, std::uint32_t du)
            : upper_(sampling.texture_.Row(static_cast<std::uint32_t>(v) >> 16)),
              lower_(sampling.texture_.Row((static_cast<std::uint32_t>(v) >> 16) + 1)),
              u_(u),
              du_(du),
              uLanes_(_mm_set_epi32(static_cast<int>(u + 3 * du), static_cast<int>(u + 2 * du),
                                    static_cast<int>(u + du), static_cast<int>(u))),
              uStep_(_mm_set1_epi32(static_cast<int>(4 * du))),
              fy_(_mm_set1_epi16(static_cast<short>(v & 0xFFFF))),
              fyHigh_(_mm_srai_epi16(fy_, 15)) {}

        __m128i Next() {
            const __m128i zero = _mm_setzero_si128();
            // fx of pixels 0 and 1 (and 2 and 3), each in the four lanes of its pixel.
            const __m128i fx01 = _mm_shuffle_epi32(_mm_unpacklo_epi16(uLanes_, uLanes_), 0xA0);
            const __m128i fx23 = _mm_shuffle_epi32(_mm_unpackhi_epi16(uLanes_, uLanes_), 0xA0);
            const __m128i fx01High = _mm_srai_epi16(fx01, 15), fx23High = _mm_srai_epi16(fx23, 15);
            const std::uint32_t x0 = u_ >> 16, x1 = (u_ + du_) >> 16, x2 = (u_ + 2 * du_) >> 16,
                                x3 = (u_ + 3 * du_) >> 16;
            u_ += 4 * du_;
            uLanes_ = _mm_add_epi32(uLanes_, uStep_);
            auto mixPair = [&](std::uint32_t a, std::uint32_t b, __m128i fx, __m128i fxHigh) {
                const __m128i up = Pairs(upper_, a, b), down = Pairs(lower_, a, b);
                const __m128i top = MixAcross(up, zero, fx, fxHigh);
                const __m128i bottom = MixAcross(down, zero, fx, fxHigh);
                return detail::MixLanes(top, bottom, fy_, fyHigh_);
            };
            return _mm_packus_epi16(mixPair(x0, x1, fx01, fx01High), mixPair(x2, x3, fx23, fx23High));
        }

    private:
        const std::uint32_t* upper_;
        const std::uint32_t* lower_;
        std::uint32_t u_, du_;
        __m128i uLanes_, uStep_;
        __m128i fy_, fyHigh_;
    };

    // Four interior samples at a time from mixes across kept per texel row. Every row of a
    // rectangle starts at the same u and steps by the same du, so the mixes across one texel row
    // are the same for every destination row that reads it, and only the mix down differs. A
    // sprite taller than its texels reads each texel row for several destination rows; there the
    // mixes across are made once per texel row instead of twice per destination row. The values
    // are those of FourAtATime, made by the same steps.
    class MixedRows {
    public:
        // For the interior span columns `interior` of a rectangle whose rows start at u and step
        // by du. Uses scratch memory of the calling thread: one MixedRows at a time per thread.
        MixedRows(const BilinearSampling& sampling, std::uint32_t u, std::uint32_t du, ColumnRange interior)
            : sampling_(sampling), u_(u), du_(du), interior_(interior) {
            // Two texel rows of four 16-bit channels per column, and one column to spare for a
            // pair made at an odd end.
            const std::size_t columns = static_cast<std::size_t>(interior.last - interior.first) + 1;
            std::vector<std::uint64_t>& scratch = Scratch();
            if (scratch.size() < 2 * columns) scratch.resize(2 * columns);
            slot_[0] = scratch.data();
            slot_[1] = scratch.data() + columns;
        }

        // Makes the mixes across of the texel rows of interior row v ready for Four.
        void SelectRow(std::int32_t v) {
            const std::uint32_t y = static_cast<std::uint32_t>(v) >> 16;
            upper_ = Mixed(y, y + 1);
            lower_ = Mixed(y + 1, y);
            fy_ = _mm_set1_epi16(static_cast<short>(v & 0xFFFF));
            fyHigh_ = _mm_srai_epi16(fy_, 15);
        }

        // The samples of interior span columns column to column + 3 on the selected row.
        __m128i Four(std::int32_t column) const {
            const std::size_t at = static_cast<std::size_t>(column - interior_.first);
            auto down = [&](std::size_t first) {
                const __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper_ + first));
                const __m128i bottom = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower_ + first));
                return detail::MixLanes(top, bottom, fy_, fyHigh_);
            };
            return _mm_packus_epi16(down(at), down(at + 2));
        }

    private:
        static std::vector<std::uint64_t>& Scratch() {
            thread_local std::vector<std::uint64_t> scratch;
            return scratch;
        }

        // The mixes across of texel row y, made into the slot that does not hold row `keep`.
        const std::uint64_t* Mixed(std::uint32_t y, std::uint32_t keep) {
            for (int i = 0; i < 2; ++i) {
                if (held_[i] == y) return slot_[i];
            }
            const int i = held_[0] == keep ? 1 : 0;
            held_[i] = y;
            const std::uint32_t* row = sampling_.texture_.Row(y);
            std::uint64_t* out = slot_[i];
            const __m128i zero = _mm_setzero_si128();
            for (std::int32_t a = interior_.first; a < interior_.last; a += 2) {
                const std::int32_t b = std::min(a + 1, interior_.last - 1);
                const std::uint32_t ua = u_ + static_cast<std::uint32_t>(a) * du_;
                const std::uint32_t ub = u_ + static_cast<std::uint32_t>(b) * du_;
                const __m128i fx =
                    _mm_set_epi16(static_cast<short>(ub), static_cast<short>(ub), static_cast<short>(ub),
                                  static_cast<short>(ub), static_cast<short>(ua), static_cast<short>(ua),
                                  static_cast<short>(ua), static_cast<short>(ua));
                const __m128i mixed =
                    MixAcross(Pairs(row, ua >> 16, ub >> 16), zero, fx, _mm_srai_epi16(fx, 15));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + (a - interior_.first)), mixed);
            }
            return out;
        }

        const BilinearSampling& sampling_;
        std::uint32_t u_, du_;
        ColumnRange interior_;
        std::uint64_t* slot_[2] = {};
        std::uint32_t held_[2] = {UINT32_MAX, UINT32_MAX};
        const std::uint64_t* upper_ = nullptr;
        const std::uint64_t* lower_ = nullptr;
        __m128i fy_ = _mm_setzero_si128(), fyHigh_ = _mm_setzero_si128();
    };

private:
    // Left texels of columns a and b in the low half, right texels in the high half.
    static __m128i Pairs(const std::uint32_t* row, std::uint32_t a, std::uint32_t b) {
        return _mm_unpacklo_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + a)),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + b)));
    }

    // Both pairs of `pairs` mixed across by their weights, in 16-bit lanes.
    static __m128i MixAcross(__m128i pairs, __m128i zero, __m128i fx, __m128i fxHigh) {
        return detail::MixLanes(_mm_unpacklo_epi8(pairs, zero), _mm_unpackhi_epi8(pairs, zero), fx, fxHigh);
    }

public:
#endif

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
