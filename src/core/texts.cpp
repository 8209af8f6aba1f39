#include "core/texts.h"

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

struct Table {
    std::unordered_map<std::string_view, const char*> texts;
    std::unordered_map<std::string, std::wstring> wide;
};

Table& table(Language l) {
    static Table tables[2];
    static std::once_flag once;
    std::call_once(once, [] {
        for (std::size_t i = 0; i < kJapaneseTextCount; ++i)
            tables[0].texts.emplace(kJapaneseTexts[i].key, kJapaneseTexts[i].text);
        for (std::size_t i = 0; i < kEnglishTextCount; ++i)
            tables[1].texts.emplace(kEnglishTexts[i].key, kEnglishTexts[i].text);
    });
    return tables[l == Language::Japanese ? 0 : 1];
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
    if (value == "ja") return std::optional<Language>(Language::Japanese);
    if (value == "en") return std::optional<Language>(Language::English);
    if (value == "auto" || value.empty()) return std::optional<Language>();
    return std::nullopt;
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
    return language == Language::Japanese ? std::span(kJapaneseTexts, kJapaneseTextCount)
                                          : std::span(kEnglishTexts, kEnglishTextCount);
}

}  // namespace hueloom
