#include <gtest/gtest.h>

#include <new>
#include <tuple>
#include <vector>

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

constexpr SpriteTint kOpaque{255, 255, 255, 255};
constexpr std::uint32_t kBlack = 0xFF000000u;

// Draws untinted, nearest-sampled and normal-blended onto an opaque target, over all its rows.
constexpr SpriteVariantKey kPlain{false, true, false, true, false};
void Fill(FrameBuffer& target, const SpriteQuad& quad, const FrameBuffer& texture) {
    SelectSpriteFills(kPlain).fillQuad(target, AllRows(target), quad, kOpaque, SamplerFor(texture));
}

SpriteQuad Quad(std::initializer_list<QuadVertex> vertices) {
    SpriteQuad quad;
    for (const QuadVertex& vertex : vertices) quad.vertex[quad.count++] = vertex;
    return quad;
}

TEST(FillSpriteRect, CoversEveryPixelItOverlapsAndSamplesFromTheLeftEdge) {
    FrameBuffer target = test::FilledImage(32, 8, kBlack);
    SelectSpriteFills(kPlain).fillRect(target, AllRows(target), FixedFromPixels(10.5, 2.75, 20.25, 3.0),
                                       {0, 0, 4, 4}, kOpaque, SamplerFor(test::FilledImage(4, 4, ~0u)));
    const FrameBuffer expected = test::MakeImage(
        32, 8, [](auto x, auto y) { return y == 2 && x >= 10 && x <= 20 ? 0xFFFDFDFDu : kBlack; });
    EXPECT_EQ(test::Differences(expected, target), 0);
}

// One texel per pixel, starting left of and above the frame and ending past it: every pixel (x, y)
// samples texel (x + dx, y + dy), and nothing outside the frame is written.
TEST(FillSprite, ClipsOnEveryEdgeByAdvancingTheTexelCoordinate) {
    const FrameBuffer texture = CoordinateTexture(64, 64);
    for (const bool rotated : {false, true}) {
        GuardedTarget target(test::FilledImage(16, 12, kBlack));
        const std::uint32_t dx = rotated ? 7 : 5, dy = rotated ? 2 : 3;
        if (rotated) {
            Fill(target.Frame(),
                 Quad({{-7.5, -2, 0, 0}, {20.5, -2, 28, 0}, {20.5, 14, 28, 16}, {-7.5, 14, 0, 16}}), texture);
        } else {
            SelectSpriteFills(kPlain).fillRect(target.Frame(), AllRows(target.Frame()),
                                               FixedFromPixels(-5, -3, 27, 29), {0, 0, 32, 32}, kOpaque,
                                               SamplerFor(texture));
        }
        EXPECT_TRUE(target.GuardsIntact());
        const FrameBuffer expected =
            test::MakeImage(16, 12, [&](auto x, auto y) { return kBlack | (x + dx) << 8 | (y + dy); });
        EXPECT_EQ(test::Differences(expected, target.Frame()), 0) << "rotated " << rotated;
    }
}

// Which texel column each pixel of a row sampled, -1 where nothing was drawn (the quads are
// drawn onto transparent black, which every drawn pixel leaves with alpha 255). A trapezoid whose
// top row maps 4 texels onto 4 pixels keeps that gradient in its wider lower rows: row 2
// (crossings 0 and 6) samples texels 0..5. A diamond with its top vertex on row 1 has both
// crossings of that row at x = 4, so the row is skipped; row 2 spans 3..5 from texel u = 3.
TEST(FillSpriteQuad, GradientOfTheFirstSpanServesTheWholeQuadAndRowsThroughAVertexAreSkipped) {
    const SpriteQuad trapezoid = Quad({{0, 0, 0, 0}, {4, 0, 4, 0}, {8, 4, 4, 4}, {0, 4, 0, 4}});
    const SpriteQuad diamond = Quad({{4, 1, 4, 0}, {8, 5, 8, 4}, {4, 9, 4, 8}, {0, 5, 0, 4}});
    const std::tuple<SpriteQuad, std::uint32_t, std::vector<int>> cases[] = {
        {trapezoid, 0, {0, 1, 2, 3, -1, -1, -1, -1}},
        {trapezoid, 2, {0, 1, 2, 3, 4, 5, -1, -1}},
        {diamond, 1, std::vector<int>(8, -1)},
        {diamond, 2, {-1, -1, -1, 3, 4, -1, -1, -1}}};
    const FrameBuffer texture = CoordinateTexture(16, 16);
    for (const auto& [quad, row, expected] : cases) {
        GuardedTarget target(test::FilledImage(16, 12, 0));
        Fill(target.Frame(), quad, texture);
        EXPECT_TRUE(target.GuardsIntact());
        std::vector<int> columns;
        for (std::uint32_t x = 0; x < 8; ++x) {
            const std::uint32_t pixel = target.Frame().At(x, row);
            columns.push_back(pixel == 0 ? -1 : static_cast<int>((pixel >> 8) & 0xFF));
        }
        EXPECT_EQ(columns, expected) << "row " << row;
    }
}

