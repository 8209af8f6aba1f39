#include "core/texts.h"

#include <iterator>
#include <mutex>
#include <string>
#include <unordered_map>

namespace hueloom {

extern const TextEntry kJapaneseTexts[];
extern const std::size_t kJapaneseTextCount;
extern const TextEntry kEnglishTexts[];
extern const std::size_t kEnglishTextCount;

namespace {

Language chosen = Language::Japanese;

// The languages and their tables; a new language adds its line here.
struct LanguageTable {
    Language language;
    const TextEntry* entries;
    const std::size_t* count;
};
const LanguageTable kLanguages[] = {
    {Language::Japanese, kJapaneseTexts, &kJapaneseTextCount},
    {Language::English, kEnglishTexts, &kEnglishTextCount},
};
constexpr std::size_t kLanguageCount = std::size(kLanguages);

std::size_t indexOf(Language l) {
    for (std::size_t i = 0; i < kLanguageCount; ++i)
        if (kLanguages[i].language == l) return i;
    return 0;
}

struct Table {
    std::unordered_map<std::string_view, const char*> texts;
    std::unordered_map<std::string, std::wstring> wide;
};

Table& table(Language l) {
    static Table tables[kLanguageCount];
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t t = 0; t < kLanguageCount; ++t)
            for (std::size_t i = 0; i < *kLanguages[t].count; ++i)
                tables[t].texts.emplace(kLanguages[t].entries[i].key, kLanguages[t].entries[i].text);
    });
    return tables[indexOf(l)];
}

// UTF-8 to wchar_t (UTF-16 on Windows, UTF-32 elsewhere).
std::wstring widen(std::string_view s) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t u = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
        for (int k = 1; k < n && i + k < s.size(); ++k) u = u << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        i += static_cast<std::size_t>(n);
        if (sizeof(wchar_t) == 2 && u >= 0x10000) {
            u -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (u >> 10));
            out += static_cast<wchar_t>(0xDC00 + (u & 0x3FF));
        } else {
            out += static_cast<wchar_t>(u);
        }
    }
    return out;
}

std::mutex wideLock;

}  // namespace

void setLanguage(Language language) { chosen = language; }
Language language() { return chosen; }

std::optional<std::optional<Language>> parseLanguageSetting(std::string_view value) {
    std::optional<std::optional<Language>> parsed;
    if (value == "ja") parsed.emplace(Language::Japanese);
    if (value == "en") parsed.emplace(Language::English);
    if (value == "auto" || value.empty()) parsed.emplace(std::nullopt);
    return parsed;
}

Language chooseLanguage(std::string_view setting, bool systemIsJapanese) {
    const auto parsed = parseLanguageSetting(setting);
    if (parsed && *parsed) return **parsed;
    return systemIsJapanese ? Language::Japanese : Language::English;
}

const char* text(std::string_view key) {
    for (Language l : {chosen, Language::Japanese}) {
        const Table& t = table(l);
        if (auto it = t.texts.find(key); it != t.texts.end()) return it->second;
    }
    return key.data();
}

const wchar_t* wideText(std::string_view key) {
    Table& t = table(chosen);
    const std::lock_guard<std::mutex> hold(wideLock);
    auto it = t.wide.find(std::string(key));
    if (it == t.wide.end()) it = t.wide.emplace(std::string(key), widen(text(key))).first;
    return it->second.c_str();
}

std::span<const TextEntry> textTable(Language language) {
    const LanguageTable& t = kLanguages[indexOf(language)];
    return std::span(t.entries, *t.count);
}

}  // namespace hueloom
