#include "editor/interface_language.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

namespace orv {
namespace {

TEST(InterfaceLanguage, ChoiceOverridesLocaleAndAutomaticFollowsIt) {
    const std::tuple<LanguageChoice, std::string_view, InterfaceLanguage> cases[] = {
        {LanguageChoice::kAutomatic, "ja_JP.UTF-8", InterfaceLanguage::kJapanese},
        {LanguageChoice::kAutomatic, "ja_JP", InterfaceLanguage::kJapanese},
        {LanguageChoice::kAutomatic, "ja", InterfaceLanguage::kJapanese},
        {LanguageChoice::kAutomatic, "ja-JP", InterfaceLanguage::kJapanese},
        {LanguageChoice::kAutomatic, "en_US.UTF-8", InterfaceLanguage::kEnglish},
        {LanguageChoice::kAutomatic, "de_DE", InterfaceLanguage::kEnglish},
        {LanguageChoice::kAutomatic, "C", InterfaceLanguage::kEnglish},
        {LanguageChoice::kAutomatic, "", InterfaceLanguage::kEnglish},
        {LanguageChoice::kAutomatic, "jam_JM", InterfaceLanguage::kEnglish},  // Jamaican, not Japanese
        {LanguageChoice::kJapanese, "en_US", InterfaceLanguage::kJapanese},
        {LanguageChoice::kEnglish, "ja_JP", InterfaceLanguage::kEnglish},
    };
    for (const auto& [choice, locale, expected] : cases) {
        EXPECT_EQ(ResolveInterfaceLanguage(choice, locale), expected)
            << static_cast<int>(choice) << " " << locale;
    }
}

TEST(InterfaceLanguage, StoredNamesRoundTripAndUnknownIsAutomatic) {
    for (const LanguageChoice choice :
         {LanguageChoice::kAutomatic, LanguageChoice::kJapanese, LanguageChoice::kEnglish}) {
        EXPECT_EQ(LanguageChoiceFromStored(StoredLanguageName(choice)), choice);
    }
    EXPECT_EQ(StoredLanguageName(LanguageChoice::kEnglish), "en");
    for (const std::string_view unknown : {"", "fr", "EN", "english", "ja_JP"}) {
        EXPECT_EQ(LanguageChoiceFromStored(unknown), LanguageChoice::kAutomatic) << unknown;
    }
}

}  // namespace
}  // namespace orv