// Rectangles and quads that are degenerate, outside the frame or beyond the fixed range draw
// nothing; a quad's vertices past the fourth are ignored.
TEST(FillSprite, DegenerateOutsideOrOutOfRangeSpritesDrawNothing) {
    // (Sprites wholly outside the frame are among the random scenes whose drawing may write no
    // guard word: BandDrawing and SpriteVariants.)
    for (const FixedRect& dest : {FixedFromPixels(5, 5, 5, 9), FixedFromPixels(-10, 5, 0, 9)})
        EXPECT_FALSE(PlanRectWalk(100, RowBand{0, 100}, dest, {0, 0, 4, 4})) << dest.left << "," << dest.top;
    EXPECT_TRUE(PlanRectWalk(100, RowBand{0, 100}, FixedFromPixels(-10, 5, 0.5, 9), {0, 0, 4, 4}));
    const auto wide =
        PlanRectWalk(100, RowBand{0, 100}, FixedFromPixels(-30000, 0, 30000, 10), {0, 0, 16, 10});
    ASSERT_TRUE(wide);  // a width beyond 16 bits does not wrap
    EXPECT_EQ(wide->du, (std::int64_t{16} << 32) / (std::int64_t{60000} * 65536));
    // (Sprites beyond the fixed range are refused before they are planned: the engine's
    // SpriteGeometry.ValuesOutOfRangeAreSkippedOrClamped.)

    const FrameBuffer texture = test::FilledImage(4, 4, 0xFFFFFFFFu);
    const FrameBuffer black = test::FilledImage(8, 8, kBlack);
    GuardedTarget target(black), reference(black);
    const QuadVertex a{1, 1, 0, 0}, b{6, 1, 4, 0}, c{6, 6, 4, 4}, d{1, 6, 0, 4};
    for (const SpriteQuad& quad :
         {Quad({a, b}), Quad({a, b, {40000, 6, 4, 4}, d}), Quad({a, b, c, {1, 6, 0, 1e9}})})
        Fill(target.Frame(), quad, texture);
    EXPECT_EQ(test::Differences(black, target.Frame()), 0);
    SpriteQuad many = Quad({a, b, c, d});
    Fill(reference.Frame(), many, texture);
    many.count = 7;
    Fill(target.Frame(), many, texture);
    EXPECT_EQ(test::Differences(reference.Frame(), target.Frame()), 0);
}

// Coordinates outside the texture read its edge texels, never memory beside it.
TEST(Samplers, NearestAndBilinearClampToTheWholeTextureAndBilinearLosesOneLevelPerMix) {
    const FrameBuffer texture = CoordinateTexture(8, 8);
    EXPECT_EQ(SampleNearest(SamplerFor(texture), -5, -5), texture.At(0, 0));
    EXPECT_EQ(SampleNearest(SamplerFor(texture), 100 << 16, 3 << 16), texture.At(7, 3));
    EXPECT_EQ(SampleNearest(SamplerFor(texture), (4 << 16) + 0xFFFF, 2 << 16), texture.At(4, 2));
    const FrameBuffer white = test::FilledImage(4, 4, 0xFFFFFFFFu);
    EXPECT_EQ(SampleBilinear(SamplerFor(white), 0x18000, 0x14000), 0xFDFDFDFDu);  // one level per mix
    EXPECT_EQ(SampleBilinear(SamplerFor(white), 3 << 16, 0x14000), 0xFEFEFEFEu);  // outer column
    EXPECT_EQ(SampleBilinear(SamplerFor(white), -1, -1), 0xFFFFFFFFu);            // corner: unmixed
}

TEST(FrameBuffer, OwnedRowsArePaddedAndAlignedAndAnImpossibleSizeIsReported) {
    FrameBuffer buffer(5, 3);
    const auto row0 = reinterpret_cast<std::uintptr_t>(buffer.Row(0));
    EXPECT_EQ(std::tuple(reinterpret_cast<std::uintptr_t>(buffer.Row(1)) - row0, row0 % 16),
              std::tuple(32u, 0u));
    EXPECT_THROW(FrameBuffer(0xFFFFFFF0u, 0xFFFFFFF0u), std::bad_alloc);
    EXPECT_FALSE(buffer.Create(0xFFFFFFF0u, 0xFFFFFFF0u));
    EXPECT_EQ(std::tuple(buffer.Empty(), buffer.Width()), std::tuple(true, 0u));
}

}  // namespace
}  // namespace orv
