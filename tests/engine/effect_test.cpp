#include "engine/effect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <tuple>
#include <vector>

#include "engine/random.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

TEST(EffectList, NamesFollowPositionsAnEmptiedListGetsOneEmitterStrangersAreLeftAlone) {
    Effect effect;
    EXPECT_EQ(std::tuple(effect.Count(), effect.NameAt(0), effect.EmitterAt(0).runtime.listener),
              std::tuple(1u, std::u16string(u"emitter 01"), effect.Listener()));
    ASSERT_NE(effect.AddEmitter(effect.ProposedEmitterName()), nullptr);
    ASSERT_NE(effect.AddEmitter(u"smoke"), nullptr);
    EXPECT_EQ(effect.ProposedEmitterName(), u"emitter 04");
    EXPECT_EQ(effect.AddEmitter(u""), nullptr);
    EXPECT_EQ(effect.Count(), 3u);
    effect.AppendEmitter(std::make_unique<Emitter>(effect.Listener()), u"");
    effect.AppendEmitter(std::make_unique<Emitter>(effect.Listener()), u"");
    EXPECT_EQ(effect.NameAt(4), u"emitter 05");
    EXPECT_EQ(Effect::DefaultEmitterName(123), u"emitter 123");

    // Refused renames, moves at the ends and deleting the last emitter, and names and emitters
    // kept in their places through moves and deletions, are
    // EditorDocumentTest.EmitterListEditsUndoToTheSameEmittersInTheirPlaces and
    // RefusedListEditsRecordNothing.
    EXPECT_FALSE(effect.MoveEmitterDown(7));

    effect.RemoveAllEmitters();
    effect.EnsureEmitter();
    EXPECT_EQ(std::tuple(effect.Count(), effect.NameAt(0), effect.EmitterAt(0).runtime.emissionRate),
              std::tuple(1u, std::u16string(u"emitter 01"), 50.0));

    // The listener re-arms only the effect's own emitters (which is part of
    // Simulation.DelayAndDurationCycleWithRearming).
    Emitter stranger(effect.Listener());
    ApplyRawValues(stranger);
    SetParam(stranger, kDuration, 250);
    effect.OnEmitterEmpty(stranger);
    EXPECT_EQ(stranger.runtime.remainingDuration, 0.0);
}

std::vector<std::uint32_t> Draws(int count) {
    std::vector<std::uint32_t> draws;
    for (int i = 0; i < count; ++i) draws.push_back(NextRandom());
    return draws;
}

// The program starts on Marsaglia's xorshift sequence. Seed 0 replaying the program's start, and
// the reset to it, are part of SeededEffect.ARestartWithASeedForgetsEarlierDrawsAndWithoutOneDoesNot.
TEST(Seed, EverySeedReplaysAndNoneIsStuckOrAlikeAnother) {
    ResetRandomForTesting();
    const std::vector<std::uint32_t> start = Draws(8);
    EXPECT_EQ(std::vector(start.begin(), start.begin() + 2), (std::vector<std::uint32_t>{3701687786u, 458299110u}));
    std::set<std::vector<std::uint32_t>> sequences{start};
    for (const std::uint64_t seed : {std::uint64_t{1}, std::uint64_t{2}, std::uint64_t{0x100000000},
                                     std::numeric_limits<std::uint64_t>::max()}) {
        SeedRandom(seed);
        const std::vector<std::uint32_t> draws = Draws(8);
        SeedRandom(seed);
        EXPECT_EQ(Draws(8), draws) << seed;
        EXPECT_NE(draws, std::vector<std::uint32_t>(8, 0)) << seed;
        EXPECT_TRUE(sequences.insert(draws).second) << seed;
    }
}

// Particle state that decides a frame, in pool order.
std::vector<double> PoolState(const Emitter& emitter) {
    std::vector<double> state;
    for (std::int32_t i = 0; i < emitter.runtime.liveCount; ++i) {
        const Particle& particle = emitter.runtime.pool[i];
        state.insert(state.end(), {particle.x, particle.y, particle.age, particle.sizeScale,
                                   particle.rotation, static_cast<double>(particle.alpha)});
    }
    return state;
}

class SeededEffect : public ::testing::Test {
protected:
    void SetUp() override { effect.EmitterAt(0).texture.SetImage(test::SolidTexture(8, 8, 0xFFFFFFFF)); }
    // Restarts and renders `steps` frames; the first emitter's particles afterwards.
    std::vector<double> Render(int steps) {
        effect.RestartAllEmitters(settings);
        for (int i = 0; i < steps; ++i) effect.RenderFrame(1.0 / 60, frame, settings);
        return PoolState(effect.EmitterAt(0));
    }

    Effect effect;
    SettingsSnapshot settings{64, 48};
    FrameBuffer frame{64, 48};
};

TEST_F(SeededEffect, ARestartWithASeedForgetsEarlierDrawsAndWithoutOneDoesNot) {
    ResetRandomForTesting();
    const std::vector<double> fresh = Render(30);
    ASSERT_FALSE(fresh.empty());
    EXPECT_NE(Render(30), fresh);  // the generator carried on

    effect.SetSeed(0);
    EXPECT_EQ(Render(30), fresh);  // seed 0: as from program start
    Draws(3);
    EXPECT_EQ(Render(30), fresh);

    effect.SetSeed(7);
    const std::vector<double> seven = Render(30);
    EXPECT_NE(seven, fresh);
    Draws(3);
    EXPECT_EQ(Render(30), seven);
}

// Simulating without drawing must leave the particles, their order and the generator as a drawn
// frame does, on every sort rule: later frames then come out the same.
TEST_F(SeededEffect, SimulatedStepsLeaveTheEffectAsDrawnFramesDo) {
    effect.SetSeed(3);
    for (const std::uint32_t sort :
         {kSortNone, kSortAgeAscending, kSortAgeDescending, kSortScaleAscending, kSortScaleDescending}) {
        effect.EmitterAt(0).params.sortType = sort;
        const std::vector<double> drawn = Render(90);
        const std::uint32_t drawnNext = NextRandom();

        effect.RestartAllEmitters(settings);
        for (int i = 0; i < 90; ++i) effect.SimulateFrame(1.0 / 60, settings);
        EXPECT_EQ(PoolState(effect.EmitterAt(0)), drawn) << sort;
        EXPECT_EQ(NextRandom(), drawnNext) << sort;
    }
}

}  // namespace
}  // namespace orv
