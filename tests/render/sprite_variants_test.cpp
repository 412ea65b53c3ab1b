#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "render/span_split.h"
#include "render/sprite.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::GuardedTarget;
using test::SamplerFor;

SpriteVariantKey KeyOf(unsigned bits) {
    return {(bits & 16) != 0, (bits & 8) == 0, (bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
}

TEST(SpriteVariants, EveryCombinationHasItsOwnRectangleFillAndTheQuadFillIgnoresThePath) {
    std::set<void*> rects, quads;
    for (unsigned bits = 0; bits < 32; ++bits) {
        const SpriteVariantKey key = KeyOf(bits);
        const SpriteFills& fills = SelectSpriteFills(key);
        rects.insert(reinterpret_cast<void*>(fills.fillRect));
        quads.insert(reinterpret_cast<void*>(fills.fillQuad));
        SpriteVariantKey other = key;
        other.sse2 = !key.sse2;
        EXPECT_EQ(fills.fillQuad, SelectSpriteFills(other).fillQuad) << bits;
    }
    EXPECT_EQ(rects.size(), ORV_RENDER_SSE2 ? 32u : 16u);
    EXPECT_EQ(quads.size(), 16u);
}

TEST(SpanSplit, HeadGroupsAndTailFollowTheAddress) {
    alignas(16) std::uint32_t row[16] = {};
    const SpanSplit shortSpan = SplitSpan(row + 1, 3);  // h = 3: the whole span is the tail
    EXPECT_EQ(shortSpan.head, 0);
    EXPECT_EQ(shortSpan.groups, 0);
    EXPECT_EQ(shortSpan.tail, 3);
    const SpanSplit longSpan = SplitSpan(row + 1, 12);
    EXPECT_EQ(longSpan.head, 3);
    EXPECT_EQ(longSpan.groups, 2);
    EXPECT_EQ(longSpan.tail, 1);
    const SpanSplit aligned = SplitSpan(row + 4, 7);
    EXPECT_EQ(aligned.head, 0);
    EXPECT_EQ(aligned.groups, 1);
    EXPECT_EQ(aligned.tail, 3);
}

// A random sprite: a texture, a source frame inside it, a destination reaching partly outside a
// target, a tint.
struct RandomSprite {
    FrameBuffer texture;
    TexelRect source;
    FixedRect dest;
    SpriteTint tint;
};

RandomSprite MakeSprite(std::mt19937& random, std::uint32_t targetWidth, std::uint32_t targetHeight) {
    auto between = [&random](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random);
    };
    RandomSprite sprite;
    const std::uint32_t width = static_cast<std::uint32_t>(between(1, 40));
    const std::uint32_t height = static_cast<std::uint32_t>(between(1, 40));
    sprite.texture = test::RandomImage(width, height, random);
    sprite.source.left = between(0, static_cast<std::int32_t>(width) - 1);
    sprite.source.top = between(0, static_cast<std::int32_t>(height) - 1);
    sprite.source.right = between(sprite.source.left + 1, static_cast<std::int32_t>(width));
    sprite.source.bottom = between(sprite.source.top + 1, static_cast<std::int32_t>(height));
    const std::int32_t x = between(-20 * 65536, static_cast<std::int32_t>(targetWidth) * 65536);
    const std::int32_t y = between(-20 * 65536, static_cast<std::int32_t>(targetHeight) * 65536);
    sprite.dest = {x, y, x + between(1, 60 * 65536), y + between(1, 30 * 65536)};
    sprite.tint = {static_cast<std::uint32_t>(between(0, 255)), static_cast<std::uint32_t>(between(0, 255)),
                   static_cast<std::uint32_t>(between(0, 255)), static_cast<std::uint32_t>(between(0, 255))};
    return sprite;
}

// Draws the same random sprites with the plain and the SSE2 form of a variant onto equal random
// targets, and hands every pixel pair to `compare`. Targets have odd widths and rows that start
// off 16-byte boundaries, so spans have heads, groups and tails of every length.
template <class Compare>
void DrawBothPaths(SpriteVariantKey key, int spritesPerTarget, Compare compare) {
    std::mt19937 random(1234 + (key.bilinear ? 16 : 0) + (key.normalBlend ? 2 : 0) + (key.tinted ? 1 : 0));
    SpriteVariantKey sse2Key = key;
    sse2Key.sse2 = true;
    key.sse2 = false;
    for (int round = 0; round < 240 / spritesPerTarget; ++round) {
        const std::uint32_t width = 37 + static_cast<std::uint32_t>(round % 5), height = 23;
        GuardedTarget plain(width, height, 0), wide(width, height, 0);
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                const auto word = static_cast<std::uint32_t>(random());
                plain.Frame().At(x, y) = wide.Frame().At(x, y) = word;
            }
        }
        for (int i = 0; i < spritesPerTarget; ++i) {
            const RandomSprite sprite = MakeSprite(random, width, height);
            SelectSpriteFills(key).fillRect(plain.Frame(), sprite.dest, sprite.source, sprite.tint,
                                            SamplerFor(sprite.texture));
            SelectSpriteFills(sse2Key).fillRect(wide.Frame(), sprite.dest, sprite.source, sprite.tint,
                                                SamplerFor(sprite.texture));
        }
        ASSERT_TRUE(plain.GuardsIntact());
        ASSERT_TRUE(wide.GuardsIntact());
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) compare(plain.Frame().At(x, y), wide.Frame().At(x, y));
        }
    }
}

