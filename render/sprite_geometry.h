#pragma once

#include <cstdint>
#include <optional>

#include "render/row_band.h"
#include "render/sprite.h"

namespace orv {

// What a rectangle fill walks: pixel columns [x0, x1) and rows [y0, y1), already clipped to the
// target, with the 16.16 texel coordinate of the first pixel and the steps per pixel and row.
struct RectWalk {
    std::int32_t rowLength = 0;  // the target's width: the pixels of a row that may be touched
    std::int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    std::int32_t u = 0, v = 0;
    std::int32_t du = 0, dv = 0;
};

// The walk of an unrotated sprite on a target `width` pixels wide, limited to the rows of `rows`
// (a band inside the target), or nothing when no pixel there is drawn. A pixel is drawn when it
// overlaps the rectangle at all; a pixel samples the texel of its left (top) edge. The first row
// of a band starts at the texel row the whole-frame walk reaches there, so bands join seamlessly.
std::optional<RectWalk> PlanRectWalk(std::uint32_t width, const RowBand& rows, const FixedRect& dest,
                                     const TexelRect& source);

// One row of a quad fill: pixels [x0, x1) starting at 16.16 texel (u, v), stepping (du, dv).
struct QuadSpan {
    std::int32_t x0 = 0, x1 = 0;
    std::int32_t u = 0, v = 0;
    std::int32_t du = 0, dv = 0;
};

// Scans a convex quad (or triangle) row by row with an affine texture mapping. The horizontal
// texel gradient is taken from the first row of the target that has a span and kept for the
// quad: the mapping of a parallelogram is affine, so it is the same on every row. A scanner
// limited to a band still takes the gradient from that same row, above the band if need be, so
// that every band draws the quad as the whole frame would.
class QuadScanner {
public:
    // Scans the rows of `rows` (a band inside the target) of a target `width` pixels wide.
    QuadScanner(const SpriteQuad& quad, std::uint32_t width, const RowBand& rows);

    // Rows to scan, [FirstRow, LastRow]; empty when LastRow < FirstRow.
    std::int32_t FirstRow() const { return firstRow_; }
    std::int32_t LastRow() const { return lastRow_; }

    // The span of row y, or false when the row draws nothing. Rows must be asked in order.
    bool Span(std::int32_t y, QuadSpan& span);

private:
    struct Crossing {
        double x, u, v;
    };
    // A slanted edge from its upper to its lower vertex, with the differences every row's
    // crossing is interpolated with.
    struct Edge {
        double top, bottom;
        Crossing upper, lower;
        double dx, du, dv;
    };
    // The two crossings of row y, left one first; false when the row has no span.
    bool Crossings(std::int32_t y, Crossing& left, Crossing& right) const;
    void TakeGradient(const Crossing& left, const Crossing& right);

    // The quad's edges in vertex order, level ones left out: a row never crosses those.
    Edge edges_[4];
    std::int32_t edgeCount_ = 0;
    std::uint32_t width_;
    std::int32_t firstRow_ = 0;
    std::int32_t lastRow_ = -1;
    bool haveGradient_ = false;
    double dudx_ = 0, dvdx_ = 0;
    std::int32_t du_ = 0, dv_ = 0;  // the gradient in 16.16
};

}  // namespace orv
