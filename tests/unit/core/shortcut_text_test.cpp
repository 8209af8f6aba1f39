// Shortcut values and their text form.
#include <gtest/gtest.h>

#include <string>

#include "core/shortcut_text.h"

using namespace hueloom;

namespace {

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
    const Named named[] = {{vk::kBack, "BkSp"},   {vk::kTab, "Tab"},    {vk::kReturn, "Enter"}, {vk::kEscape, "Esc"},
                           {vk::kSpace, "Space"}, {vk::kPrior, "PgUp"}, {vk::kNext, "PgDn"},    {vk::kEnd, "End"},
                           {vk::kHome, "Home"},   {vk::kLeft, "Left"},  {vk::kUp, "Up"},        {vk::kRight, "Right"},
                           {vk::kDown, "Down"},   {vk::kInsert, "Ins"}, {vk::kDelete, "Del"}};
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
    for (const char* bad : {"", "Shift+", "Ctrl+Shift+", "^", "Shift+Ctrl+CC", "Shift + Ctrl + C", "Ctrl-C", "F25",
                            "F0", "Hyper+C", "Space ", "Return"}) {
        EXPECT_EQ(parseShortcut(bad), 0) << '"' << bad << '"';
    }
}

}  // namespace
