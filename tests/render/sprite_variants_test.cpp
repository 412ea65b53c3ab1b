#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>

#include "render/sprite.h"
#include "render/texel_samplers.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::GuardedTarget;
using test::KeyOf;
using test::SamplerFor;

// Draws the same random sprites with the plain and the SSE2 form of a variant onto equal random
// targets and hands each pair of targets to `compare`. Targets have odd widths and rows that
// start off 16-byte boundaries, so spans have heads, groups and tails of every length; sprites
// reach past every edge of target and texture, some are mirrored, some cover many groups.
template <class Compare>
void DrawBothPaths(SpriteVariantKey key, int spritesPerTarget, Compare compare) {
    std::mt19937 random(1234 + (key.bilinear ? 16 : 0) + (key.normalBlend ? 2 : 0) + (key.tinted ? 1 : 0));
    auto between = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    SpriteVariantKey sse2Key = key;
    sse2Key.sse2 = true;
    key.sse2 = false;
    for (int round = 0; round < 240 / spritesPerTarget; ++round) {
        const std::uint32_t width = 37 + static_cast<std::uint32_t>(round % 5), height = 23;
        const FrameBuffer start = test::RandomImage(width, height, random);
        GuardedTarget plain(start), wide(start);
        for (int i = 0; i < spritesPerTarget; ++i) {
            const FrameBuffer texture = test::RandomImage(between(1, 40), between(1, 40), random);
            const std::int32_t w = static_cast<std::int32_t>(texture.Width()),
                               h = static_cast<std::int32_t>(texture.Height());
            TexelRect source{between(0, w - 1), between(0, h - 1), 0, 0};
            source.right = between(source.left + 1, w);
            source.bottom = between(source.top + 1, h);
            if (between(0, 7) == 0) std::swap(source.left, source.right);
            const std::int32_t x = between(-20 * 65536, static_cast<std::int32_t>(width) * 65536);
            const std::int32_t y = between(-20 * 65536, static_cast<std::int32_t>(height) * 65536);
            const FixedRect dest{x, y, x + between(1, 60 * 65536), y + between(1, 30 * 65536)};
            const SpriteTint tint = test::RandomTint(random);
            SelectSpriteFills(key).fillRect(plain.Frame(), AllRows(plain.Frame()), dest, source, tint,
                                            SamplerFor(texture));
            SelectSpriteFills(sse2Key).fillRect(wide.Frame(), AllRows(wide.Frame()), dest, source, tint,
                                                SamplerFor(texture));
        }
        ASSERT_TRUE(plain.GuardsIntact());
        ASSERT_TRUE(wide.GuardsIntact());
        compare(plain.Frame(), wide.Frame());
    }
}

TEST(SpriteVariants, Sse2IsBitIdenticalToPlainOnOpaqueTargets) {
    for (unsigned bits = 0; bits < 32; ++bits) {
        const SpriteVariantKey key = KeyOf(bits);
        if (!key.opaqueTarget || key.sse2) continue;
        int differences = 0;
        DrawBothPaths(key, 8, [&](const FrameBuffer& plain, const FrameBuffer& wide) {
            differences += test::Differences(plain, wide);
        });
        EXPECT_EQ(differences, 0) << "variant " << bits;
    }
}

// On a target with alpha the plain path truncates its table weights while the SSE2 path rounds
// them and divides by an approximate reciprocal: the result alpha may differ by 1 and the colour,
// weighted by its alpha, by up to 5 levels (the additive weights of the SSE2 path can sum to one
// more than the alpha they are divided by).
TEST(SpriteVariants, Sse2StaysCloseToPlainOnTargetsWithAlpha) {
    for (unsigned bits = 0; bits < 32; ++bits) {
        const SpriteVariantKey key = KeyOf(bits);
        if (key.opaqueTarget || key.sse2) continue;
        int worstAlpha = 0, worstColour = 0;
        // One sprite per target: overlapping sprites would compound the differences.
        DrawBothPaths(key, 1, [&](const FrameBuffer& plainFrame, const FrameBuffer& wideFrame) {
            for (std::uint32_t i = 0; i < plainFrame.Width() * plainFrame.Height(); ++i) {
                const std::uint32_t plain = plainFrame.At(i % plainFrame.Width(), i / plainFrame.Width());
                const std::uint32_t wide = wideFrame.At(i % plainFrame.Width(), i / plainFrame.Width());
                const int plainAlpha = static_cast<int>(plain >> 24),
                          wideAlpha = static_cast<int>(wide >> 24);
                worstAlpha = std::max(worstAlpha, std::abs(plainAlpha - wideAlpha));
                for (int at : {0, 8, 16}) {
                    const int p = static_cast<int>((plain >> at) & 0xFF) * plainAlpha;
                    const int w = static_cast<int>((wide >> at) & 0xFF) * wideAlpha;
                    worstColour = std::max(worstColour, (std::abs(p - w) + 254) / 255);
                }
            }
        });
        EXPECT_LE(worstAlpha, 1) << "variant " << bits;
        EXPECT_LE(worstColour, 5) << "variant " << bits;
    }
}

