#include "engine/param_table.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/emitter.h"
#include "engine/simulation.h"
#include "tests/engine/engine_test_support.h"

namespace orv {
namespace {

TEST(ParamLabel, KeepsTheSignOfSmallNegativeValues) {
    EXPECT_EQ(FormatParamLabel(kXGravity, -5), "横方向重力 :   -0.5");
    EXPECT_EQ(FormatParamLabel(kDelay, -5), "ディレイ :  -0.05秒");
    EXPECT_EQ(FormatParamLabel(kLifespan, 20), "生存期間 :  2.0秒");
    EXPECT_EQ(FormatParamLabel(kStartColorG, 300), "G : 0.300");
    EXPECT_EQ(FormatParamLabel(kMaxParticles, 100), "最大個数 :   100個");
    EXPECT_EQ(FormatParamLabel(kOffsetY, -3), "オフセットY :    -3ピクセル");
    EXPECT_EQ(FormatParamLabel(kRotPerSec, -10800), "回転速度 : -1080.0度");
}

TEST(SetParam, LimitsCapacityAndLifespanAndLeavesBackgroundRowsToTheEffect) {
    Emitter emitter;
    ApplyRawValues(emitter);
    const EmitterParams before = emitter.params;
    for (std::size_t row = kBgR; row < kParamCount; ++row) SetParam(emitter, row, 777);
    EXPECT_EQ(emitter.params.raw, before.raw);
    EXPECT_EQ(ParamValue(emitter, kBgA), 0.0);

    SetParam(emitter, kMaxParticles, 9000);
    EXPECT_EQ(emitter.values.maxParticles, 8192);
    EXPECT_EQ(emitter.runtime.capacity, 8192);
    SetParam(emitter, kMaxParticles, -7);
    EXPECT_EQ(emitter.values.maxParticles, 0);

    SetParam(emitter, kMaxParticles, 100);
    SetParam(emitter, kLifespan, 0);
    EXPECT_EQ(emitter.values.lifespan, 0.01);
    EXPECT_EQ(emitter.runtime.emissionRate, 100 * 100.0);
}

// The frame sizes of a split are pinned by SpriteGeometry.SourceRectanglesOfSplitTextures.
TEST(TextureSettings, LimitsSplitsAndNamesAndKeepsTheLastAnimationTime) {
    TextureSettings texture;
    texture.SetSplitY(0);  // taken as 1
    EXPECT_EQ(texture.SplitY(), 1u);
    texture.SetFrameDurations({100, 50, 25});
    EXPECT_EQ(texture.TotalAnimationTime(), 175u);
    texture.SetFrameDurations({});
    EXPECT_EQ(texture.TotalAnimationTime(), 175u);
    texture.SetFileName(std::u16string(3000, u'a'));
    EXPECT_EQ(texture.FileName().size(), TextureSettings::kMaxFileNameLength);
}

}  // namespace
}  // namespace orv
