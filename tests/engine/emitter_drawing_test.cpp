#include "engine/emitter_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/random.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using test::ApplyDefaults;
using test::FilledFrame;
using test::SolidTexture;

constexpr double kHalfPi = 1.5707963267948966;

// One hand-placed particle, so that the geometry is known exactly.
Particle& PlaceParticle(Emitter& emitter, double x, double y, double sizeScale) {
    emitter.runtime.pool.resize(1);
    emitter.runtime.allocatedCount = 1;
    emitter.runtime.liveCount = 1;
    Particle& particle = emitter.runtime.pool[0];
    particle = Particle{};
    particle.x = x;
    particle.y = y;
    particle.sizeScale = sizeScale;
    particle.alphaCopy = 1.0;
    particle.packedColour = 0xFFFFFFFF;
    particle.lifespan = 1.0;
    return particle;
}

TEST(SpriteGeometry, UnrotatedRectangleIsTruncated1616) {
    TextureSettings texture;
    texture.SetImage(SolidTexture(32, 32, 0xFFFFFFFF));
    Particle particle;
    particle.sizeScale = 1.0;
    const auto rect = FixedRectFor(10.5, 20.25, HalfSizeFor(texture, particle));
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, static_cast<std::int32_t>(-5.5 * 65536));
    EXPECT_EQ(rect->top, static_cast<std::int32_t>(4.25 * 65536));
    EXPECT_EQ(rect->right, static_cast<std::int32_t>(26.5 * 65536));
    EXPECT_EQ(rect->bottom, static_cast<std::int32_t>(36.25 * 65536));

    // Beyond 16.16 or not a number: skipped, never converted.
    EXPECT_FALSE(FixedRectFor(40000.0, 0.0, HalfSize{1, 1}));
    EXPECT_FALSE(FixedRectFor(0.0, 0.0, HalfSize{std::numeric_limits<double>::infinity(), 1}));
    EXPECT_FALSE(FixedRectFor(std::nan(""), 0.0, HalfSize{1, 1}));
}

TEST(SpriteGeometry, QuadTurnsXTowardsY) {
    const TexelRect source{0, 0, 32, 16};
    const auto quad = QuadFor(100.0, 50.0, HalfSize{16, 8}, kHalfPi, source);
    ASSERT_TRUE(quad);
    EXPECT_EQ(quad->count, 4);
    EXPECT_DOUBLE_EQ(quad->vertex[0].x, 100.0 + 8);  // (x + hh, y - hw)
    EXPECT_DOUBLE_EQ(quad->vertex[0].y, 50.0 - 16);
    EXPECT_EQ(quad->vertex[0].u, 0.0);
    EXPECT_EQ(quad->vertex[0].v, 0.0);
    EXPECT_DOUBLE_EQ(quad->vertex[1].x, 100.0 + 8);  // right, top
    EXPECT_DOUBLE_EQ(quad->vertex[1].y, 50.0 + 16);
    EXPECT_EQ(quad->vertex[1].u, 32.0);
    EXPECT_EQ(quad->vertex[2].v, 16.0);
    EXPECT_DOUBLE_EQ(quad->vertex[3].x, 100.0 - 8);  // left, bottom
    EXPECT_DOUBLE_EQ(quad->vertex[3].y, 50.0 - 16);
    EXPECT_EQ(quad->vertex[3].u, 0.0);
    EXPECT_EQ(quad->vertex[3].v, 16.0);
}

TEST(SpriteGeometry, SourceRectanglesOfSplitTextures) {
    TextureSettings texture;
    texture.SetImage(SolidTexture(256, 128, 0xFFFFFFFF));
    texture.SetSplitX(4);
    texture.SetSplitY(2);
    const TexelRect frame5 = SourceRectFor(texture, 5);
    EXPECT_EQ(frame5.left, 64);
    EXPECT_EQ(frame5.top, 64);
    EXPECT_EQ(frame5.right, 128);
    EXPECT_EQ(frame5.bottom, 128);

    texture.SetImage(SolidTexture(100, 100, 0xFFFFFFFF));
    texture.SetSplitX(3);
    texture.SetSplitY(3);
    const TexelRect last = SourceRectFor(texture, 8);
    EXPECT_EQ(last.left, 66);
    EXPECT_EQ(last.right, 99);  // column 99 is never shown
    EXPECT_EQ(last.bottom, 99);

    texture.SetSplitX(1);
    texture.SetSplitY(1);
    const TexelRect whole = SourceRectFor(texture, 0);
    EXPECT_EQ(whole.right, 100);
    EXPECT_EQ(whole.bottom, 100);
}