// Rotated sprites are blended four pixels at a time on the SSE2 path only where that gives the
// plain path's pixels (opaque targets); on every target and in every variant the two paths agree.
TEST(SpriteVariants, RotatedSpritesAreBitIdenticalOnBothPaths) {
    std::mt19937 random(4321);
    auto between = [&random](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    for (unsigned bits = 0; bits < 32; ++bits) {
        SpriteVariantKey key = KeyOf(bits);
        if (key.sse2) continue;
        SpriteVariantKey sse2Key = key;
        sse2Key.sse2 = true;
        const auto width = static_cast<std::uint32_t>(33 + bits % 7);
        const FrameBuffer start = test::RandomImage(width, 29, random);
        GuardedTarget plain(start), wide(start);
        for (int i = 0; i < 12; ++i) {
            const FrameBuffer texture = test::RandomImage(1 + random() % 24, 1 + random() % 24, random);
            const double x = between(-10, width + 10.0), y = between(-10, 39), hw = between(0.5, 25),
                         hh = between(0.5, 25), angle = between(-4, 4), c = std::cos(angle),
                         s = std::sin(angle);
            const double u1 = texture.Width(), v1 = texture.Height();
            const SpriteQuad quad{4,
                                  {{x - c * hw + s * hh, y - s * hw - c * hh, 0, 0},
                                   {x + c * hw + s * hh, y + s * hw - c * hh, u1, 0},
                                   {x + c * hw - s * hh, y + s * hw + c * hh, u1, v1},
                                   {x - c * hw - s * hh, y - s * hw + c * hh, 0, v1}}};
            const SpriteTint tint = test::RandomTint(random);
            SelectSpriteFills(key).fillQuad(plain.Frame(), AllRows(plain.Frame()), quad, tint,
                                            SamplerFor(texture));
            SelectSpriteFills(sse2Key).fillQuad(wide.Frame(), AllRows(wide.Frame()), quad, tint,
                                                SamplerFor(texture));
        }
        ASSERT_TRUE(plain.GuardsIntact());
        ASSERT_TRUE(wide.GuardsIntact());
        EXPECT_EQ(test::Differences(plain.Frame(), wide.Frame()), 0) << "variant " << bits;
    }
}

TEST(SpriteVariants, Sse2SpanEndsUseThePlainFormulasOnTargetsWithAlpha) {
    std::mt19937 random(99);
    const FrameBuffer texture = test::RandomImage(8, 8, random);
    for (bool normal : {false, true}) {
        FrameBuffer plain = test::RandomImage(8, 1, random);
        FrameBuffer wide = test::MakeImage(8, 1, [&](auto x, auto y) { return plain.At(x, y); });
        const FixedRect dest{1 << 16, 0, 4 << 16, 1 << 16};  // columns 1 to 3 of an aligned row
        const SpriteTint tint{200, 90, 180, 255};
        SelectSpriteFills({false, false, false, normal, true})
            .fillRect(plain, AllRows(plain), dest, {0, 0, 8, 8}, tint, SamplerFor(texture));
        SelectSpriteFills({false, false, true, normal, true})
            .fillRect(wide, AllRows(wide), dest, {0, 0, 8, 8}, tint, SamplerFor(texture));
        EXPECT_EQ(test::Differences(plain, wide), 0) << normal;
    }
}

#if ORV_RENDER_SSE2
// The run of columns sampled four at a time must need no clamping at any of its samples, and
// (unless the coordinates wrap within the span) must hold every sample that needs none.
TEST(BilinearSampling, InteriorColumnsAreExactlyTheUnclampedRun) {
    std::mt19937 random(17);
    for (int i = 0; i < 20000; ++i) {
        const auto lastColumn = static_cast<std::int32_t>(random() % 50);
        const FrameBuffer texture = test::FilledImage(static_cast<std::uint32_t>(lastColumn) + 1, 1, 0);
        const BilinearSampling sampling(SamplerFor(texture));
        // Now and then a start far off, so that the span wraps, or a step of -1, 0 or 1.
        const auto u =
            static_cast<std::int32_t>(random() % (60 << 16) - (5 << 16) + (i % 97 == 0 ? random() : 0u));
        const auto du =
            static_cast<std::int32_t>(i % 13 == 0 ? random() % 3 - 1 : random() % (8 << 16) - (2 << 16));
        const auto count = static_cast<std::int32_t>(random() % 300);
        const ColumnRange run = sampling.InteriorColumns(u, du, count);
        ASSERT_LE(0, run.first);
        ASSERT_LE(run.first, run.last);
        ASSERT_LE(run.last, std::max(count, 0));
        const std::int64_t end = std::int64_t{u} + std::int64_t{du} * (count - 1);
        const bool wraps = count > 0 && (end < INT32_MIN || end > INT32_MAX);
        for (std::int32_t k = 0; k < count; ++k) {
            const auto sample =
                static_cast<std::int32_t>(static_cast<std::uint32_t>(u) +
                                          static_cast<std::uint32_t>(k) * static_cast<std::uint32_t>(du));
            const bool interior = sample >= 0 && std::int64_t{sample} < std::int64_t{lastColumn} * 65536;
            const bool inRun = k >= run.first && k < run.last;
            ASSERT_TRUE(!inRun || interior) << u << " " << du << " " << k;
            ASSERT_TRUE(wraps || interior == inRun) << u << " " << du << " " << k;
        }
    }
}

#endif

}  // namespace
}  // namespace orv
