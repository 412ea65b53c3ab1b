#pragma once

#include <cstddef>
#include <cstdint>

#include "render/sprite.h"

namespace orv {

// Rows of nearest-sampled sprites on opaque targets, eight pixels at a time with AVX2, for the
// SSE2 code path on processors that have it. The opaque operations blend every pixel on its own
// with the same integer arithmetic at any width, so these rows give exactly the SSE2 and plain
// pixels. They touch no pixel outside the row's own span.

// Whether the SSE2 code path draws with these rows: the processor and the system support AVX2,
// and they are not switched off.
bool Avx2RowsEnabled();
// Switches the rows off (the SSE2 rows serve) or back on where supported: for comparing the two
// in tests and benchmarks.
void EnableAvx2Rows(bool enable);

// A texture as the rows read it: row r starts at first + r * pitch; samples are clamped to the
// last column and row.
struct TexelGrid {
    const std::uint32_t* first = nullptr;
    std::ptrdiff_t pitch = 0;
    std::int32_t lastColumn = 0, lastRow = 0;
};

// Whether every texel of `grid` lies within a 32-bit offset (in pixels) of its first: the rows
// work out the offsets in 32-bit lanes.
bool FitsRowOffsets(const TexelGrid& grid);

// `count` pixels from `pixel`, pixel k blended with texel (u + k du) >> 16 of `texels` (one row
// of the grid), the column clamped as nearest sampling clamps it.
template <bool Tinted, bool Additive>
void BlendNearestRowAvx2(std::uint32_t* pixel, std::int32_t count, const std::uint32_t* texels,
                         std::int32_t lastColumn, std::uint32_t u, std::uint32_t du, const SpriteTint& tint);

// `count` pixels from `pixel`, pixel k blended with the texel at (u + k du, v + k dv), clamped.
template <bool Tinted, bool Additive>
void BlendNearestSlantedRowAvx2(std::uint32_t* pixel, std::int32_t count, const TexelGrid& grid,
                                std::uint32_t u, std::uint32_t v, std::uint32_t du, std::uint32_t dv,
                                const SpriteTint& tint);

}  // namespace orv
