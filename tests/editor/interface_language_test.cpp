#include "editor/interface_language.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

namespace orv {
namespace {

using enum LanguageChoice;

// Locales between these take the same branches ("ja_JP" as "ja_JP.UTF-8", "de_DE" as "en_US.UTF-8").
// "jam_JM" is Jamaican, not Japanese.
TEST(InterfaceLanguage, ChoiceOverridesLocaleAndAutomaticFollowsIt) {
    constexpr auto kJa = InterfaceLanguage::kJapanese, kEn = InterfaceLanguage::kEnglish;
    using Case = std::tuple<LanguageChoice, std::string_view, InterfaceLanguage>;
    const Case cases[] = {
        {kAutomatic, "ja_JP.UTF-8", kJa}, {kAutomatic, "ja", kJa},   {kAutomatic, "ja-JP", kJa},
        {kAutomatic, "en_US.UTF-8", kEn}, {kAutomatic, "C", kEn},    {kAutomatic, "", kEn},
        {kAutomatic, "jam_JM", kEn},      {kJapanese, "en_US", kJa}, {kEnglish, "ja_JP", kEn}};
    for (const auto& [choice, locale, expected] : cases) {
        EXPECT_EQ(ResolveInterfaceLanguage(choice, locale), expected)
            << static_cast<int>(choice) << " " << locale;
    }
}

TEST(InterfaceLanguage, StoredNamesRoundTripAndUnknownIsAutomatic) {
    for (const LanguageChoice choice : {kAutomatic, kJapanese, kEnglish})
        EXPECT_EQ(LanguageChoiceFromStored(StoredLanguageName(choice)), choice);
    EXPECT_EQ(StoredLanguageName(kEnglish), "en");
    for (const std::string_view unknown : {"", "fr", "EN", "english", "ja_JP"})
        EXPECT_EQ(LanguageChoiceFromStored(unknown), kAutomatic) << unknown;
}

}  // namespace
}  // namespace orv
