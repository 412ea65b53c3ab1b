#include "render/sprite_geometry.h"

#include <algorithm>
#include <cmath>

#include "render/fixed_point.h"

namespace orv {

namespace {

// Signed 64-bit division truncating toward zero, without the one overflowing case.
std::int64_t DivideTruncating(std::int64_t numerator, std::int64_t divisor) {
    if (divisor == -1) return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(numerator));
    return numerator / divisor;
}

// The low 32 bits of a 64-bit value, as the signed 16.16 word they are used as.
std::int32_t Low32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int64_t PixelEnd(std::int32_t fixed) {
    return (fixed >> 16) + ((fixed & 0xFFFF) != 0 ? 1 : 0);
}

// Texel step per destination pixel and the texel coordinate of the first drawn pixel along one
// axis; `first` becomes 0 when the sprite starts before the target.
struct AxisWalk {
    std::int32_t start;
    std::int32_t step;
};

AxisWalk PlanAxis(std::int32_t origin, std::int64_t extent, std::int32_t texelFirst, std::int32_t texelEnd) {
    const std::int64_t texelSpan = std::int64_t{texelEnd} - texelFirst;
    const std::int32_t step = Low32(
        DivideTruncating(static_cast<std::int64_t>(static_cast<std::uint64_t>(texelSpan) << 32), extent));
    const std::int32_t texelSpan16 =
        Low32(static_cast<std::int64_t>(static_cast<std::uint64_t>(texelSpan) << 16));
    const std::int32_t texelFirst16 =
        Low32(static_cast<std::int64_t>(static_cast<std::uint64_t>(std::int64_t{texelFirst}) << 16));
    if (origin < 0) {
        const std::int64_t advance =
            DivideTruncating(std::int64_t{texelSpan16} * -std::int64_t{origin}, extent);
        return {WrapAdd(texelFirst16, Low32(advance)), step};
    }
    const std::int64_t back = DivideTruncating(std::int64_t{origin & 0xFFFF} * texelSpan16, extent);
    return {WrapAdd(texelFirst16, Low32(0 - back)), step};
}

}  // namespace

std::optional<RectWalk> PlanRectWalk(std::uint32_t width, const RowBand& rows, const FixedRect& dest,
                                     const TexelRect& source) {
    // Extents in 64 bits: a sprite wider than 32767 pixels would wrap in 32.
    const std::int64_t extentX = std::int64_t{dest.right} - dest.left;
    const std::int64_t extentY = std::int64_t{dest.bottom} - dest.top;
    if (extentX == 0 || extentY == 0) return std::nullopt;

    std::int64_t x0 = dest.left >> 16;
    std::int64_t y0 = dest.top >> 16;
    std::int64_t x1 = PixelEnd(dest.right);
    std::int64_t y1 = PixelEnd(dest.bottom);
    // The band is the target's rows here (its first row is 0 or lies inside the target).
    if (x0 >= width || y0 >= rows.bottom || x1 < 1 || y1 <= rows.top) return std::nullopt;

    const AxisWalk alongX = PlanAxis(dest.left, extentX, source.left, source.right);
    const AxisWalk alongY = PlanAxis(dest.top, extentY, source.top, source.bottom);
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, width);
    const std::int64_t bandTop = std::max<std::int64_t>(y0, rows.top);
    y1 = std::min<std::int64_t>(y1, rows.bottom);
    if (x1 - x0 < 1 || y1 - bandTop < 1) return std::nullopt;

    RectWalk walk;
    walk.rowLength = static_cast<std::int32_t>(width);
    walk.x0 = static_cast<std::int32_t>(x0);
    walk.x1 = static_cast<std::int32_t>(x1);
    walk.y0 = static_cast<std::int32_t>(bandTop);
    walk.y1 = static_cast<std::int32_t>(y1);
    walk.u = alongX.start;
    // The rows above the band advance v with the same 32-bit wrap-around as row by row.
    walk.v = WrapAdd(alongY.start, static_cast<std::int32_t>(static_cast<std::uint32_t>(bandTop - y0) *
                                                             static_cast<std::uint32_t>(alongY.step)));
    walk.du = alongX.step;
    walk.dv = alongY.step;
    return walk;
}

