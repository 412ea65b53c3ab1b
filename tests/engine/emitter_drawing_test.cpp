#include "engine/emitter_drawing.h"

#include <gtest/gtest.h>

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

TEST(SpriteGeometry, SourceRectanglesOfSplitTextures) {
    // {image width, height, split x, y, frame} -> {left, top, right, bottom}. In a 100 px image
    // split in 3, column 99 is never shown. (An even split's frames are the sparks example's: the
    // golden frames.)
    const std::int32_t cases[][9] = {{100, 100, 3, 3, 8, 66, 66, 99, 99},
                                     {100, 100, 1, 1, 0, 0, 0, 100, 100}};
    for (const auto& c : cases) {
        TextureSettings texture;
        texture.SetImage(SolidTexture(c[0], c[1], 0xFFFFFFFF));
        texture.SetSplitX(c[2]);
        texture.SetSplitY(c[3]);
        const TexelRect rect = SourceRectFor(texture, c[4]);
        EXPECT_EQ(std::vector<std::int32_t>({rect.left, rect.top, rect.right, rect.bottom}),
                  std::vector<std::int32_t>(c + 5, c + 9))
            << c[0] << " x " << c[1] << " in " << c[2] << " x " << c[3];
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
