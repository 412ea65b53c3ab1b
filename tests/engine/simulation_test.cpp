#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "engine/effect.h"
#include "engine/random.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using test::ApplyDefaults;
using test::SolidTexture;

constexpr double kStep60 = 1.0 / 60.0;

class Simulation : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRandomForTesting();
        emitter.texture.SetImage(SolidTexture(32, 32, 0xFFFFFFFF));
        ApplyDefaults(emitter);
    }

    // Steps with the origin at the centre of an 800 x 600 frame, no target.
    bool Step(double dt) {
        SetEmitterOrigin(emitter, 800, 600);
        return StepEmitter(emitter, dt, nullptr, true, {});
    }

    Emitter emitter;
};

TEST_F(Simulation, DelayAndDurationCycleWithRearming) {
    Effect effect;
    Emitter& e = effect.EmitterAt(0);
    SetParam(e, kDuration, 100);  // 1.00 s
    SetParam(e, kDelay, 50);      // 0.50 s
    effect.RestartAllEmitters({});
    auto step = [&] {
        SetEmitterOrigin(e, 16, 16);
        return StepEmitter(e, 0.375, nullptr, true, {});
    };
    const EmitterRuntime& r = e.runtime;
    EXPECT_TRUE(step());  // countdown 0.125 left
    EXPECT_EQ(r.liveCount, 0);
    // The step that ends the delay runs with what the delay still held: 0.125 s, 7 births.
    EXPECT_FALSE(step());
    EXPECT_EQ(std::pair(r.liveCount, r.remainingDuration), std::pair(7, 0.875));
    for (int i = 0; i < 3; ++i) step();
    EXPECT_EQ(r.remainingDuration, 0.0);
    const std::int32_t bornInCycle = r.liveCount;
    EXPECT_GT(bornInCycle, 40);
    // Draining: nothing is born any more; when the last particle dies the effect re-arms it.
    for (int steps = 0; r.liveCount > 0 && steps < 100; ++steps) {
        EXPECT_FALSE(step());
        EXPECT_LE(r.liveCount, bornInCycle);
    }
    EXPECT_EQ(std::tuple(r.liveCount, r.remainingDuration, r.delayCountdown), std::tuple(0, 1.0, 0.5));
    EXPECT_TRUE(step());
}

TEST_F(Simulation, EndlessEmitterIgnoresTheDelay) {
    SetParam(emitter, kDelay, 50);
    RearmEmitter(emitter, 0);
    EXPECT_FALSE(Step(kStep60));
    EXPECT_EQ(emitter.runtime.liveCount, 1);
}

TEST_F(Simulation, StepLongerThanTheRemainingLifeStopsAtTheEnd) {
    SetParam(emitter, kLifespanVariance, 0);
    SetParam(emitter, kSpeedVariance, 0);
    Step(kStep60);
    const Particle& particle = emitter.runtime.pool[0];
    emitter.runtime.remainingDuration = 0;  // drain only
    Step(5.0);
    ASSERT_EQ(emitter.runtime.liveCount, 1);
    // Aged and moved (100 px/s upwards) up to the end of its life, not beyond.
    EXPECT_DOUBLE_EQ(particle.age, 2.0);
    EXPECT_NEAR(particle.y, 300.0 - 100.0 * 2.0, 1e-9);
    // Drawn at its final position, removed at a following step.
    for (int i = 0; i < 3 && emitter.runtime.liveCount > 0; ++i) Step(kStep60);
    EXPECT_EQ(emitter.runtime.liveCount, 0);
}

TEST_F(Simulation, RadialParticleInsideMinimumRadiusLivesOneStep) {
    emitter.params.type = kRadial;
    SetParam(emitter, kMinRadius, 2000);  // 200 px, above max_radius 100 px
    Step(kStep60);
    ASSERT_EQ(emitter.runtime.liveCount, 1);
    EXPECT_EQ(emitter.runtime.pool[0].age, emitter.runtime.pool[0].lifespan);
    emitter.runtime.remainingDuration = 0;  // no new birth replaces it
    Step(kStep60);
    EXPECT_EQ(emitter.runtime.liveCount, 0);
}

