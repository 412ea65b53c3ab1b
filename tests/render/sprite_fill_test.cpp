#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <random>

#include "render/fixed_point.h"
#include "render/sprite.h"
#include "render/sprite_geometry.h"
#include "render/texel_samplers.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::CoordinateTexture;
using test::Fixed;
using test::FixedFromPixels;
using test::GuardedTarget;
using test::SamplerFor;

const SpriteFills& PlainNearestNormal() {
    return SelectSpriteFills({false, true, false, true, false});
}
constexpr SpriteTint kOpaque{255, 255, 255, 255};
std::uint32_t ColumnOf(std::uint32_t pixel) {
    return (pixel >> 8) & 0xFF;
}
std::uint32_t RowOf(std::uint32_t pixel) {
    return pixel & 0xFF;
}

TEST(RectWalk, PartialPixelsAtEitherEdgeAreCovered) {
    const auto walk = PlanRectWalk(100, 100, FixedFromPixels(10.5, 0, 20.25, 4), {0, 0, 39, 4});
    ASSERT_TRUE(walk);
    EXPECT_EQ(walk->x0, 10);
    EXPECT_EQ(walk->x1, 21);
    // The first column samples the texel of x = 10.0, half a pixel left of the sprite's edge.
    const std::int64_t extent = Fixed(20.25) - Fixed(10.5);
    EXPECT_EQ(walk->u, -static_cast<std::int32_t>(std::int64_t{0x8000} * 39 * 65536 / extent));
    EXPECT_EQ(walk->du, static_cast<std::int32_t>((std::int64_t{39} << 32) / extent));
}

TEST(RectWalk, DegenerateOrOutsideDrawsNothing) {
    EXPECT_FALSE(PlanRectWalk(100, 100, FixedFromPixels(5, 5, 5, 9), {0, 0, 4, 4}));
    EXPECT_FALSE(PlanRectWalk(100, 100, FixedFromPixels(100, 5, 110, 9), {0, 0, 4, 4}));
    EXPECT_FALSE(PlanRectWalk(100, 100, FixedFromPixels(-10, 5, 0, 9), {0, 0, 4, 4}));
    EXPECT_FALSE(PlanRectWalk(100, 100, FixedFromPixels(5, -10, 9, 0), {0, 0, 4, 4}));
    EXPECT_FALSE(PlanRectWalk(100, 100, FixedFromPixels(5, 100, 9, 104), {0, 0, 4, 4}));
    EXPECT_TRUE(PlanRectWalk(100, 100, FixedFromPixels(-10, 5, 0.5, 9), {0, 0, 4, 4}));
}

TEST(RectWalk, AWidthBeyondSixteenBitsDoesNotWrap) {
    const auto walk = PlanRectWalk(100, 100, FixedFromPixels(-30000, 0, 30000, 10), {0, 0, 16, 10});
    ASSERT_TRUE(walk);
    EXPECT_EQ(walk->x0, 0);
    EXPECT_EQ(walk->x1, 100);
    EXPECT_EQ(walk->du, (std::int64_t{16} << 32) / (std::int64_t{60000} * 65536));
}

TEST(FillSpriteRect, ClipsOnEveryEdgeAndAdvancesTheTexelCoordinate) {
    const FrameBuffer texture = CoordinateTexture(32, 32);
    GuardedTarget target(16, 12, 0xFF000000u);
    // One texel per pixel, starting 5 pixels left of and 3 above the frame, ending past it.
    PlainNearestNormal().fillRect(target.Frame(), FixedFromPixels(-5, -3, 27, 29), {0, 0, 32, 32}, kOpaque,
                                  SamplerFor(texture));
    EXPECT_TRUE(target.GuardsIntact());
    for (std::uint32_t y = 0; y < 12; ++y) {
        for (std::uint32_t x = 0; x < 16; ++x) {
            ASSERT_EQ(ColumnOf(target.Frame().At(x, y)), x + 5) << x << "," << y;
            ASSERT_EQ(RowOf(target.Frame().At(x, y)), y + 3) << x << "," << y;
        }
    }
}

TEST(FillSpriteRect, TouchesExactlyTheOverlappedPixels) {
    const FrameBuffer texture = test::FilledImage(4, 4, 0xFFFFFFFFu);
    GuardedTarget target(32, 8, 0xFF000000u);
    PlainNearestNormal().fillRect(target.Frame(), FixedFromPixels(10.5, 2.75, 20.25, 3.0), {0, 0, 4, 4},
                                  kOpaque, SamplerFor(texture));
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x) {
            const bool inside = y == 2 && x >= 10 && x <= 20;
            ASSERT_EQ(target.Frame().At(x, y), inside ? 0xFFFDFDFDu : 0xFF000000u) << x << "," << y;
        }
    }
}

