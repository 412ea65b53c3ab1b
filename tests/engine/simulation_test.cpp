#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
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

double Signed(Xorshift128& generator) {
    return 2.0 * (generator.Next() / 4294967295.0) - 1.0;
}

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

TEST(Generator, ProducesMarsagliasSequenceAndResets) {
    for (int run = 0; run < 2; ++run) {
        ResetRandomForTesting();
        EXPECT_EQ(NextRandom(), 3701687786u);
        EXPECT_EQ(NextRandom(), 458299110u);
    }
}

TEST_F(Simulation, FirstStepAfterRestartBornOneParticleFromDrawsInOrder) {
    Step(kStep60);
    ASSERT_EQ(emitter.runtime.liveCount, 1);
    EXPECT_EQ(emitter.runtime.emissionAccumulator, (0 + kStep60) - 1.0 / 50.0);

    // Replay the draws: lifespan, x, y, angle, speed, radius, orbit, angular velocity, radial
    // and tangential acceleration, two sizes, two amplitudes, two cycles, rotation, spin, frame.
    // Colour channels without variance draw nothing.
    Xorshift128 replay;
    double u[19];
    for (double& value : u) value = Signed(replay);
    const Particle& particle = emitter.runtime.pool[0];
    const double lifespan = 2.0 + u[0] * 2.0;
    EXPECT_EQ(particle.lifespan, lifespan);
    EXPECT_EQ(particle.age, kStep60);
    EXPECT_EQ(particle.birthX, 400.0 + u[1] * 0.0);
    const double angle = 270.0 * 3.141592653589793 / 180.0 + u[3] * 0.0;
    const double speed = 100.0 + u[4] * 30.0;
    EXPECT_EQ(particle.velocityY, std::sin(angle) * speed);
    EXPECT_EQ(particle.y, 300.0 + kStep60 * (std::sin(angle) * speed));
    const double startSize = 70.0 + u[10] * 10.0;
    const double finishSize = 10.0 + u[11] * 5.0;
    EXPECT_EQ(particle.sizeScale,
              startSize / 32.0 + kStep60 * (((finishSize - startSize) / lifespan) / 32.0));
    const float alphaRate = static_cast<float>((0.0f - 0.6f) / lifespan);
    EXPECT_EQ(particle.alpha, 0.6f + static_cast<float>(kStep60) * alphaRate);
    EXPECT_EQ(particle.alphaCopy, static_cast<double>(particle.alpha));
    EXPECT_EQ(particle.packedColour, 0xFFFF4C00u);  // 1.0, 0.3, 0.0 -> 255, 76, 0
    EXPECT_EQ(particle.rotation, 0.0);
    // Exactly 19 draws were consumed: the next one is the replay's 20th.
    EXPECT_EQ(NextRandom(), replay.Next());
}

TEST_F(Simulation, ColourVariancesDrawInChannelOrderInSinglePrecision) {
    SetParam(emitter, kStartColorRVar, 100);
    SetParam(emitter, kStartColorAVar, 200);
    SetParam(emitter, kFinishColorBVar, 300);
    Particle particle;
    ASSERT_TRUE(InitParticle(emitter, particle));
    Xorshift128 replay;
    double u[22];
    for (double& value : u) value = Signed(replay);
    // After the 16 motion and size draws: start red, start alpha, finish blue.
    EXPECT_EQ(particle.red, 1.0f + static_cast<float>(u[16]) * 0.1f);
    EXPECT_EQ(particle.alpha, 0.6f + static_cast<float>(u[17]) * 0.2f);
    EXPECT_EQ(particle.blueRate,
              static_cast<float>((0.0f + static_cast<float>(u[18]) * 0.3f - 0.0f) / particle.lifespan));
    EXPECT_EQ(particle.redRate, static_cast<float>((1.0f - particle.red) / particle.lifespan));
    EXPECT_EQ(NextRandom(), replay.Next());
}

TEST_F(Simulation, AccumulatorCarriesTheRemainderIntoLaterSteps) {
    double accumulator = 0;
    int births = 0;
    for (int i = 0; i < 60; ++i) {
        Step(kStep60);
        accumulator += kStep60;
        while (accumulator > 0) {
            ++births;
            accumulator -= 1.0 / 50.0;
        }
        EXPECT_EQ(emitter.runtime.emissionAccumulator, accumulator);
    }
    EXPECT_EQ(births, 50);
    // Every birth of this emitter takes 19 draws, so the generator has moved by 50 x 19.
    Xorshift128 replay;
    for (int i = 0; i < births * 19; ++i) replay.Next();
    EXPECT_EQ(NextRandom(), replay.Next());
}

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
    EXPECT_TRUE(step());  // countdown 0.125 left
    EXPECT_EQ(e.runtime.liveCount, 0);
    // The step that ends the delay runs with what the delay still held: 0.125 s, 7 births.
    EXPECT_FALSE(step());
    EXPECT_EQ(e.runtime.liveCount, 7);
    EXPECT_EQ(e.runtime.remainingDuration, 0.875);
    for (int i = 0; i < 3; ++i) step();
    EXPECT_EQ(e.runtime.remainingDuration, 0.0);
    const std::int32_t bornInCycle = e.runtime.liveCount;
    EXPECT_GT(bornInCycle, 40);
    // Draining: nothing is born any more; when the last particle dies the effect re-arms it.
    int steps = 0;
    while (e.runtime.liveCount > 0 && steps < 100) {
        EXPECT_FALSE(step());
        EXPECT_LE(e.runtime.liveCount, bornInCycle);
        ++steps;
    }
    EXPECT_EQ(e.runtime.liveCount, 0);
    EXPECT_EQ(e.runtime.remainingDuration, 1.0);
    EXPECT_EQ(e.runtime.delayCountdown, 0.5);
    EXPECT_TRUE(step());
}

