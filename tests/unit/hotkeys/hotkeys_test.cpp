// Hot-key registration mapping, start-up scope, dispatch and PrintScreen rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hotkeys/hotkeys.h"
#include "core/shortcut_text.h"

using namespace hueloom::hotkeys;

namespace {

TEST(HotKeyRegistration, ModifierBitsMapToTheSystemFlags) {
    struct Case {
        uint16_t shortcut;
        unsigned modifiers, key;
    };
    const Case cases[] = {
        {24643, kModShift | kModControl, 'C'},  // Shift+Ctrl+C
        {0x6053, kModShift | kModControl, 'S'},
        {0x8000 | 0x70, kModAlt, 0x70},  // Alt+F1
        {0xE000 | 0x2C, kModAlt | kModControl | kModShift, 0x2C},  // all three
        {0x4000 | 'Z', kModControl, 'Z'},
        {0x2000 | 0x87, kModShift, 0x87},  // Shift+F24
        {'Q', 0, 'Q'},
        {0, 0, 0},  // empty shortcut passed on unchanged
    };
    for (const auto& c : cases) {
        const HotKeyRegistration r = toRegistration(c.shortcut);
        EXPECT_EQ(r.modifiers, c.modifiers) << c.shortcut;
        EXPECT_EQ(r.virtualKey, c.key) << c.shortcut;
    }
    // Consistent with the text form's bits.
    const HotKeyRegistration r = toRegistration(hueloom::parseShortcut("Alt+Ctrl+Shift+F5"));
    EXPECT_EQ(r.modifiers, kModAlt | kModControl | kModShift);
    EXPECT_EQ(r.virtualKey, 0x74u);
}

TEST(HotKeyScopeAtStartup, ExactCaseSensitiveSpellingsOnly) {
    EXPECT_EQ(initialScope("Off"), HotKeyScope::ActiveOnly);
    EXPECT_EQ(initialScope("On"), HotKeyScope::Always);
    for (const char* other : {"on", "ON", "off", "OFF", "", " On", "On ", "1", "true"}) {
        EXPECT_FALSE(initialScope(other).has_value()) << '"' << other << '"';
    }
}

class RecordingCommands : public HotKeyCommands {
public:
    bool dialogOpen = false;
    std::vector<std::string> calls;
    bool savePictureDialogOpen() override { return dialogOpen; }
    void copyColour() override { calls.push_back("copy"); }
    void screenCapture() override { calls.push_back("screen"); }
    void windowCapture() override { calls.push_back("window"); }
    void rectCapture() override { calls.push_back("rect"); }
    void setActivate(bool on) override { calls.push_back(on ? "activate:on" : "activate:off"); }
};

TEST(HotKeyDispatch, EachIndexRunsItsCommand) {
    struct Case {
        int index;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {1, {"copy"}},   {2, {"screen"}},
        {3, {"window"}}, {4, {"activate:on", "rect"}},  // Activate is set before the capture starts
        {0, {}},         {5, {}},
        {-1, {}},        {1111, {}},
    };
    for (const auto& c : cases) {
        RecordingCommands cmd;
        dispatchHotKey(c.index, cmd);
        EXPECT_EQ(cmd.calls, c.expected) << "index " << c.index;
    }
}

TEST(HotKeyDispatch, NothingRunsWhileTheSavePictureDialogIsOpen) {
    for (int index = 1; index <= 4; ++index) {
        RecordingCommands cmd;
        cmd.dialogOpen = true;
        dispatchHotKey(index, cmd);
        EXPECT_TRUE(cmd.calls.empty()) << "index " << index;
    }
}

uintptr_t hotKeyLParam(unsigned modifiers, unsigned vk) { return (static_cast<uintptr_t>(vk) << 16) | modifiers; }

TEST(PrintScreenTakeOver, DecisionTable) {
    // scope: A = always checked, O = active-only checked, N = neither checked
    struct Row {
        char scope;
        bool active, printSetting, altSetting;
        bool take1111, take1112;
    };
    const Row rows[] = {
        {'A', false, false, false, false, false},
        {'A', false, true, false, true, false},
        {'A', false, false, true, false, true},
        {'A', true, true, true, true, true},
        {'A', false, true, true, true, true},
        {'O', true, true, true, true, true},
        {'O', false, true, true, false, false},  // another program is active: hand back
        {'O', true, false, true, false, true},
        {'O', true, true, false, true, false},
        {'O', true, false, false, false, false},
        {'N', true, true, true, false, false},  // no scope item checked: never taken over
        {'N', false, true, true, false, false},
    };
    for (const auto& r : rows) {
        PrintScreenState s;
        s.hookHotKeyChecked = r.scope == 'A';
        s.notHookHotKeyChecked = r.scope == 'O';
        s.applicationActive = r.active;
        s.hookPrintScreenKey = r.printSetting;
        s.hookAltPrintScreenKey = r.altSetting;
        const std::string label = std::string(1, r.scope) + " active=" + std::to_string(r.active) +
                                  " ps=" + std::to_string(r.printSetting) + " alt=" + std::to_string(r.altSetting);
        EXPECT_EQ(isTakenOver(kPrintScreenId, s), r.take1111) << label;
        EXPECT_EQ(isTakenOver(kAltPrintScreenId, s), r.take1112) << label;
        EXPECT_FALSE(isTakenOver(1, s));

        const PrintScreenOutcome p =
            printScreenFilter(kWmHotKey, kPrintScreenId, hotKeyLParam(0, hueloom::vk::kSnapshot), s);
        EXPECT_EQ(p.id, kPrintScreenId);
        EXPECT_EQ(p.action, r.take1111 ? PrintScreenAction::ScreenCapture : PrintScreenAction::HandBack) << label;
        const PrintScreenOutcome a =
            printScreenFilter(kWmHotKey, kAltPrintScreenId, hotKeyLParam(kModAlt, hueloom::vk::kSnapshot), s);
        EXPECT_EQ(a.id, kAltPrintScreenId);
        EXPECT_EQ(a.action, r.take1112 ? PrintScreenAction::WindowCapture : PrintScreenAction::HandBack) << label;
    }
}

TEST(PrintScreenTakeOver, HandBackUsesTheRegistrationModifiersAndScanCode) {
    const PrintScreenState nothingTaken;
    const PrintScreenOutcome p = printScreenFilter(kWmHotKey, 1111, hotKeyLParam(0, 0x2C), nothingTaken);
    EXPECT_EQ(p.action, PrintScreenAction::HandBack);
    EXPECT_EQ(p.modifiers, 0u);
    EXPECT_EQ(p.scanCode, 0);
    const PrintScreenOutcome a = printScreenFilter(kWmHotKey, 1112, hotKeyLParam(kModAlt, 0x2C), nothingTaken);
    EXPECT_EQ(a.action, PrintScreenAction::HandBack);
    EXPECT_EQ(a.modifiers, kModAlt);
    EXPECT_EQ(a.scanCode, 1);
}

TEST(PrintScreenTakeOver, OtherMessagesAreIgnored) {
    PrintScreenState all;
    all.hookHotKeyChecked = true;
    all.hookPrintScreenKey = all.hookAltPrintScreenKey = true;
    struct Msg {
        uint32_t message;
        uintptr_t wParam, lParam;
    };
    const Msg others[] = {
        {0x0100, 1111, hotKeyLParam(0, 0x2C)},  // WM_KEYDOWN, not WM_HOTKEY
        {kWmHotKey, 1, hotKeyLParam(6, 'C')},  // a component hot key
        {kWmHotKey, 1113, hotKeyLParam(0, 0x2C)},  // unknown identifier
        {kWmHotKey, 1111, hotKeyLParam(0, 0x2D)},  // other key in the high word
        {kWmHotKey, 1111, 0x2C},  // key in the low word only
        {kWmHotKey, 1112, hotKeyLParam(kModAlt, 0)},
    };
    for (const auto& m : others) {
        const PrintScreenOutcome o = printScreenFilter(m.message, m.wParam, m.lParam, all);
        EXPECT_EQ(o.action, PrintScreenAction::None) << m.message << " " << m.wParam << " " << m.lParam;
    }
}

}  // namespace