TEST_F(Simulation, DirectionFollowingParticleThatStandsStillHasNoRotation) {
    emitter.params.textureDirectionBefore = true;
    SetParam(emitter, kSpeed, 0);
    SetParam(emitter, kSpeedVariance, 0);
    SetParam(emitter, kStartRot, 900);
    Step(kStep60);
    EXPECT_EQ(emitter.runtime.pool[0].rotation, 0.0);
}

TEST_F(Simulation, CapacityChangesGateEmissionAndGrowThePoolByDoubling) {
    for (int i = 0; i < 120; ++i) Step(kStep60);
    ASSERT_GT(emitter.runtime.liveCount, 20);
    SetParam(emitter, kMaxParticles, 10);
    for (int i = 0; i < 10; ++i) {
        const std::int32_t before = emitter.runtime.liveCount;
        Step(kStep60);
        EXPECT_LE(emitter.runtime.liveCount, std::max(before, 10));
    }
    // (An emitter stepped on an empty pool still emitting is SteadyEmission.AllocatesNothing's.)
    SetParam(emitter, kMaxParticles, 100);
    ClearEmitter(emitter);
    ApplyRawValues(emitter);
    RearmEmitter(emitter, 0);
    for (int i = 0; i < 7; ++i) Step(kStep60);
    EXPECT_EQ(emitter.runtime.allocatedCount, 8);  // 1, 2, 4, 8 as particles are born
}

// A birth whose drawn lifespan is not positive is given up after its one draw: the next birth
// draws on from there.
TEST_F(Simulation, DiscardedBirthConsumesOneDraw) {
    SetParam(emitter, kLifespan, 1);             // 0.1 s
    SetParam(emitter, kLifespanVariance, 1000);  // +-100 s: most draws are negative
    Xorshift128 replay;
    Particle particle;
    int draws = 0;
    for (int i = 0; i < 20; ++i) draws += InitParticle(emitter, particle) ? 19 : 1;
    for (int i = 0; i < draws; ++i) replay.Next();
    EXPECT_EQ(NextRandom(), replay.Next());
}

// Frame index of a 4-frame animation over a 2 s life, as {age, frame} pairs per duration list.
TEST(AnimatedFrames, FollowListedDurationsThenShareTheRestOfTheLife) {
    const std::vector<std::pair<std::vector<std::uint32_t>, std::vector<std::pair<double, std::uint32_t>>>>
        cases = {// Listed durations loop.
                 {{100, 100, 100, 100}, {{0.0, 0}, {0.1, 0}, {0.101, 1}, {0.2, 1}, {0.35, 3}, {0.4, 0}}},
                 // Frames without a duration share the rest of the life.
                 {{200}, {{0.1, 0}, {0.25, 1}, {0.79, 1}, {0.81, 2}, {1.41, 3}, {2.0, 3}}},
                 // No durations spread the frames over the life.
                 {{}, {{0.0, 0}, {0.49, 0}, {0.51, 1}, {2.0, 3}}},
                 // A longer list never leaves the grid: at 0.075 s the list names frame 7.
                 {{10, 10, 10, 10, 10, 10, 10, 10}, {{0.035, 3}, {0.075, 3}}}};
    Emitter emitter;
    emitter.texture.SetImage(SolidTexture(64, 16, 0xFFFFFFFF));
    emitter.texture.SetSplitX(4);
    emitter.texture.SetAnimation(true);
    ApplyDefaults(emitter);
    for (const auto& [durations, expected] : cases) {
        emitter.texture.SetFrameDurations(durations);
        for (const auto& [age, frame] : expected) {
            Particle particle;
            particle.lifespan = 2.0;
            particle.age = age;
            UpdateParticle(emitter, particle, 0);
            EXPECT_EQ(particle.frameIndex, frame) << durations.size() << " durations, age " << age;
        }
    }
}

}  // namespace
}  // namespace orv
