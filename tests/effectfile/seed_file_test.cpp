#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "effectfile/effect_loading.h"
#include "effectfile/effect_reader.h"
#include "effectfile/json_parser.h"
#include "tests/effectfile/test_support.h"

namespace orv {
namespace {

using test::EffectText;

TEST(SeedInFile, OnlyNonNegativeWholeNumbersOf64BitsAreRead) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {R"({"seed": 42})", 42},
        {R"({"seed": "42"})", 42},  // a quoted number reads like the bare one
        {R"({"seed": 0})", 0},
        {R"({"seed": 18446744073709551615})", UINT64_MAX},
        {R"({"seed": 18446744073709551616})", std::nullopt},
        {R"({"seed": -1})", std::nullopt},
        {R"({"seed": 1.5})", std::nullopt},
        {R"({"seed": 1e3})", std::nullopt},
        {R"({"seed": "+3"})", std::nullopt},
        {R"({"seed": " 3"})", std::nullopt},
        {R"({"seed": ""})", std::nullopt},
        {R"({"seed": true})", std::nullopt},
        {R"({"seed": null})", std::nullopt},
        {R"({"seed": [1]})", std::nullopt},
        {R"({})", std::nullopt},
    };
    for (const auto& [text, seed] : cases) EXPECT_EQ(ReadSeed(ParseJson(text)), seed) << text;
}

TEST(SeedInFile, WrittenOnlyWhenSetAfterTheBackgroundAndReadBack) {
    Effect effect;
    effect.SetBackgroundRaw(kBgA, 1000);
    const std::string unseeded = EffectText(effect);
    EXPECT_EQ(unseeded.find("seed"), std::string::npos);

    for (const std::uint64_t seed : {std::uint64_t{0}, std::uint64_t{12345}, UINT64_MAX}) {
        effect.SetSeed(seed);
        const std::string text = EffectText(effect);
        EXPECT_EQ(text.rfind("{\n\t\"bg_a\": 1.000,\n\t\"seed\": " + std::to_string(seed) + ",\n\t\"emitter\": [\n", 0),
                  0u)
            << text;
        Effect readBack;
        ASSERT_TRUE(test::LoadText(text, readBack));
        EXPECT_EQ(readBack.Seed(), seed);
        EXPECT_EQ(EffectText(readBack), text);
    }
    effect.SetSeed(std::nullopt);
    EXPECT_EQ(EffectText(effect), unseeded);
}

TEST(SeedInFile, OpenTakesTheFilesSeedMergeKeepsOneTheFileLacks) {
    test::TempFolder folder;
    test::WriteFileBytes(folder.Path() / "seeded.orv", R"({"seed": 9, "emitter": [{}]})");
    test::WriteFileBytes(folder.Path() / "plain.orv", R"({"emitter": [{}]})");
    Effect effect;
    ASSERT_TRUE(LoadEffect(effect, folder.Wide("seeded.orv"), false).loaded);
    EXPECT_EQ(effect.Seed(), 9u);
    ASSERT_TRUE(LoadEffect(effect, folder.Wide("plain.orv"), true).loaded);
    EXPECT_EQ(effect.Seed(), 9u);
    ASSERT_TRUE(LoadEffect(effect, folder.Wide("plain.orv"), false).loaded);
    EXPECT_EQ(effect.Seed(), std::nullopt);
    ASSERT_TRUE(LoadEffect(effect, folder.Wide("seeded.orv"), true).loaded);
    EXPECT_EQ(effect.Seed(), 9u);
    // A file that fails to load leaves the seed too.
    EXPECT_FALSE(LoadEffect(effect, folder.Wide("absent.orv"), false).loaded);
    EXPECT_EQ(effect.Seed(), 9u);
}

}  // namespace
}  // namespace orv
