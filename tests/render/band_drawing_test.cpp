// Drawing a frame band by band, on several threads, must give every pixel exactly what drawing it
// at once gives. Random scenes of overlapping sprites (rectangles and rotated quads reaching past
// every edge, mirrored texels, vertices on whole rows) are drawn with every one of the 32 variants,
// once over all rows and once per band, and compared to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "render/background.h"
#include "render/drawing_pool.h"
#include "render/frame_composition.h"
#include "render/sprite.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::GuardedTarget;
using test::KeyOf;
using test::SamplerFor;

struct SceneSprite {
    std::size_t texture = 0;
    bool rotated = false;
    FixedRect dest;
    SpriteQuad quad;
    TexelRect source;
    SpriteTint tint;
};

struct Scene {
    std::vector<FrameBuffer> textures;
    std::vector<SceneSprite> sprites;
};

Scene RandomScene(std::uint32_t width, std::uint32_t height, std::mt19937& random) {
    auto between = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto whole = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    Scene scene;
    for (int i = 0; i < 3; ++i) {
        scene.textures.push_back(test::RandomImage(static_cast<std::uint32_t>(whole(1, 24)),
                                                   static_cast<std::uint32_t>(whole(1, 24)), random));
    }
    for (int i = 0; i < 24; ++i) {
        SceneSprite sprite;
        sprite.texture = static_cast<std::size_t>(whole(0, 2));
        const auto w = static_cast<std::int32_t>(scene.textures[sprite.texture].Width());
        const auto h = static_cast<std::int32_t>(scene.textures[sprite.texture].Height());
        sprite.source = {whole(0, w - 1), whole(0, h - 1), 0, 0};
        sprite.source.right = whole(sprite.source.left + 1, w);
        sprite.source.bottom = whole(sprite.source.top + 1, h);
        if (whole(0, 7) == 0) std::swap(sprite.source.top, sprite.source.bottom);
        sprite.tint = test::RandomTint(random);
        // Centres a little beyond the frame, sizes from below a pixel to past the frame.
        double x = between(-6, width + 6.0), y = between(-6, height + 6.0);
        double halfWidth = between(0.2, 14), halfHeight = between(0.2, 14);
        sprite.rotated = whole(0, 2) == 0;
        if (!sprite.rotated) {
            sprite.dest = test::FixedFromPixels(x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight);
        } else {
            double angle = between(-3.2, 3.2);
            if (whole(0, 3) == 0) {
                // Vertices on whole rows and columns: rows through a vertex have one crossing.
                x = std::round(x), y = std::round(y), halfWidth = std::ceil(halfWidth);
                halfHeight = std::ceil(halfHeight), angle = 1.5707963267948966 * whole(1, 3);
            }
            const double c = std::cos(angle), s = std::sin(angle);
            const auto& r = sprite.source;
            sprite.quad = {4,
                           {{x - c * halfWidth + s * halfHeight, y - s * halfWidth - c * halfHeight,
                             double(r.left), double(r.top)},
                            {x + c * halfWidth + s * halfHeight, y + s * halfWidth - c * halfHeight,
                             double(r.right), double(r.top)},
                            {x + c * halfWidth - s * halfHeight, y + s * halfWidth + c * halfHeight,
                             double(r.right), double(r.bottom)},
                            {x - c * halfWidth - s * halfHeight, y - s * halfWidth + c * halfHeight,
                             double(r.left), double(r.bottom)}}};
        }
        scene.sprites.push_back(sprite);
    }
    return scene;
}

void DrawScene(const Scene& scene, const SpriteFills& fills, FrameBuffer& target, const RowBand& band) {
    for (const SceneSprite& sprite : scene.sprites) {
        const TexelSampler sampler = SamplerFor(scene.textures[sprite.texture]);
        if (sprite.rotated) {
            fills.fillQuad(target, band, sprite.quad, sprite.tint, sampler);
        } else {
            fills.fillRect(target, band, sprite.dest, sprite.source, sprite.tint, sampler);
        }
    }
}

struct FrameSize {
    std::uint32_t width, height;
};
// Odd sizes whose rows start off 16-byte boundaries, frames narrower than one SSE2 group, and
// frames of a single row.
constexpr FrameSize kSizes[] = {{37, 23}, {64, 17}, {3, 9}, {1, 6}, {2, 1}, {41, 1}};

