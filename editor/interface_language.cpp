#include "editor/interface_language.h"

namespace orv {

namespace {

constexpr std::string_view kStoredNames[] = {"auto", "ja", "en"};

}  // namespace

InterfaceLanguage ResolveInterfaceLanguage(LanguageChoice choice, std::string_view systemLocaleName) {
    if (choice != LanguageChoice::kAutomatic) {
        return choice == LanguageChoice::kJapanese ? InterfaceLanguage::kJapanese : InterfaceLanguage::kEnglish;
    }
    // The language code ends at the territory, encoding or modifier ("ja_JP.UTF-8", "ja@x").
    const std::string_view code = systemLocaleName.substr(0, systemLocaleName.find_first_of("_-.@"));
    return code == "ja" ? InterfaceLanguage::kJapanese : InterfaceLanguage::kEnglish;
}

std::string_view StoredLanguageName(LanguageChoice choice) {
    return kStoredNames[static_cast<int>(choice)];
}

LanguageChoice LanguageChoiceFromStored(std::string_view name) {
    for (int index = 0; index < static_cast<int>(std::size(kStoredNames)); ++index) {
        if (kStoredNames[index] == name) return static_cast<LanguageChoice>(index);
    }
    return LanguageChoice::kAutomatic;
}

}  // namespace orv