TEST(SpriteTint, AlphaIsClampedAndColourComesFromThePackedWord) {
    Particle particle;
    particle.packedColour = 0xFF102030;
    particle.alphaCopy = 1.2;
    EXPECT_EQ(SpriteTintFor(particle).alpha, 255u);
    particle.alphaCopy = -0.1;
    EXPECT_EQ(SpriteTintFor(particle).alpha, 0u);
    particle.alphaCopy = std::nan("");
    EXPECT_EQ(SpriteTintFor(particle).alpha, 0u);
    particle.alphaCopy = 0.5;
    const SpriteTint tint = SpriteTintFor(particle);
    EXPECT_EQ(tint.alpha, 127u);
    EXPECT_EQ(tint.red, 0x10u);
    EXPECT_EQ(tint.green, 0x20u);
    EXPECT_EQ(tint.blue, 0x30u);
}

TEST(EmitterDrawing, RectangleReachesTheFrameWhereTheGeometrySays) {
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(32, 32, 0xFFFFFFFF));
    emitter.params.blendingMode = kNormal;
    emitter.params.enableColor = false;
    PlaceParticle(emitter, 10.5, 20.25, 1.0);
    FrameBuffer frame = FilledFrame(40, 40, 0xFF000000);
    ASSERT_TRUE(DrawEmitterSprites(emitter, &frame, true));
    // Left and top edges round down, right and bottom edges round up: columns 0..26, rows 4..36.
    EXPECT_NE(frame.At(0, 4), 0xFF000000u);
    EXPECT_NE(frame.At(26, 36), 0xFF000000u);
    EXPECT_EQ(frame.At(27, 36), 0xFF000000u);
    EXPECT_EQ(frame.At(26, 37), 0xFF000000u);
    EXPECT_EQ(frame.At(0, 3), 0xFF000000u);
}

TEST(EmitterDrawing, QuarterTurnedSpriteSwapsItsExtent) {
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(20, 4, 0xFFFFFFFF));
    emitter.params.blendingMode = kNormal;
    PlaceParticle(emitter, 20.0, 20.0, 1.0).rotation = kHalfPi;
    FrameBuffer frame = FilledFrame(40, 40, 0xFF000000);
    ASSERT_TRUE(DrawEmitterSprites(emitter, &frame, true));
    EXPECT_NE(frame.At(20, 12), 0xFF000000u);  // 10 px above the centre: inside when turned
    EXPECT_EQ(frame.At(28, 20), 0xFF000000u);  // 8 px right: inside only when not turned
}

TEST(EmitterDrawing, WithoutImageTheEmitterSimulatesButDoesNotDraw) {
    ResetRandomForTesting();
    Emitter emitter;
    ApplyDefaults(emitter);
    FrameBuffer frame = FilledFrame(16, 16, 0xFF000000);
    SetEmitterOrigin(emitter, 16, 16);
    EXPECT_FALSE(StepEmitter(emitter, 0.1, &frame, true));
    EXPECT_GT(emitter.runtime.liveCount, 0);
    emitter.texture.SetImage(SolidTexture(4, 4, 0xFFFFFFFF));
    EXPECT_FALSE(StepEmitter(emitter, 0.1, nullptr, true));
}

TEST(EmitterDrawing, SplitFinerThanTheImageDrawsNothing) {
    ResetRandomForTesting();
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(8, 8, 0xFFFFFFFF));
    emitter.texture.SetSplitX(16);
    ApplyDefaults(emitter);
    SetSortType(emitter.params, kSortScaleAscending);  // size scales are not numbers here
    FrameBuffer frame = FilledFrame(64, 64, 0xFF000000);
    for (int i = 0; i < 10; ++i) {
        SetEmitterOrigin(emitter, 64, 64);
        EXPECT_TRUE(StepEmitter(emitter, 0.1, &frame, true));
    }
    EXPECT_GT(emitter.runtime.liveCount, 0);
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x) ASSERT_EQ(frame.At(x, y), 0xFF000000u);
    }
}

TEST(EmitterSort, OrdersLiveParticlesSoTheKeyedOneIsDrawnLast) {
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(4, 4, 0xFFFFFFFF));
    emitter.runtime.pool.resize(4);
    emitter.runtime.allocatedCount = 4;
    emitter.runtime.liveCount = 3;
    const double ages[] = {0.5, 0.1, 0.9, 0.0};
    const double scales[] = {2.0, 3.0, 1.0, 9.0};
    for (int i = 0; i < 4; ++i) {
        emitter.runtime.pool[i].age = ages[i];
        emitter.runtime.pool[i].sizeScale = scales[i];
    }
    emitter.params.sortType = kSortAgeAscending;
    SortParticles(emitter);
    EXPECT_EQ(emitter.runtime.pool[2].age, 0.9);  // the oldest on top
    EXPECT_EQ(emitter.runtime.pool[3].age, 0.0);  // spares stay where they are
    emitter.params.sortType = kSortAgeDescending;
    SortParticles(emitter);
    EXPECT_EQ(emitter.runtime.pool[2].age, 0.1);
    emitter.params.sortType = kSortScaleAscending;
    SortParticles(emitter);
    EXPECT_EQ(emitter.runtime.pool[2].sizeScale, 3.0);
    emitter.params.sortType = kSortScaleDescending;
    SortParticles(emitter);
    EXPECT_EQ(emitter.runtime.pool[2].sizeScale, 1.0);
}

}  // namespace
}  // namespace orv
