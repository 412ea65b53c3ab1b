#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>

#include "render/sprite.h"
#include "tests/render/render_test_support.h"

namespace orv {
namespace {

using test::GuardedTarget;
using test::KeyOf;

// Draws the same random scenes with the plain and the SSE2 form of variant `bits` onto equal
// random targets and hands each pair of targets to `compare`. Targets have odd widths and rows that
// start off 16-byte boundaries, so spans have heads, groups and tails of every length; sprites
// reach past every edge of target and texture, some are mirrored, some cover many groups.
template <class Compare>
void DrawBothPaths(unsigned bits, int spritesPerTarget, test::SpriteKinds kinds, Compare compare) {
    std::mt19937 random(1234 + bits);
    const SpriteFills& plainFills = SelectSpriteFills(KeyOf(bits & ~4u));
    const SpriteFills& sse2Fills = SelectSpriteFills(KeyOf(bits | 4u));
    for (int round = 0; round < 240 / spritesPerTarget; ++round) {
        const std::uint32_t width = 37 + static_cast<std::uint32_t>(round % 5), height = 23;
        const test::Scene scene = test::RandomScene(width, height, random, spritesPerTarget, kinds, 30);
        const FrameBuffer start = test::RandomImage(width, height, random);
        GuardedTarget plain(start), wide(start);
        scene.Draw(plainFills, plain.Frame(), AllRows(plain.Frame()));
        scene.Draw(sse2Fills, wide.Frame(), AllRows(wide.Frame()));
        ASSERT_TRUE(plain.GuardsIntact() && wide.GuardsIntact());
        compare(plain.Frame(), wide.Frame());
    }
}

// Rotated sprites are blended four pixels at a time on the SSE2 path only where that gives the
// plain path's pixels (opaque targets), so on every target they agree; so do rectangles on
// opaque targets.
TEST(SpriteVariants, Sse2IsBitIdenticalToPlainOnOpaqueTargetsAndForRotatedSprites) {
    test::ForEachRowWidth([] {
        for (unsigned bits = 0; bits < 32; ++bits) {
            if (bits & 4) continue;
            const bool opaque = KeyOf(bits).opaqueTarget;
            int differences = 0;
            DrawBothPaths(bits, 8, opaque ? test::SpriteKinds::kBoth : test::SpriteKinds::kQuads,
                          [&](const FrameBuffer& plain, const FrameBuffer& wide) {
                              differences += test::Differences(plain, wide);
                          });
            EXPECT_EQ(differences, 0) << "variant " << bits;
        }
    });
}

// On a target with alpha the plain path truncates its table weights while the SSE2 path rounds
// them and divides by an approximate reciprocal: the result alpha may differ by 1 and the colour,
// weighted by its alpha, by up to 5 levels (the additive weights of the SSE2 path can sum to one
// more than the alpha they are divided by).
TEST(SpriteVariants, Sse2StaysCloseToPlainOnTargetsWithAlpha) {
    for (unsigned bits = 0; bits < 32; ++bits) {
        if ((bits & 4) || KeyOf(bits).opaqueTarget) continue;
        int worstAlpha = 0, worstColour = 0;
        // One sprite per target: overlapping sprites would compound the differences.
        DrawBothPaths(
            bits, 1, test::SpriteKinds::kRectangles, [&](const FrameBuffer& plain, const FrameBuffer& wide) {
                for (std::uint32_t y = 0; y < plain.Height(); ++y) {
                    for (std::uint32_t x = 0; x < plain.Width(); ++x) {
                        const std::uint32_t p = plain.At(x, y), w = wide.At(x, y);
                        worstAlpha = std::max(worstAlpha, std::abs(int(p >> 24) - int(w >> 24)));
                        for (int at : {0, 8, 16}) {
                            const int weighted =
                                int((p >> at) & 0xFF) * int(p >> 24) - int((w >> at) & 0xFF) * int(w >> 24);
                            worstColour = std::max(worstColour, (std::abs(weighted) + 254) / 255);
                        }
                    }
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
        FrameBuffer plain = test::RandomImage(8, 1, random);
        FrameBuffer wide = test::MakeImage(8, 1, [&](auto x, auto y) { return plain.At(x, y); });
        const FixedRect dest{1 << 16, 0, 4 << 16, 1 << 16};  // columns 1 to 3 of an aligned row
        const SpriteTint tint{200, 90, 180, 255};
        SelectSpriteFills({false, false, false, normal, true})
            .fillRect(plain, AllRows(plain), dest, {0, 0, 8, 8}, tint, test::SamplerFor(texture));
        SelectSpriteFills({false, false, true, normal, true})
            .fillRect(wide, AllRows(wide), dest, {0, 0, 8, 8}, tint, test::SamplerFor(texture));
        EXPECT_EQ(test::Differences(plain, wide), 0) << normal;
    }
}

}  // namespace
}  // namespace orv