TEST(FillSpriteRect, SpritesBeyondTheFixedRangeAreRefused) {
    EXPECT_FALSE(MakeFixedRect(-40000.0, 0, 10, 10));
    EXPECT_FALSE(MakeFixedRect(0, 0, 10, 1e300));
    EXPECT_FALSE(MakeFixedRect(0, 0, 10, std::nan("")));
    const auto rect = MakeFixedRect(-5.5, 4.25, 26.5, 36.25);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, -360448);
    EXPECT_EQ(rect->bottom, 2375680);
}

TEST(FillSpriteRect, NearestClampsToTheWholeTextureNotTheFrame) {
    const FrameBuffer texture = CoordinateTexture(8, 8);
    const TexelSampler sampler = SamplerFor(texture);
    EXPECT_EQ(SampleNearest(sampler, -5, -5), texture.At(0, 0));
    EXPECT_EQ(SampleNearest(sampler, 100 << 16, 3 << 16), texture.At(7, 3));
    EXPECT_EQ(SampleNearest(sampler, (4 << 16) + 0xFFFF, 2 << 16), texture.At(4, 2));
}

SpriteQuad Quad(std::initializer_list<QuadVertex> vertices) {
    SpriteQuad quad;
    for (const QuadVertex& vertex : vertices) quad.vertex[quad.count++] = vertex;
    return quad;
}

TEST(FillSpriteQuad, GradientOfTheFirstSpanServesTheWholeQuad) {
    // A trapezoid: the top row maps 4 texels onto 4 pixels, lower rows are wider but keep that
    // gradient, so row 2 (crossings 0 and 6) samples texels 0..5.
    const FrameBuffer texture = CoordinateTexture(16, 16);
    GuardedTarget target(16, 8, 0xFF000000u);
    const SpriteQuad quad = Quad({{0, 0, 0, 0}, {4, 0, 4, 0}, {8, 4, 4, 4}, {0, 4, 0, 4}});
    PlainNearestNormal().fillQuad(target.Frame(), quad, kOpaque, SamplerFor(texture));
    EXPECT_TRUE(target.GuardsIntact());
    for (std::uint32_t x = 0; x < 6; ++x) EXPECT_EQ(ColumnOf(target.Frame().At(x, 2)), x) << x;
    EXPECT_EQ(target.Frame().At(6, 2), 0xFF000000u);
    EXPECT_EQ(ColumnOf(target.Frame().At(3, 0)), 3u);
    EXPECT_EQ(target.Frame().At(4, 0), 0xFF000000u);
}

TEST(FillSpriteQuad, ARowCrossingAVertexIsSkippedAndTheNextGivesTheGradient) {
    // A diamond with its top vertex on row 1: that row has both crossings at x = 4.
    const FrameBuffer texture = CoordinateTexture(16, 16);
    GuardedTarget target(16, 12, 0xFF000000u);
    const SpriteQuad quad = Quad({{4, 1, 4, 0}, {8, 5, 8, 4}, {4, 9, 4, 8}, {0, 5, 0, 4}});
    PlainNearestNormal().fillQuad(target.Frame(), quad, kOpaque, SamplerFor(texture));
    for (std::uint32_t x = 0; x < 16; ++x) EXPECT_EQ(target.Frame().At(x, 1), 0xFF000000u);
    // Row 2 spans 3..5 (crossings 3 and 5) starting at texel u = 3.
    EXPECT_EQ(target.Frame().At(2, 2), 0xFF000000u);
    EXPECT_EQ(ColumnOf(target.Frame().At(3, 2)), 3u);
    EXPECT_EQ(ColumnOf(target.Frame().At(4, 2)), 4u);
    EXPECT_EQ(target.Frame().At(5, 2), 0xFF000000u);
    EXPECT_EQ(ColumnOf(target.Frame().At(1, 4)), 1u);
    EXPECT_EQ(ColumnOf(target.Frame().At(6, 4)), 6u);
}

TEST(FillSpriteQuad, ClipsLeftByAdvancingTheTexelAndStopsAtTheRightEdge) {
    const FrameBuffer texture = CoordinateTexture(64, 64);
    GuardedTarget target(10, 6, 0xFF000000u);
    const SpriteQuad quad =
        Quad({{-7.5, -2, 0, 0}, {20.5, -2, 28, 0}, {20.5, 14, 28, 16}, {-7.5, 14, 0, 16}});
    PlainNearestNormal().fillQuad(target.Frame(), quad, kOpaque, SamplerFor(texture));
    EXPECT_TRUE(target.GuardsIntact());
    for (std::uint32_t y = 0; y < 6; ++y) {
        for (std::uint32_t x = 0; x < 10; ++x) {
            ASSERT_EQ(ColumnOf(target.Frame().At(x, y)), x + 7) << x << "," << y;
            ASSERT_EQ(RowOf(target.Frame().At(x, y)), y + 2) << x << "," << y;
        }
    }
}

