#include "engine/emitter_drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/random.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using test::ApplyDefaults;
using test::FilledImage;
using test::SolidTexture;

// Beyond 16.16 or not a number: a rectangle is skipped, never converted, and a tint's alpha is
// clamped or nothing.
TEST(SpriteGeometry, ValuesOutOfRangeAreSkippedOrClamped) {
    EXPECT_FALSE(FixedRectFor(40000.0, 0.0, HalfSize{1, 1}));
    EXPECT_FALSE(FixedRectFor(0.0, 0.0, HalfSize{std::numeric_limits<double>::infinity(), 1}));
    EXPECT_FALSE(FixedRectFor(std::nan(""), 0.0, HalfSize{1, 1}));
    Particle particle;
    for (const auto& [alpha, expected] :
         {std::pair{1.2, 255u}, {-0.1, 0u}, {std::nan(""), 0u}, {0.5, 127u}}) {
        particle.alphaCopy = alpha;
        EXPECT_EQ(SpriteTintFor(particle).alpha, expected) << alpha;
    }
}

// In a 100 px image split in 3, column 99 is never shown; unsplit, the frame is the image. (An even
// split's frames are the sparks example's: the golden frames.)
TEST(SpriteGeometry, SourceRectanglesOfSplitTextures) {
    TextureSettings texture;
    texture.SetImage(SolidTexture(100, 100, 0xFFFFFFFF));
    for (const auto& [split, frame, edges] :
         {std::tuple{3u, 8u, std::array{66, 66, 99, 99}}, {1u, 0u, std::array{0, 0, 100, 100}}}) {
        texture.SetSplitX(split);
        texture.SetSplitY(split);
        const TexelRect rect = SourceRectFor(texture, frame);
        EXPECT_EQ((std::array{rect.left, rect.top, rect.right, rect.bottom}), edges) << split;
    }
}

TEST(EmitterDrawing, SplitFinerThanTheImageDrawsNothing) {
    ResetRandomForTesting();
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(8, 8, 0xFFFFFFFF));
    emitter.texture.SetSplitX(16);
    ApplyDefaults(emitter);
    SetSortType(emitter.params, kSortScaleAscending);  // size scales are not numbers here
    FrameBuffer frame = FilledImage(64, 64, 0xFF000000);
    for (int i = 0; i < 10; ++i) {
        SetEmitterOrigin(emitter, 64, 64);
        EXPECT_TRUE(StepEmitter(emitter, 0.1, &frame, true, {}));
    }
    EXPECT_GT(emitter.runtime.liveCount, 0);
    EXPECT_EQ(test::PixelsOf(frame), std::vector<std::uint32_t>(64 * 64, 0xFF000000u));
}

TEST(EmitterSort, OrdersLiveParticlesSoTheKeyedOneIsDrawnLast) {
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(4, 4, 0xFFFFFFFF));
    // Three live particles and a spare (age 0) that stays where it is.
    emitter.runtime.pool = {{.sizeScale = 2.0, .age = 0.5},
                            {.sizeScale = 3.0, .age = 0.1},
                            {.sizeScale = 1.0, .age = 0.9},
                            {.sizeScale = 9.0, .age = 0.0}};
    emitter.runtime.liveCount = 3;
    // Sort type, then the age of the particle drawn last (on top).
    const std::pair<std::uint32_t, double> orders[] = {{kSortAgeAscending, 0.9},
                                                       {kSortAgeDescending, 0.1},
                                                       {kSortScaleAscending, 0.1},
                                                       {kSortScaleDescending, 0.9}};
    for (const auto& [sort, top] : orders) {
        emitter.params.sortType = sort;
        SortParticles(emitter);
        EXPECT_EQ(std::pair(emitter.runtime.pool[2].age, emitter.runtime.pool[3].age), std::pair(top, 0.0))
            << sort;
    }
}

}  // namespace
}  // namespace orv
