#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <vector>

#include "render/fixed_point.h"
#include "render/sprite.h"
#include "render/sprite_geometry.h"
#include "render/texel_samplers.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::CoordinateTexture;
using test::FixedFromPixels;
using test::GuardedTarget;
using test::SamplerFor;

const SpriteFills& PlainNearestNormal() {
    return SelectSpriteFills({false, true, false, true, false});
}
constexpr SpriteTint kOpaque{255, 255, 255, 255};
constexpr std::uint32_t kBlack = 0xFF000000u;

TEST(FillSpriteRect, CoversEveryPixelItOverlapsAndSamplesFromTheLeftEdge) {
    const FrameBuffer texture = test::FilledImage(4, 4, 0xFFFFFFFFu);
    GuardedTarget target(32, 8, kBlack);
    PlainNearestNormal().fillRect(target.Frame(), AllRows(target.Frame()),
                                  FixedFromPixels(10.5, 2.75, 20.25, 3.0), {0, 0, 4, 4}, kOpaque,
                                  SamplerFor(texture));
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x) {
            const bool inside = y == 2 && x >= 10 && x <= 20;
            ASSERT_EQ(target.Frame().At(x, y), inside ? 0xFFFDFDFDu : kBlack) << x << "," << y;
        }
    }
}

TEST(FillSpriteRect, DegenerateOrOutsideDrawsNothing) {
    for (const FixedRect& dest :
         {FixedFromPixels(5, 5, 5, 9), FixedFromPixels(100, 5, 110, 9), FixedFromPixels(-10, 5, 0, 9),
          FixedFromPixels(5, -10, 9, 0), FixedFromPixels(5, 100, 9, 104)}) {
        EXPECT_FALSE(PlanRectWalk(100, RowBand{0, 100}, dest, {0, 0, 4, 4})) << dest.left << "," << dest.top;
    }
    EXPECT_TRUE(PlanRectWalk(100, RowBand{0, 100}, FixedFromPixels(-10, 5, 0.5, 9), {0, 0, 4, 4}));
    const auto wide =
        PlanRectWalk(100, RowBand{0, 100}, FixedFromPixels(-30000, 0, 30000, 10), {0, 0, 16, 10});
    ASSERT_TRUE(wide);  // a width beyond 16 bits does not wrap
    EXPECT_EQ(wide->du, (std::int64_t{16} << 32) / (std::int64_t{60000} * 65536));
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

// Every pixel (x, y) of the frame sampled texel (x + dx, y + dy), and nothing outside was written.
void ExpectOneToOne(GuardedTarget& target, std::uint32_t dx, std::uint32_t dy) {
    EXPECT_TRUE(target.GuardsIntact());
    for (std::uint32_t y = 0; y < target.Frame().Height(); ++y) {
        for (std::uint32_t x = 0; x < target.Frame().Width(); ++x) {
            ASSERT_EQ(target.Frame().At(x, y), kBlack | (x + dx) << 8 | (y + dy)) << x << "," << y;
        }
    }
}

TEST(FillSpriteRect, ClipsOnEveryEdgeAndAdvancesTheTexelCoordinate) {
    const FrameBuffer texture = CoordinateTexture(32, 32);
    GuardedTarget target(16, 12, kBlack);
    // One texel per pixel, starting 5 pixels left of and 3 above the frame, ending past it.
    PlainNearestNormal().fillRect(target.Frame(), AllRows(target.Frame()), FixedFromPixels(-5, -3, 27, 29),
                                  {0, 0, 32, 32}, kOpaque, SamplerFor(texture));
    ExpectOneToOne(target, 5, 3);
}

SpriteQuad Quad(std::initializer_list<QuadVertex> vertices) {
    SpriteQuad quad;
    for (const QuadVertex& vertex : vertices) quad.vertex[quad.count++] = vertex;
    return quad;
}

TEST(FillSpriteQuad, ClipsLeftByAdvancingTheTexelAndStopsAtTheRightEdge) {
    const FrameBuffer texture = CoordinateTexture(64, 64);
    GuardedTarget target(10, 6, kBlack);
    PlainNearestNormal().fillQuad(
        target.Frame(), AllRows(target.Frame()),
        Quad({{-7.5, -2, 0, 0}, {20.5, -2, 28, 0}, {20.5, 14, 28, 16}, {-7.5, 14, 0, 16}}), kOpaque,
        SamplerFor(texture));
    ExpectOneToOne(target, 7, 2);
}

// The texel column each pixel of row y sampled, -1 where nothing was drawn. The quads below are
// drawn onto transparent black, which every drawn pixel leaves with alpha 255.
std::vector<int> RowColumns(FrameBuffer& frame, std::uint32_t y, std::uint32_t width) {
    std::vector<int> columns;
    for (std::uint32_t x = 0; x < width; ++x) {
        columns.push_back(frame.At(x, y) == 0 ? -1 : static_cast<int>((frame.At(x, y) >> 8) & 0xFF));
    }
    return columns;
}

TEST(FillSpriteQuad, GradientOfTheFirstSpanServesTheWholeQuad) {
    // A trapezoid: the top row maps 4 texels onto 4 pixels, lower rows are wider but keep that
    // gradient, so row 2 (crossings 0 and 6) samples texels 0..5.
    const FrameBuffer texture = CoordinateTexture(16, 16);
    GuardedTarget target(16, 8, 0);
    const SpriteQuad quad = Quad({{0, 0, 0, 0}, {4, 0, 4, 0}, {8, 4, 4, 4}, {0, 4, 0, 4}});
    PlainNearestNormal().fillQuad(target.Frame(), AllRows(target.Frame()), quad, kOpaque,
                                  SamplerFor(texture));
    EXPECT_TRUE(target.GuardsIntact());
    EXPECT_EQ(RowColumns(target.Frame(), 0, 8), (std::vector<int>{0, 1, 2, 3, -1, -1, -1, -1}));
    EXPECT_EQ(RowColumns(target.Frame(), 2, 8), (std::vector<int>{0, 1, 2, 3, 4, 5, -1, -1}));
}

TEST(FillSpriteQuad, ARowCrossingAVertexIsSkippedAndTheNextGivesTheGradient) {
    // A diamond with its top vertex on row 1: that row has both crossings at x = 4. Row 2 spans
    // 3..5 (crossings 3 and 5) starting at texel u = 3.
    const FrameBuffer texture = CoordinateTexture(16, 16);
    GuardedTarget target(16, 12, 0);
    const SpriteQuad quad = Quad({{4, 1, 4, 0}, {8, 5, 8, 4}, {4, 9, 4, 8}, {0, 5, 0, 4}});
    PlainNearestNormal().fillQuad(target.Frame(), AllRows(target.Frame()), quad, kOpaque,
                                  SamplerFor(texture));
    EXPECT_EQ(RowColumns(target.Frame(), 1, 16), std::vector<int>(16, -1));
    EXPECT_EQ(RowColumns(target.Frame(), 2, 8), (std::vector<int>{-1, -1, -1, 3, 4, -1, -1, -1}));
    EXPECT_EQ(RowColumns(target.Frame(), 4, 8), (std::vector<int>{-1, 1, 2, 3, 4, 5, 6, -1}));
}

TEST(FillSpriteQuad, DegenerateAndOutOfRangeQuadsDrawNothingAndExtraVerticesAreIgnored) {
    const FrameBuffer texture = test::FilledImage(4, 4, 0xFFFFFFFFu);
    const FrameBuffer black = test::FilledImage(8, 8, kBlack);
    GuardedTarget target(black), reference(black);
    const QuadVertex a{1, 1, 0, 0}, b{6, 1, 4, 0}, c{6, 6, 4, 4}, d{1, 6, 0, 4};
    for (const SpriteQuad& quad :
         {Quad({a, b}), Quad({a, b, {40000, 6, 4, 4}, d}), Quad({a, b, c, {1, 6, 0, 1e9}}),
          Quad({{1, -40, 0, 0}, {6, -40, 4, 0}, {6, -30, 4, 4}, {1, -30, 0, 4}})}) {
        PlainNearestNormal().fillQuad(target.Frame(), AllRows(target.Frame()), quad, kOpaque,
                                      SamplerFor(texture));
    }
    EXPECT_EQ(test::Differences(black, target.Frame()), 0);
    SpriteQuad many = Quad({a, b, c, d});
    PlainNearestNormal().fillQuad(reference.Frame(), AllRows(reference.Frame()), many, kOpaque,
                                  SamplerFor(texture));
    many.count = 7;
    PlainNearestNormal().fillQuad(target.Frame(), AllRows(target.Frame()), many, kOpaque,
                                  SamplerFor(texture));
    EXPECT_EQ(test::Differences(reference.Frame(), target.Frame()), 0);
}

TEST(Samplers, NearestClampsToTheWholeTextureAndBilinearLosesOneLevelPerMix) {
    const FrameBuffer texture = CoordinateTexture(8, 8);
    EXPECT_EQ(SampleNearest(SamplerFor(texture), -5, -5), texture.At(0, 0));
    EXPECT_EQ(SampleNearest(SamplerFor(texture), 100 << 16, 3 << 16), texture.At(7, 3));
    EXPECT_EQ(SampleNearest(SamplerFor(texture), (4 << 16) + 0xFFFF, 2 << 16), texture.At(4, 2));
    const FrameBuffer white = test::FilledImage(4, 4, 0xFFFFFFFFu);
    EXPECT_EQ(SampleBilinear(SamplerFor(white), 0x18000, 0x14000), 0xFDFDFDFDu);
    EXPECT_EQ(SampleBilinear(SamplerFor(white), 3 << 16, 0x14000), 0xFEFEFEFEu);  // outer column
    EXPECT_EQ(SampleBilinear(SamplerFor(white), -1, -1), 0xFFFFFFFFu);            // corner: unmixed
    EXPECT_EQ(SampleBilinear(SamplerFor(white), 0x18000, -1), 0xFEFEFEFEu);
}

TEST(FrameBuffer, OwnedRowsArePaddedAndAlignedAndAnImpossibleSizeIsReported) {
    FrameBuffer buffer(5, 3);
    const auto row0 = reinterpret_cast<std::uintptr_t>(buffer.Row(0));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.Row(1)) - row0, 32u);
    EXPECT_EQ(row0 % 16, 0u);
    EXPECT_THROW(FrameBuffer(0xFFFFFFF0u, 0xFFFFFFF0u), std::bad_alloc);
    EXPECT_FALSE(buffer.Create(0xFFFFFFF0u, 0xFFFFFFF0u));
    EXPECT_TRUE(buffer.Empty());
    EXPECT_EQ(buffer.Width(), 0u);
}

}  // namespace
}  // namespace orv
