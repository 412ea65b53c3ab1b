#include "engine/effect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/random.h"
#include "engine/settings.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

using test::SolidTexture;

TEST(EffectList, NamesFollowListPositions) {
    Effect effect;
    ASSERT_EQ(effect.Count(), 1u);
    EXPECT_EQ(effect.NameAt(0), u"emitter 01");
    EXPECT_EQ(effect.EmitterAt(0).runtime.listener, effect.Listener());
    ASSERT_NE(effect.AddEmitter(effect.ProposedEmitterName()), nullptr);
    ASSERT_NE(effect.AddEmitter(u"smoke"), nullptr);
    EXPECT_EQ(effect.ProposedEmitterName(), u"emitter 04");
    EXPECT_EQ(effect.AddEmitter(u""), nullptr);
    EXPECT_EQ(effect.Count(), 3u);
    effect.AppendEmitter(std::make_unique<Emitter>(effect.Listener()), u"");
    effect.AppendEmitter(std::make_unique<Emitter>(effect.Listener()), u"");
    EXPECT_EQ(effect.NameAt(4), u"emitter 05");
    EXPECT_EQ(Effect::DefaultEmitterName(123), u"emitter 123");
}

TEST(EffectList, RenameDeleteAndMoveKeepEmittersAndRefuseWhatTheyMust) {
    Effect effect;
    effect.AddEmitter(u"b");
    effect.AddEmitter(u"c");
    Emitter* first = &effect.EmitterAt(0);
    Emitter* last = &effect.EmitterAt(2);

    EXPECT_FALSE(effect.RenameEmitter(1, u""));
    EXPECT_FALSE(effect.RenameEmitter(1, u"b"));
    EXPECT_TRUE(effect.RenameEmitter(1, u"bee"));
    EXPECT_EQ(effect.NameAt(1), u"bee");

    EXPECT_FALSE(effect.MoveEmitterUp(0));
    EXPECT_FALSE(effect.MoveEmitterDown(2));
    EXPECT_FALSE(effect.MoveEmitterDown(7));
    EXPECT_TRUE(effect.MoveEmitterDown(0));
    EXPECT_EQ(&effect.EmitterAt(1), first);
    EXPECT_EQ(effect.NameAt(1), u"emitter 01");
    EXPECT_TRUE(effect.MoveEmitterUp(2));
    EXPECT_EQ(&effect.EmitterAt(1), last);
    EXPECT_EQ(effect.IndexOf(*first), 2u);

    EXPECT_TRUE(effect.DeleteEmitter(0));
    EXPECT_TRUE(effect.DeleteEmitter(1));
    EXPECT_FALSE(effect.DeleteEmitter(0));  // the last one stays
    EXPECT_EQ(effect.Count(), 1u);
    EXPECT_EQ(&effect.EmitterAt(0), last);

    effect.RemoveAllEmitters();
    effect.EnsureEmitter();
    ASSERT_EQ(effect.Count(), 1u);
    EXPECT_EQ(effect.NameAt(0), u"emitter 01");
    EXPECT_EQ(effect.EmitterAt(0).runtime.emissionRate, 50.0);
}

// The effect re-arming its own emitters is part of Simulation.DelayAndDurationCycleWithRearming.
TEST(EffectList, ListenerLeavesStrangersAlone) {
    Effect effect;
    Emitter stranger(effect.Listener());
    ApplyRawValues(stranger);
    SetParam(stranger, kDuration, 250);
    effect.OnEmitterEmpty(stranger);
    EXPECT_EQ(stranger.runtime.remainingDuration, 0.0);
}

class EffectRendering : public ::testing::Test {
protected:
    void SetUp() override { ResetRandomForTesting(); }

    SettingsSnapshot settings{96, 64};
    FrameBuffer frame{96, 64};
};

