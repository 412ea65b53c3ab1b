#include "engine/param_table.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "engine/emitter.h"
#include "engine/fixed_decimal_text.h"
#include "engine/simulation.h"

namespace orv {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A raw value, its decimals, its text.
using FixedText = std::tuple<std::int32_t, int, const char*>;

TEST(FixedPoint, FormatsWithTheSignAlsoBelowOne) {
    const FixedText cases[] = {{-5, 1, "-0.5"},           {-15, 1, "-1.5"},        {5, 1, "0.5"},
                               {-7, 3, "-0.007"},         {0, 2, "0.00"},          {1234, 4, "1234"},
                               {kMin, 3, "-2147483.648"}, {kMin, 0, "-2147483648"}};
    for (const auto& [raw, decimals, text] : cases)
        EXPECT_EQ(FormatFixed(raw, decimals), text) << raw << " " << decimals;
}

// Digit by digit, cut and not rounded; saturated instead of wrapped ("4294967296" would wrap to
// 0, "3000000" with 3 decimals overflows only by the missing fraction digits).
TEST(FixedPoint, ParsesDigitByDigitAndSaturates) {
    // clang-format off
    const FixedText cases[] = {{25, 1, "2.5"}, {20, 1, "2"}, {25, 1, "2.59"}, {-5, 1, "-0.5"}, {10, 1, "1e3"},
                               {0, 1, "abc"}, {0, 1, ""}, {0, 1, "+1"}, {0, 1, "-"}, {300, 3, "0.3"},
                               {4, 0, "4.9"}, {20, 1, "2."}, {200, 2, "2.x"}, {5, 1, ".5"}, {-5, 1, "-.5"},
                               {kMax, 0, "2147483647"}, {kMax, 0, "2147483648"}, {kMin, 0, "-2147483648"},
                               {kMin, 0, "-2147483649"}, {kMax, 0, "4294967296"}, {kMax, 3, "3000000"},
                               {kMin, 3, "-2147483.648"}, {kMax, 3, "99999999999999999999999999"}};
    // clang-format on
    for (const auto& [raw, decimals, text] : cases)
        EXPECT_EQ(ParseFixed(text, decimals), raw) << text << " " << decimals;
}

// Between -1 and 0 the label writes "-0" into the whole number's field, keeping its width.
TEST(ParamLabel, KeepsTheSignOfSmallNegativeValues) {
    EXPECT_EQ(FormatParamLabel(kXGravity, -5), "横方向重力 :   -0.5");
    EXPECT_EQ(FormatParamLabel(kDelay, -5), "ディレイ :  -0.05秒");
}

TEST(SetParam, LimitsCapacityAndLifespanAndLeavesBackgroundRowsToTheEffect) {
    Emitter emitter;
    ApplyRawValues(emitter);
    const EmitterParams before = emitter.params;
    for (std::size_t row = kBgR; row < kParamCount; ++row) SetParam(emitter, row, 777);
    EXPECT_EQ(emitter.params.raw, before.raw);
    EXPECT_EQ(ParamValue(emitter, kBgA), 0.0);

    // The count and the capacity taken, then the lifespan and the emission rate.
    SetParam(emitter, kMaxParticles, 9000);
    EXPECT_EQ(std::pair(emitter.values.maxParticles, emitter.runtime.capacity), std::pair(8192, 8192));
    SetParam(emitter, kMaxParticles, -7);
    EXPECT_EQ(emitter.values.maxParticles, 0);
    SetParam(emitter, kMaxParticles, 100);
    SetParam(emitter, kLifespan, 0);
    EXPECT_EQ(std::pair(emitter.values.lifespan, emitter.runtime.emissionRate), std::pair(0.01, 100 * 100.0));
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