TEST(BandDrawing, EveryVariantDrawsTheSamePixelsOnAnyNumberOfThreads) {
    std::vector<std::unique_ptr<DrawingPool>> pools;
    for (std::uint32_t threads : {2u, 3u, 7u}) pools.push_back(std::make_unique<DrawingPool>(threads));
    std::mt19937 random(16);
    for (unsigned bits = 0; bits < 32; ++bits) {
        const SpriteFills& fills = SelectSpriteFills(KeyOf(bits));
        for (const FrameSize size : kSizes) {
            const Scene scene = RandomScene(size.width, size.height, random);
            const FrameBuffer start = test::RandomImage(size.width, size.height, random);
            GuardedTarget whole(start);
            DrawScene(scene, fills, whole.Frame(), AllRows(whole.Frame()));
            for (const auto& pool : pools) {
                GuardedTarget banded(start);
                pool->DrawBands(size.height,
                                [&](const RowBand& band) { DrawScene(scene, fills, banded.Frame(), band); });
                EXPECT_EQ(test::Differences(whole.Frame(), banded.Frame()), 0)
                    << "variant " << bits << ", " << size.width << " x " << size.height << ", "
                    << pool->Threads() << " threads";
                EXPECT_TRUE(banded.GuardsIntact());
            }
        }
    }
}

// A band reaching past the frame, or lying wholly outside it, draws only frame rows.
TEST(BandDrawing, BandsOutsideTheFrameDrawNothingThere) {
    std::mt19937 random(7);
    const Scene scene = RandomScene(13, 9, random);
    const FrameBuffer start = test::RandomImage(13, 9, random);
    for (unsigned bits : {0u, 5u, 26u}) {
        const SpriteFills& fills = SelectSpriteFills(KeyOf(bits));
        GuardedTarget whole(start), banded(start), outside(start);
        DrawScene(scene, fills, whole.Frame(), AllRows(whole.Frame()));
        DrawScene(scene, fills, banded.Frame(), {-40, 4});
        DrawScene(scene, fills, banded.Frame(), {4, 300});
        DrawScene(scene, fills, outside.Frame(), {9, 20});
        DrawScene(scene, fills, outside.Frame(), {-20, 0});
        EXPECT_EQ(test::Differences(whole.Frame(), banded.Frame()), 0) << bits;
        EXPECT_EQ(test::Differences(outside.Frame(), start), 0) << bits;
        EXPECT_TRUE(banded.GuardsIntact());
        EXPECT_TRUE(outside.GuardsIntact());
    }
}

// Clearing, the background image and compositing, band by band, on both code paths.
TEST(BandDrawing, FrameOperationsByBandEqualTheWholeOperation) {
    std::mt19937 random(5);
    DrawingPool pool(3);
    for (const FrameSize size : kSizes) {
        for (bool sse2 : {false, true}) {
            const FrameBuffer start = test::RandomImage(size.width, size.height, random);
            const FrameBuffer image = test::RandomImage(size.width / 2 + 1, size.height / 2 + 1, random);
            const FrameBuffer layer = test::RandomImage(size.width, size.height, random);
            const PixelRect all{0, 0, static_cast<std::int32_t>(size.width),
                                static_cast<std::int32_t>(size.height)};
            const PixelRect shifted{-1, 1, static_cast<std::int32_t>(size.width) - 1,
                                    static_cast<std::int32_t>(size.height) + 1};
            auto compose = [&](FrameBuffer& frame, const RowBand& band) {
                ClearFrame(frame, 0x80402010u, sse2, band);
                DrawBackground(frame, &image, 0u, sse2, band);
                CompositeOver(frame, shifted, layer, all, sse2, band);
                CopyRect(frame, all, layer, shifted, sse2, band);
            };
            GuardedTarget whole(start), banded(start);
            compose(whole.Frame(), AllRows(whole.Frame()));
            pool.DrawBands(size.height, [&](const RowBand& band) { compose(banded.Frame(), band); });
            EXPECT_EQ(test::Differences(whole.Frame(), banded.Frame()), 0)
                << size.width << " x " << size.height;
            EXPECT_TRUE(banded.GuardsIntact());
        }
    }
}

TEST(SplitRows, CutsIntoNearlyEqualBandsWithoutGapsOrEmptyOnes) {
    struct Case {
        std::uint32_t height, count;
        std::vector<std::int32_t> cuts;  // band tops, then the frame's height
    };
    for (const Case& c : {Case{600, 2, {0, 300, 600}}, Case{23, 7, {0, 4, 8, 11, 14, 17, 20, 23}},
                          Case{1, 7, {0, 1}}, Case{5, 0, {0, 5}}, Case{0, 3, {0}}}) {
        const std::vector<RowBand> bands = SplitRows(c.height, c.count);
        std::vector<std::int32_t> cuts{0};
        for (const RowBand& band : bands) {
            EXPECT_EQ(band.top, cuts.back());
            EXPECT_FALSE(band.Empty());
            cuts.push_back(band.bottom);
        }
        if (bands.empty()) cuts = {0};
        EXPECT_EQ(cuts, c.cuts) << c.height << " rows, " << c.count << " bands";
    }
}

}  // namespace
}  // namespace orv