TEST_F(EffectRendering, FrameWithoutTexturesIsTheBackgroundColourWord) {
    Effect effect;
    effect.SetBackgroundRaw(kBgR, 1000);
    effect.SetBackgroundRaw(kBgG, 500);
    effect.SetBackgroundRaw(kBgA, 1000);
    EXPECT_EQ(effect.BackgroundColour(), 0xFFFF7F00u);  // each channel truncated
    EXPECT_EQ(effect.BackgroundRaw(kBgG), 500);
    for (std::size_t row = kBgR; row <= kBgA; ++row) effect.SetBackgroundRaw(row, row == kBgB ? 1000 : 0);
    effect.RestartAllEmitters(settings);
    EXPECT_FALSE(effect.RenderFrame(1.0 / 30, frame, settings));  // no texture: simulated, nothing drawn
    EXPECT_GT(effect.EmitterAt(0).runtime.liveCount, 0);
    EXPECT_EQ(frame.At(0, 0), 0x000000FFu);  // the background's alpha is kept
    EXPECT_EQ(frame.At(95, 63), 0x000000FFu);
}

TEST_F(EffectRendering, SameGeneratorStateGivesTheSameFrames) {
    settings.interpolateType = 1;
    Effect effect;
    effect.SetBackgroundRaw(kBgA, 500);
    Emitter& spinning = effect.EmitterAt(0);
    spinning.texture.SetImage(SolidTexture(16, 16, 0xC0FF8040));
    SetParam(spinning, kStartSize, 200);
    SetParam(spinning, kRotPerSec, 3600);
    SetParam(spinning, kYGravity, 500);
    SetSortType(spinning.params, kSortAgeAscending);
    Emitter& radial = *effect.AddEmitter(u"radial");
    radial.texture.SetImage(SolidTexture(32, 16, 0xFF20A0FF));
    radial.texture.SetSplitX(2);
    radial.params.type = kRadial;
    radial.params.blendingMode = kNormal;
    SetParam(radial, kDegPerSec, 1800);
    SetParam(radial, kMaxRadius, 300);
    SetParam(radial, kStartSize, 100);
    SetParam(radial, kDuration, 50);
    std::vector<std::vector<std::uint32_t>> runs[2];
    for (auto& frames : runs) {
        ResetRandomForTesting();
        effect.RestartAllEmitters(settings);
        for (int i = 0; i < 45; ++i) {
            effect.RenderFrame(1.0 / 30, frame, settings);
            auto& pixels = frames.emplace_back();
            for (std::uint32_t y = 0; y < 64; ++y)
                pixels.insert(pixels.end(), frame.Row(y), frame.Row(y) + 96);
        }
    }
    EXPECT_TRUE(runs[0] == runs[1]);
    EXPECT_NE(runs[0][10], runs[0][11]);
    EXPECT_EQ(effect.EmitterAt(1).runtime.interpolation, 1u);
}

TEST_F(EffectRendering, LaterEmitterIsDrawnOnTop) {
    Effect effect;
    Emitter& red = effect.EmitterAt(0);
    Emitter& blue = *effect.AddEmitter(u"blue");
    for (Emitter* emitter : {&red, &blue}) {
        emitter->params.blendingMode = kNormal;
        emitter->params.enableColor = false;
        SetParam(*emitter, kSpeed, 0);
        SetParam(*emitter, kSpeedVariance, 0);
        SetParam(*emitter, kLifespanVariance, 0);
        SetParam(*emitter, kStartColorA, 1000);
    }
    red.texture.SetImage(SolidTexture(8, 8, 0xFFFF0000));
    blue.texture.SetImage(SolidTexture(8, 8, 0xFF0000FF));
    effect.RestartAllEmitters(settings);
    ASSERT_TRUE(effect.RenderFrame(1.0 / 30, frame, settings));
    const std::uint32_t blueOnTop = frame.At(48, 32);
    EXPECT_GT(blueOnTop & 0xFF, (blueOnTop >> 16) & 0xFF);

    ASSERT_TRUE(effect.MoveEmitterUp(1));
    effect.RestartAllEmitters(settings);
    ASSERT_TRUE(effect.RenderFrame(1.0 / 30, frame, settings));
    const std::uint32_t redOnTop = frame.At(48, 32);
    EXPECT_GT((redOnTop >> 16) & 0xFF, redOnTop & 0xFF);
}

}  // namespace
}  // namespace orv