TEST(SpriteVariants, Sse2IsBitIdenticalToPlainOnOpaqueTargets) {
    for (unsigned bits = 0; bits < 32; ++bits) {
        const SpriteVariantKey key = KeyOf(bits);
        if (!key.opaqueTarget || key.sse2) continue;
        int differences = 0;
        DrawBothPaths(key, 8, [&](std::uint32_t plain, std::uint32_t wide) { differences += plain != wide; });
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
        DrawBothPaths(key, 1, [&](std::uint32_t plain, std::uint32_t wide) {
            const int plainAlpha = static_cast<int>(plain >> 24), wideAlpha = static_cast<int>(wide >> 24);
            worstAlpha = std::max(worstAlpha, std::abs(plainAlpha - wideAlpha));
            for (int at : {0, 8, 16}) {
                const int p = static_cast<int>((plain >> at) & 0xFF) * plainAlpha;
                const int w = static_cast<int>((wide >> at) & 0xFF) * wideAlpha;
                worstColour = std::max(worstColour, (std::abs(p - w) + 254) / 255);
            }
        });
        EXPECT_LE(worstAlpha, 1) << "variant " << bits;
        EXPECT_LE(worstColour, 5) << "variant " << bits;
    }
}

TEST(SpriteVariants, Sse2SpanEndsUseThePlainFormulasOnTargetsWithAlpha) {
    std::mt19937 random(99);
    const FrameBuffer texture = test::RandomImage(8, 8, random);
    for (bool normal : {false, true}) {
        const SpriteVariantKey plainKey{false, false, false, normal, true};
        const SpriteVariantKey sse2Key{false, false, true, normal, true};
        FrameBuffer plain = test::RandomImage(8, 2, random);
        FrameBuffer wide(8, 2);
        for (std::uint32_t x = 0; x < 8; ++x) wide.At(x, 0) = plain.At(x, 0);
        const FixedRect dest{1 << 16, 0, 4 << 16, 1 << 16};  // columns 1 to 3 of an aligned row
        const SpriteTint tint{200, 90, 180, 255};
        SelectSpriteFills(plainKey).fillRect(plain, dest, {0, 0, 8, 8}, tint, SamplerFor(texture));
        SelectSpriteFills(sse2Key).fillRect(wide, dest, {0, 0, 8, 8}, tint, SamplerFor(texture));
        for (std::uint32_t x = 0; x < 8; ++x) EXPECT_EQ(plain.At(x, 0), wide.At(x, 0)) << x;
    }
}

}  // namespace
}  // namespace orv
