#include "engine/effect.h"

#include <gtest/gtest.h>

#include "engine/simulation.h"

namespace orv {
namespace {

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

}  // namespace
}  // namespace orv
