#pragma once

#include <string_view>

namespace orv {

// The languages the editor's interface speaks.
enum class InterfaceLanguage { kJapanese, kEnglish };

// The settings dialog's "言語 / Language" choice, in the order of its list.
enum class LanguageChoice { kAutomatic, kJapanese, kEnglish };

// The language the interface starts in: the choice, or for kAutomatic the system's locale
// (a name such as "ja_JP.UTF-8" or "ja"): Japanese locales give Japanese, any other English.
InterfaceLanguage ResolveInterfaceLanguage(LanguageChoice choice, std::string_view systemLocaleName);

// The choice as the settings store keeps it ("auto", "ja", "en"), and back; anything else
// read from the store is kAutomatic.
std::string_view StoredLanguageName(LanguageChoice choice);
LanguageChoice LanguageChoiceFromStored(std::string_view name);

}  // namespace orv
