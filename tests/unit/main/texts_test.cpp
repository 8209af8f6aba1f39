// The text tables, the menus' access keys in each language, the choice of
// language.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/texts.h"
#include "main/commands.h"

namespace hueloom {
namespace {

std::set<std::string> keysOf(Language l) {
    std::set<std::string> keys;
    for (const TextEntry& e : textTable(l)) {
        EXPECT_TRUE(keys.insert(e.key).second) << "twice: " << e.key;
        EXPECT_NE(std::string(e.text), "") << e.key;
    }
    return keys;
}

TEST(Texts, BothLanguagesHaveEveryKeyAndNothingElse) {
    EXPECT_EQ(keysOf(Language::Japanese), keysOf(Language::English));
    EXPECT_GT(textTable(Language::Japanese).size(), 90u);
}

TEST(Texts, TheLanguageFollowsTheSettingElseWindows) {
    EXPECT_EQ(chooseLanguage("ja", false), Language::Japanese);
    EXPECT_EQ(chooseLanguage("en", true), Language::English);
    for (const char* automatic : {"auto", "", "fr", "EN"}) {
        EXPECT_EQ(chooseLanguage(automatic, true), Language::Japanese) << automatic;
        EXPECT_EQ(chooseLanguage(automatic, false), Language::English) << automatic;
    }
    EXPECT_FALSE(parseLanguageSetting("EN").has_value());
    setLanguage(Language::English);
    EXPECT_STREQ(text("mnuFile"), "&File");
    EXPECT_EQ(std::wstring(wideText("mnuScreenValues")), L"Sho&w screen values");
    EXPECT_STREQ(text("no.such.key"), "no.such.key");
    setLanguage(Language::Japanese);
    EXPECT_EQ(std::wstring(wideText("mnuFile")), L"ファイル(&F)");
}

// Within one menu, two items with the same access key would make the key
// open neither directly.
TEST(Texts, AccessKeysAreDistinctWithinEachMenu) {
    using app::MenuEntry;
    for (Language l : {Language::Japanese, Language::English}) {
        setLanguage(l);
        for (bool popup : {false, true}) {
            std::map<int, std::set<wchar_t>> taken;  // by parent entry index
            int parents[3] = {-1, -1, -1};
            const auto table = app::menuTable();
            for (int i = 0; i < static_cast<int>(table.size()); ++i) {
                const MenuEntry& e = table[static_cast<size_t>(i)];
                if (!(e.where & (popup ? app::PopupOnly : app::MainOnly))) continue;
                const int parent = parents[e.level];
                if (e.level < 2) parents[e.level + 1] = i;
                const std::wstring c = app::menuCaption(e, popup);
                const size_t amp = c.find(L'&');
                if (amp == std::wstring::npos || amp + 1 >= c.size()) continue;
                const wchar_t key = static_cast<wchar_t>(towlower(c[amp + 1]));
                EXPECT_TRUE(taken[parent].insert(key).second)
                    << (l == Language::English ? "en" : "ja") << (popup ? " popup" : " main") << " entry " << i;
            }
        }
    }
    setLanguage(Language::Japanese);
}

}  // namespace
}  // namespace hueloom