TEST_F(Simulation, EndlessEmitterIgnoresTheDelayAndOneWithoutRateStaysIdle) {
    SetParam(emitter, kDelay, 50);
    RearmEmitter(emitter, 0);
    EXPECT_FALSE(Step(kStep60));
    EXPECT_EQ(emitter.runtime.liveCount, 1);

    Emitter idle;
    ApplyRawValues(idle);
    SetParam(idle, kMaxParticles, 0);
    RestartEmitter(idle);
    RearmEmitter(idle, 0);
    EXPECT_EQ(idle.runtime.remainingDuration, 0.0);
    StepEmitter(idle, 1.0, nullptr, true, {});
    EXPECT_EQ(idle.runtime.liveCount, 0);
}

TEST_F(Simulation, OscillationsSwingAcrossAndAlongTheEmissionDirection) {
    Particle particle;
    particle.lifespan = 10.0;
    particle.x = particle.birthX = 100.0;
    particle.y = particle.birthY = 200.0;
    particle.emissionCos = 0.6;
    particle.emissionSin = 0.8;
    particle.horizontalAmplitude = 10.0;
    particle.horizontalFrequency = 2.0;
    particle.verticalAmplitude = 5.0;
    particle.verticalFrequency = 3.0;
    double x = 100.0, y = 200.0, previousAcross = 0.0, previousAlong = 0.0;
    for (int step = 0; step < 3; ++step) {
        UpdateParticle(emitter, particle, 0.25);
        // No velocity and no gravity: only the two swings move the particle, each by the change
        // of its offset since the previous step.
        const double across = std::sin(2.0 * particle.age) * 10.0;
        const double along = std::sin(3.0 * particle.age) * 5.0;
        x = (x + (across - previousAcross) * 0.8) + (along - previousAlong) * 0.6;
        y = (y - (across - previousAcross) * 0.6) + (along - previousAlong) * 0.8;
        previousAcross = across;
        previousAlong = along;
        EXPECT_EQ(particle.x, x);
        EXPECT_EQ(particle.y, y);
    }
}

TEST_F(Simulation, StepLongerThanTheRemainingLifeStopsAtTheEnd) {
    SetParam(emitter, kLifespanVariance, 0);
    SetParam(emitter, kSpeedVariance, 0);
    Step(kStep60);
    const Particle& particle = emitter.runtime.pool[0];
    emitter.runtime.remainingDuration = 0;  // drain only
    Step(5.0);
    ASSERT_EQ(emitter.runtime.liveCount, 1);
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
    const std::int32_t live = emitter.runtime.liveCount;
    ASSERT_GT(live, 20);
    SetParam(emitter, kMaxParticles, 10);
    for (int i = 0; i < 10; ++i) {
        const std::int32_t before = emitter.runtime.liveCount;
        Step(kStep60);
        EXPECT_LE(emitter.runtime.liveCount, std::max(before, 10));
    }

    Emitter growing;
    growing.texture.SetImage(SolidTexture(8, 8, 0xFFFFFFFF));
    ApplyDefaults(growing);
    ClearEmitter(growing);  // empty pool; an emitter stepped now still emits
    ApplyRawValues(growing);
    RearmEmitter(growing, 0);
    SetEmitterOrigin(growing, 100, 100);
    StepEmitter(growing, kStep60, nullptr, true, {});
    EXPECT_EQ(growing.runtime.liveCount, 1);
    EXPECT_EQ(growing.runtime.allocatedCount, 1);
    for (int i = 0; i < 6; ++i) StepEmitter(growing, kStep60, nullptr, true, {});
    EXPECT_EQ(growing.runtime.allocatedCount, 8);  // 1, 2, 4, 8 as particles are born
}

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
                 {{100, 100, 100, 100},
                  {{0.0, 0}, {0.1, 0}, {0.101, 1}, {0.2, 1}, {0.35, 3}, {0.4, 0}, {0.55, 1}}},
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

TEST_F(Simulation, RandomFramesCoverTheWholeGrid) {
    emitter.texture.SetSplitX(4);
    emitter.texture.SetSplitY(2);
    bool seen[8] = {};
    Particle particle;
    for (int i = 0; i < 400; ++i) {
        if (!InitParticle(emitter, particle)) continue;
        ASSERT_LT(particle.frameIndex, 8u);
        seen[particle.frameIndex] = true;
    }
    for (bool frame : seen) EXPECT_TRUE(frame);
}

}  // namespace
}  // namespace orv