TEST(FillSpriteQuad, DegenerateAndOutOfRangeQuadsDrawNothing) {
    const FrameBuffer texture = test::FilledImage(4, 4, 0xFFFFFFFFu);
    GuardedTarget target(8, 8, 0xFF000000u);
    const QuadVertex a{1, 1, 0, 0}, b{6, 1, 4, 0}, c{6, 6, 4, 4}, d{1, 6, 0, 4};
    for (const SpriteQuad& quad :
         {Quad({a, b}), Quad({a, b, {40000, 6, 4, 4}, d}), Quad({a, b, c, {1, 6, 0, 1e9}}),
          Quad({{1, -40, 0, 0}, {6, -40, 4, 0}, {6, -30, 4, 4}, {1, -30, 0, 4}})}) {
        PlainNearestNormal().fillQuad(target.Frame(), quad, kOpaque, SamplerFor(texture));
    }
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 8; ++x) ASSERT_EQ(target.Frame().At(x, y), 0xFF000000u);
    }
    // A count past four uses the first four vertices.
    SpriteQuad many = Quad({a, b, c, d});
    GuardedTarget reference(8, 8, 0xFF000000u);
    PlainNearestNormal().fillQuad(reference.Frame(), many, kOpaque, SamplerFor(texture));
    many.count = 7;
    PlainNearestNormal().fillQuad(target.Frame(), many, kOpaque, SamplerFor(texture));
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 8; ++x) ASSERT_EQ(target.Frame().At(x, y), reference.Frame().At(x, y));
    }
}

TEST(SampleBilinear, EachMixLosesOneLevelAndBordersMixLess) {
    const FrameBuffer white = test::FilledImage(4, 4, 0xFFFFFFFFu);
    const TexelSampler sampler = SamplerFor(white);
    EXPECT_EQ(SampleBilinear(sampler, 0x18000, 0x14000), 0xFDFDFDFDu);
    EXPECT_EQ(SampleBilinear(sampler, 3 << 16, 0x14000), 0xFEFEFEFEu);
    EXPECT_EQ(SampleBilinear(sampler, -1, -1), 0xFFFFFFFFu);
    EXPECT_EQ(SampleBilinear(sampler, 0x18000, -1), 0xFEFEFEFEu);
}

TEST(SampleBilinear, HalfwayMixesNeighboursEqually) {
    FrameBuffer texture = test::FilledImage(2, 2, 0);
    texture.At(1, 0) = 0xC8C8C8C8u;
    texture.At(1, 1) = 0xC8C8C8C8u;
    EXPECT_EQ(SampleBilinear(SamplerFor(texture), 0x8000, 0),
              0x63636363u);  // (200 * 32768 >> 16) * 65535 >> 16
}

TEST(SampleBilinear, MixesEveryByteOnItsOwn) {
    std::mt19937 random(5);
    const FrameBuffer texture = test::RandomImage(9, 7, random);
    auto mix = [](std::uint32_t p, std::uint32_t q, std::uint32_t w) {
        std::uint32_t out = 0;
        for (int at = 0; at < 32; at += 8) {
            out |= ((((p >> at) & 0xFF) * (65535 - w) + ((q >> at) & 0xFF) * w) >> 16) << at;
        }
        return out;
    };
    for (int i = 0; i < 2000; ++i) {
        const auto u = static_cast<std::int32_t>(random() % (8 << 16));
        const auto v = static_cast<std::int32_t>(random() % (6 << 16));
        const std::uint32_t x = u >> 16, y = v >> 16, fx = u & 0xFFFF, fy = v & 0xFFFF;
        const std::uint32_t expected = mix(mix(texture.At(x, y), texture.At(x + 1, y), fx),
                                           mix(texture.At(x, y + 1), texture.At(x + 1, y + 1), fx), fy);
        ASSERT_EQ(SampleBilinear(SamplerFor(texture), u, v), expected) << u << "," << v;
    }
}

TEST(FrameBuffer, OwnedRowsArePaddedToFourPixelsAndAligned) {
    FrameBuffer buffer(5, 3);
    const auto row0 = reinterpret_cast<std::uintptr_t>(buffer.Row(0));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.Row(1)) - row0, 32u);
    EXPECT_EQ(row0 % 16, 0u);
}

TEST(FrameBuffer, ConstructorReportsAnImpossibleAllocation) {
    EXPECT_THROW(FrameBuffer(0xFFFFFFF0u, 0xFFFFFFF0u), std::bad_alloc);
    FrameBuffer buffer;
    EXPECT_FALSE(buffer.Create(0xFFFFFFF0u, 0xFFFFFFF0u));
    EXPECT_TRUE(buffer.Empty());
    EXPECT_EQ(buffer.Width(), 0u);
}

}  // namespace
}  // namespace orv