QuadScanner::QuadScanner(const SpriteQuad& quad, std::uint32_t width, const RowBand& rows) : width_(width) {
    // Only quads and triangles are produced; vertices past the fourth are not looked at.
    const std::int32_t count = std::min<std::int32_t>(quad.count, 4);
    if (count < 3 || rows.Empty()) return;
    const QuadVertex* vertex = quad.vertex;
    for (std::int32_t i = 0; i < count; ++i) {
        const QuadVertex& p = vertex[i];
        if (!FitsFixed(p.x) || !FitsFixed(p.y) || !FitsFixed(p.u) || !FitsFixed(p.v)) return;
    }
    std::int32_t top = static_cast<std::int32_t>(vertex[0].y);
    std::int32_t bottom = top;
    for (std::int32_t i = 1; i < count; ++i) {
        const double y = vertex[i].y;
        if (static_cast<double>(top) > y) top = static_cast<std::int32_t>(y);
        if (y > static_cast<double>(bottom)) bottom = static_cast<std::int32_t>(y);
    }
    // The band's rows are the target's rows here: a quad below its last row or above its first
    // is not in the target at all when the band is the whole target.
    if (top >= rows.bottom || bottom < std::max(rows.top, 0)) return;
    for (std::int32_t i = 0; i < count; ++i) {
        const QuadVertex& a = vertex[i];
        const QuadVertex& b = vertex[i + 1 < count ? i + 1 : 0];
        if (a.y == b.y) continue;
        const QuadVertex& upper = a.y < b.y ? a : b;
        const QuadVertex& lower = a.y < b.y ? b : a;
        edges_[edgeCount_++] = {upper.y,
                                lower.y,
                                {upper.x, upper.u, upper.v},
                                {lower.x, lower.u, lower.v},
                                lower.x - upper.x,
                                lower.u - upper.u,
                                lower.v - upper.v};
    }
    const std::int32_t firstInTarget = std::max(top, 0);
    // The gradient the whole frame would use comes from the first row with a span, which may lie
    // above this band.
    Crossing left, right;
    for (std::int32_t y = firstInTarget; y < rows.top && y <= bottom && !haveGradient_; ++y) {
        if (Crossings(y, left, right)) TakeGradient(left, right);
    }
    firstRow_ = std::max(firstInTarget, rows.top);
    lastRow_ = bottom >= rows.bottom ? rows.bottom - 1 : bottom;
}

bool QuadScanner::Crossings(std::int32_t y, Crossing& left, Crossing& right) const {
    Crossing crossing[2];
    int found = 0;
    const double row = y;  // rows are sampled at their integer coordinate
    for (std::int32_t i = 0; i < edgeCount_ && found < 2; ++i) {
        const Edge& edge = edges_[i];
        if (row < edge.top || row > edge.bottom) continue;
        if (row == edge.top) {
            crossing[found++] = edge.upper;
        } else if (row == edge.bottom) {
            crossing[found++] = edge.lower;
        } else {
            const double t = (row - edge.top) / (edge.bottom - edge.top);
            crossing[found++] = {edge.dx * t + edge.upper.x, edge.du * t + edge.upper.u,
                                 edge.dv * t + edge.upper.v};
        }
    }
    if (found < 2 || crossing[0].x == crossing[1].x) return false;
    left = crossing[0];
    right = crossing[1];
    if (right.x < left.x) std::swap(left, right);
    return true;
}

void QuadScanner::TakeGradient(const Crossing& left, const Crossing& right) {
    dudx_ = (right.u - left.u) / (right.x - left.x);
    dvdx_ = (right.v - left.v) / (right.x - left.x);
    // Saturated: a gradient taken from two nearly coincident crossings can exceed 16.16.
    du_ = ToFixedSaturated(dudx_);
    dv_ = ToFixedSaturated(dvdx_);
    haveGradient_ = true;
}

bool QuadScanner::Span(std::int32_t y, QuadSpan& span) {
    Crossing left, right;
    if (!Crossings(y, left, right)) return false;
    if (!haveGradient_) TakeGradient(left, right);
    if (0 > left.x) {
        left.u = left.u - left.x * dudx_;
        left.v = left.v - left.x * dvdx_;
        left.x = 0;
    }
    if (right.x >= static_cast<double>(width_)) right.x = width_;

    span.x0 = static_cast<std::int32_t>(left.x);
    span.x1 = static_cast<std::int32_t>(right.x);
    if (span.x1 <= span.x0) return false;
    span.u = ToFixedSaturated(left.u);
    span.v = ToFixedSaturated(left.v);
    span.du = du_;
    span.dv = dv_;
    return true;
}

}  // namespace orv
