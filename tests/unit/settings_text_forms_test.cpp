// Colour-key and shortcut text forms, integer text, ANSI helpers.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/ansi_text.h"
#include "settings/colour_key.h"
#include "settings/shortcut_text.h"

using namespace hueloom::settings;

namespace {

TEST(SettingsInteger, AcceptsDecimalAndBothHexSpellings) {
    EXPECT_EQ(parseSettingsInteger("0"), 0);
    EXPECT_EQ(parseSettingsInteger("1000"), 1000);
    EXPECT_EQ(parseSettingsInteger("-500"), -500);
    EXPECT_EQ(parseSettingsInteger("+7"), 7);
    EXPECT_EQ(parseSettingsInteger("  42"), 42);
    EXPECT_EQ(parseSettingsInteger("$FF"), 255);
    EXPECT_EQ(parseSettingsInteger("$00563412"), 0x563412);
    EXPECT_EQ(parseSettingsInteger("0x1f"), 31);
    EXPECT_EQ(parseSettingsInteger("0X1F"), 31);
    EXPECT_EQ(parseSettingsInteger("-$10"), -16);
    EXPECT_EQ(parseSettingsInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseSettingsInteger("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseSettingsInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseSettingsInteger("$80000005"), static_cast<int32_t>(0x80000005u));
    EXPECT_EQ(parseSettingsInteger("$0000000000FF"), 255);  // leading zeros do not overflow
}

TEST(SettingsInteger, RejectsJunkAndValuesBeyond32Bits) {
    for (const char* bad : {"", " ", "-", "+", "$", "0x", "0X", "x10", "12a", "1 2", "1.5", "abc", "10 ",
                            "2147483648", "-2147483649", "99999999999", "$100000000", "0x1FFFFFFFF",
                            "$G0", "--1", "0x-1"}) {
        EXPECT_FALSE(parseSettingsInteger(bad).has_value()) << '"' << bad << '"';
    }
}

TEST(ColourKey, TableHas52DistinctNamesAndValues) {
    const auto table = colourNameTable();
    ASSERT_EQ(table.size(), 52u);
    std::set<std::string> names;
    std::set<uint32_t> values;
    for (const auto& e : table) {
        names.insert(e.name);
        values.insert(e.value);
    }
    EXPECT_EQ(names.size(), 52u);
    EXPECT_EQ(values.size(), 52u);
}

TEST(ColourKey, EveryTableEntryRoundTripsAndReadsInAnyCase) {
    for (const auto& e : colourNameTable()) {
        EXPECT_EQ(colourToKeyText(e.value), e.name);
        EXPECT_EQ(parseColourKey(e.name), e.value) << e.name;
        std::string upper = e.name, lower = e.name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(parseColourKey(upper), e.value) << upper;
        EXPECT_EQ(parseColourKey(lower), e.value) << lower;
    }
}

TEST(ColourKey, KnownValuesOfTheTable) {
    EXPECT_EQ(parseColourKey("clRed"), 0x0000FFu);
    EXPECT_EQ(parseColourKey("clNavy"), 0x800000u);
    EXPECT_EQ(parseColourKey("clSkyBlue"), 0xF0CAA6u);
    EXPECT_EQ(parseColourKey("clMedGray"), 0xA4A0A0u);
    EXPECT_EQ(parseColourKey("clScrollBar"), 0x80000000u);
    EXPECT_EQ(parseColourKey("clInfoBk"), 0x80000018u);
    EXPECT_EQ(parseColourKey("clHotLight"), 0x8000001Au);  // index 25 has no name
    EXPECT_EQ(parseColourKey("clMenuBar"), 0x8000001Eu);
    EXPECT_EQ(parseColourKey("clNone"), 0x1FFFFFFFu);
    EXPECT_EQ(parseColourKey("clDefault"), 0x20000000u);
    EXPECT_EQ(parseColourKey("CLAQUA"), kClAqua);
}

TEST(ColourKey, ValuesOutsideTheTableUseEightUpperHexDigits) {
    EXPECT_EQ(colourToKeyText(rgbColour(18, 52, 86)), "$00563412");
    EXPECT_EQ(colourToKeyText(rgbColour(12, 34, 56)), "$0038220C");
    EXPECT_EQ(colourToKeyText(rgbColour(255, 128, 0)), "$000080FF");
    EXPECT_EQ(colourToKeyText(0x80000019u), "$80000019");  // unnamed system index 25
    EXPECT_EQ(colourToKeyText(0xABCDEF01u), "$ABCDEF01");
    EXPECT_EQ(parseColourKey("$00563412"), 0x563412u);
    EXPECT_EQ(parseColourKey("$abcdef01"), 0xABCDEF01u);
    EXPECT_EQ(parseColourKey("255"), 255u);
    EXPECT_EQ(parseColourKey("-2147483643"), 0x80000005u);
    for (uint32_t v : {0x000001u, 0x123456u, 0x00FFFFFEu, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(parseColourKey(colourToKeyText(v)), v);
    }
}

TEST(ColourKey, JunkIsNotAColour) {
    for (const char* bad : {"", "clAquaa", "cl Aqua", "Aqua", "clAqua ", "$1000000000", "#FF0000", "red"}) {
        EXPECT_FALSE(parseColourKey(bad).has_value()) << bad;
    }
}

TEST(Shortcut, DefaultsAndModifierOrder) {
    EXPECT_EQ(parseShortcut("Shift+Ctrl+C"), 24643);
    EXPECT_EQ(shortcutToText(24643), "Shift+Ctrl+C");
    EXPECT_EQ(parseShortcut("Shift+Ctrl+S"), 0x6053);
    EXPECT_EQ(parseShortcut("Shift+Ctrl+W"), 0x6057);
    EXPECT_EQ(parseShortcut("Shift+Ctrl+R"), 0x6052);
    EXPECT_EQ(parseShortcut("ctrl+shift+c"), 24643);
    EXPECT_EQ(shortcutToText(parseShortcut("ctrl+shift+c")), "Shift+Ctrl+C");
    EXPECT_EQ(parseShortcut("^C"), kShortcutCtrl | 'C');
    EXPECT_EQ(parseShortcut("^shift+c"), 24643);
    EXPECT_EQ(parseShortcut("ALT+ctrl+SHIFT+x"), kShortcutAlt | kShortcutCtrl | kShortcutShift | 'X');
    EXPECT_EQ(shortcutToText(kShortcutAlt | kShortcutCtrl | kShortcutShift | 'X'), "Shift+Ctrl+Alt+X");
    EXPECT_EQ(shortcutToText(kShortcutAlt | 'Q'), "Alt+Q");
    EXPECT_EQ(parseShortcut("Shift+Ctrl+F5"), kShortcutShift | kShortcutCtrl | vk::kF1 + 4);
    EXPECT_EQ(parseShortcut("a"), 'A');
    EXPECT_EQ(parseShortcut("Shift+Shift+A"), kShortcutShift | 'A');
}

TEST(Shortcut, EveryNamedKeyRoundTrips) {
    struct Named {
        uint8_t key;
        const char* name;
    };
    const Named named[] = {{vk::kBack, "BkSp"}, {vk::kTab, "Tab"},     {vk::kReturn, "Enter"}, {vk::kEscape, "Esc"},
                           {vk::kSpace, "Space"}, {vk::kPrior, "PgUp"}, {vk::kNext, "PgDn"},    {vk::kEnd, "End"},
                           {vk::kHome, "Home"},  {vk::kLeft, "Left"},  {vk::kUp, "Up"},        {vk::kRight, "Right"},
                           {vk::kDown, "Down"},  {vk::kInsert, "Ins"}, {vk::kDelete, "Del"}};
    for (const auto& n : named) {
        EXPECT_EQ(keyName(n.key), n.name);
        EXPECT_EQ(shortcutToText(kShortcutCtrl | n.key), std::string("Ctrl+") + n.name);
        EXPECT_EQ(parseShortcut(std::string("ctrl+") + n.name), kShortcutCtrl | n.key) << n.name;
    }
    for (int i = 0; i < 26; ++i) {
        const std::string letter(1, static_cast<char>('A' + i));
        EXPECT_EQ(keyName(static_cast<uint8_t>(vk::kA + i)), letter);
        EXPECT_EQ(parseShortcut("Shift+" + letter), kShortcutShift | (vk::kA + i));
    }
    for (int i = 1; i <= 24; ++i) {
        const std::string f = "F" + std::to_string(i);
        EXPECT_EQ(keyName(static_cast<uint8_t>(vk::kF1 + i - 1)), f);
        EXPECT_EQ(parseShortcut("alt+" + f), kShortcutAlt | (vk::kF1 + i - 1)) << f;
        EXPECT_EQ(parseShortcut("alt+f" + std::to_string(i)), kShortcutAlt | (vk::kF1 + i - 1));
    }
}

TEST(Shortcut, NumericPadDigitsWriteAsDigitsAndReadAsMainDigits) {
    for (int i = 0; i < 10; ++i) {
        const std::string digit(1, static_cast<char>('0' + i));
        EXPECT_EQ(shortcutToText(kShortcutCtrl | (vk::kNumpad0 + i)), "Ctrl+" + digit);
        EXPECT_EQ(shortcutToText(kShortcutCtrl | (vk::k0 + i)), "Ctrl+" + digit);
        EXPECT_EQ(parseShortcut("Ctrl+" + digit), kShortcutCtrl | (vk::k0 + i));
    }
}

TEST(Shortcut, OtherKeysUseThePlatformNames) {
    const KeyNameFn platform = [](uint8_t key) -> std::string {
        if (key == 0x6B) return "Num +";
        if (key == vk::kSnapshot) return "Prnt Scrn";
        if (key == 0xBB) return "+";  // a key whose name is the separator itself
        return {};
    };
    EXPECT_EQ(shortcutToText(kShortcutCtrl | 0x6B, platform), "Ctrl+Num +");
    EXPECT_EQ(parseShortcut("ctrl+num +", platform), kShortcutCtrl | 0x6B);
    EXPECT_EQ(parseShortcut("Alt+Prnt Scrn", platform), kShortcutAlt | vk::kSnapshot);
    EXPECT_EQ(parseShortcut("Ctrl++", platform), kShortcutCtrl | 0xBB);
    EXPECT_EQ(shortcutToText(kShortcutShift | 0xBB, platform), "Shift++");
    // Named keys never ask the platform.
    const KeyNameFn everythingIsX = [](uint8_t) { return std::string("X"); };
    EXPECT_EQ(shortcutToText(kShortcutCtrl | vk::kF1 + 2, everythingIsX), "Ctrl+F3");
    // Without platform names such keys have no text, and the text is empty.
    EXPECT_EQ(shortcutToText(kShortcutCtrl | 0x6B), "");
    EXPECT_EQ(parseShortcut("Ctrl+Num +"), 0);
}

TEST(Shortcut, EmptyAndJunkGiveNoKey) {
    EXPECT_EQ(shortcutToText(0), "");
    EXPECT_EQ(shortcutToText(kShortcutShift | kShortcutCtrl), "");  // modifiers without a key
    for (const char* bad : {"", "Shift+", "Ctrl+Shift+", "^", "Shift+Ctrl+CC", "Shift + Ctrl + C", "Ctrl-C",
                            "F25", "F0", "Hyper+C", "Space ", "Return"}) {
        EXPECT_EQ(parseShortcut(bad), 0) << '"' << bad << '"';
    }
}

TEST(AnsiText, CaseFoldingLeavesDoubleByteCharactersAlone) {
    EXPECT_TRUE(equalsIgnoreCase("Window", "WINDOW"));
    EXPECT_FALSE(equalsIgnoreCase("Window", "Windows"));
    // 0x82 0x60 and 0x82 0x80 are different characters whose trail bytes differ
    // like 'A'/'a' would if folded byte-wise (0x41/0x61): use 0x82 0x41 / 0x82 0x61.
    EXPECT_FALSE(equalsIgnoreCase("\x82\x41", "\x82\x61"));
    EXPECT_TRUE(equalsIgnoreCase("\x82\x41x", "\x82\x41X"));
    EXPECT_TRUE(startsWithIgnoreCase("SHIFT+C", "Shift+"));
    EXPECT_FALSE(startsWithIgnoreCase("Shif", "Shift+"));
}

TEST(AnsiText, FolderOfKeepsRootsAndSkipsTrailBytes) {
    EXPECT_EQ(folderOf("C:\\Tools\\Hueloom.exe"), "C:\\Tools");
    EXPECT_EQ(folderOf("C:\\Hueloom.exe"), "C:\\");
    EXPECT_EQ(folderOf("D:\\memo\\a.txt"), "D:\\memo");
    EXPECT_EQ(folderOf("\\\\server\\share\\Hueloom.exe"), "\\\\server\\share");
    EXPECT_EQ(folderOf("\\Hueloom.exe"), "\\");
    EXPECT_EQ(folderOf("C:Hueloom.exe"), "C:");
    EXPECT_EQ(folderOf("Untitled.txt"), "");
    EXPECT_EQ(folderOf(""), "");
    // "ソ" is 0x83 0x5C and "表" is 0x95 0x5C: their second byte is not a separator.
    EXPECT_EQ(folderOf("C:\\\x83\x5C\x83\x74\x83\x67\\Hueloom.exe"), "C:\\\x83\x5C\x83\x74\x83\x67");
    EXPECT_EQ(folderOf("C:\\\x95\x5C\\x.exe"), "C:\\\x95\x5C");
    EXPECT_EQ(folderOf("C:\\dir\\\x95\x5C.txt"), "C:\\dir");
    EXPECT_EQ(folderOf("\x95\x5C.txt"), "");
}

}  // namespace
