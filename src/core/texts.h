// The texts the user reads, by key, in the language of the interface.
//
// Each language has one table (texts_ja.cpp, texts_en.cpp): a key and its
// text, UTF-8. A translation into a third language is one more such file,
// its name in Language and its line in kLanguages (texts.cpp), and its code
// in parseLanguageSetting. The code names texts only by
// key; tests/unit/main/texts_test.cpp holds the tables to the same keys and
// scripts/check-texts.py keeps texts out of the code.
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace hueloom {

enum class Language { Japanese, English };

struct TextEntry {
    const char* key;
    const char* text;
};

// Chosen once at start, before any window is made (the default: Japanese).
void setLanguage(Language language);
Language language();

// The `Language` setting: "ja", "en", "auto" (or empty: not chosen, the
// same as "auto"); anything else is none.
std::optional<std::optional<Language>> parseLanguageSetting(std::string_view value);
// The interface's language: the setting's, or for "auto" English unless the
// user's interface language is Japanese (`systemIsJapanese`).
Language chooseLanguage(std::string_view setting, bool systemIsJapanese);

// The text of `key` in the chosen language (UTF-8); a key the language does
// not have gives the Japanese text, an unknown key the key itself.
const char* text(std::string_view key);
// The same as a wide string, for the Windows side; stable for the run.
const wchar_t* wideText(std::string_view key);

// A table, for the tests.
std::span<const TextEntry> textTable(Language language);

}  // namespace hueloom
