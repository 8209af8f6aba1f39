// The hot-key component and the PrintScreen keys under Wine: registrations
// against the system's own bookkeeping, the event and its foreground switch,
// error reporting from handlers, and the take-over / hand-back filter.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "hotkeys/hook_hotkey_win.h"
#include "hotkeys/print_screen_win.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"
#include "win_test_support.h"

using hueloom::hotkeys::PrintScreenAction;
using hueloom::hotkeys::PrintScreenHandlers;
using hueloom::hotkeys::PrintScreenKeys;
using hueloom::hotkeys::PrintScreenState;
using hueloom::hotkeys::PrintScreenSystem;
using hueloom::hotkeys::THookHotKey;

namespace {

// Shortcut words: modifiers as in the settings ($2000 Shift, $4000 Ctrl,
// $8000 Alt). Shift+Ctrl+Alt with function keys nobody else uses here.
constexpr uint16_t kSca = 0xE000;
constexpr uint16_t kKeyA = kSca | VK_F5;
constexpr uint16_t kKeyB = kSca | VK_F6;
constexpr uint16_t kKeyC = kSca | VK_F7;
constexpr uint16_t kKeyD = kSca | VK_F8;
constexpr UINT kScaMods = MOD_SHIFT | MOD_CONTROL | MOD_ALT;

// Whether a combination is free: try to take it on `probe` and give it back.
bool isFree(HWND probe, UINT mods, UINT vk) {
    if (!RegisterHotKey(probe, 0x7777, mods, vk)) return false;
    UnregisterHotKey(probe, 0x7777);
    return true;
}
bool isFree(HWND probe, uint16_t shortcut) { return isFree(probe, kScaMods, shortcut & 0xFF); }

struct Forms : ::testing::Test {
    TestForm owner, other, probe;
    void SetUp() override {
        ASSERT_TRUE(owner.create(10, 10));
        ASSERT_TRUE(other.create(200, 10));
        ASSERT_TRUE(probe.create(400, 10));
    }
    void TearDown() override { tk::app().onMessage = nullptr; }
};

using HookHotKey = Forms;

}  // namespace

// ---------------------------------------------------------------- registrations

TEST_F(HookHotKey, AddHotKeyFailsWhileTheCombinationIsHeldElsewhere) {
    THookHotKey first(owner), second(owner);
    EXPECT_NE(first.handle(), second.handle());
    ASSERT_TRUE(first.AddHotKey(1, kKeyA));
    // Held by another component: refused, under any identifier.
    EXPECT_FALSE(second.AddHotKey(1, kKeyA));
    EXPECT_FALSE(second.AddHotKey(2, kKeyA));
    // The refusal did not disturb the holder.
    EXPECT_FALSE(isFree(probe.hwnd(), kKeyA));

    // Held by a plain registration on another window.
    ASSERT_TRUE(RegisterHotKey(other.hwnd(), 9, kScaMods, VK_F6));
    EXPECT_FALSE(first.AddHotKey(2, kKeyB));
    UnregisterHotKey(other.hwnd(), 9);
    EXPECT_TRUE(first.AddHotKey(2, kKeyB));

    // Modifiers count: the same key with other modifiers is another combination.
    EXPECT_TRUE(second.AddHotKey(3, static_cast<uint16_t>(0x6000 | VK_F5)));  // Shift+Ctrl+F5
    EXPECT_FALSE(isFree(probe.hwnd(), MOD_SHIFT | MOD_CONTROL, VK_F5));
    EXPECT_TRUE(isFree(probe.hwnd(), MOD_CONTROL, VK_F5));
}

TEST_F(HookHotKey, RemoveHotKeyReportsWhetherTheIdentifierWasRegistered) {
    THookHotKey hk(owner), stranger(owner);
    EXPECT_FALSE(hk.RemoveHotKey(42));
    ASSERT_TRUE(hk.AddHotKey(42, kKeyC));
    // Identifiers belong to their component.
    EXPECT_FALSE(stranger.RemoveHotKey(42));
    EXPECT_FALSE(isFree(probe.hwnd(), kKeyC));
    EXPECT_TRUE(hk.RemoveHotKey(42));
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyC));
    EXPECT_FALSE(hk.RemoveHotKey(42));
}

TEST_F(HookHotKey, ReAddingAnIndexReplacesItsCombination) {
    THookHotKey hk(owner);
    ASSERT_TRUE(hk.AddHotKey(5, kKeyA));
    ASSERT_TRUE(hk.AddHotKey(5, kKeyB));
    // The replaced combination no longer belongs to the program.
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyA));
    EXPECT_FALSE(isFree(probe.hwnd(), kKeyB));

    // Registering the same combination again (as after every capture) works
    // and leaves one registration: one removal frees it.
    EXPECT_TRUE(hk.AddHotKey(5, kKeyB));
    EXPECT_TRUE(hk.AddHotKey(5, kKeyB));
    EXPECT_TRUE(hk.RemoveHotKey(5));
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyB));
    EXPECT_FALSE(hk.RemoveHotKey(5));

    // A replacement the system refuses still drops the old combination.
    ASSERT_TRUE(hk.AddHotKey(6, kKeyC));
    ASSERT_TRUE(RegisterHotKey(other.hwnd(), 11, kScaMods, VK_F8));
    EXPECT_FALSE(hk.AddHotKey(6, kKeyD));
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyC));
    EXPECT_FALSE(hk.RemoveHotKey(6));
    UnregisterHotKey(other.hwnd(), 11);
}

TEST_F(HookHotKey, DestructionGivesEveryCombinationBack) {
    {
        THookHotKey hk(owner);
        ASSERT_TRUE(hk.AddHotKey(1, kKeyA));
        ASSERT_TRUE(hk.AddHotKey(2, kKeyB));
        ASSERT_TRUE(hk.AddHotKey(2, kKeyC));
        EXPECT_FALSE(isFree(probe.hwnd(), kKeyA));
        EXPECT_FALSE(isFree(probe.hwnd(), kKeyC));
    }
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyA));
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyB));
    EXPECT_TRUE(isFree(probe.hwnd(), kKeyC));
}

// ---------------------------------------------------------------- the event

TEST_F(HookHotKey, DoHotKeyRaisesTheEventAndBringsTheOwnerForwardWhenAsked) {
    owner.show();
    other.show();
    THookHotKey hk(owner);
    EXPECT_TRUE(hk.Activate);  // on unless the owner turns it off

    auto focusOther = [&] {
        SetForegroundWindow(other.hwnd());
        pumpFor(50);
        ASSERT_EQ(GetForegroundWindow(), other.hwnd());
    };

    // No handler: nothing happens, not even the foreground switch.
    focusOther();
    hk.DoHotKey(1);
    EXPECT_EQ(GetForegroundWindow(), other.hwnd());

    std::vector<int> indexes;
    std::vector<HWND> foregroundSeen;
    hk.OnHotKey = [&](int index) {
        indexes.push_back(index);
        foregroundSeen.push_back(GetForegroundWindow());
    };

    // Activate on: the owner is in front before the handler runs.
    focusOther();
    hk.DoHotKey(7);
    // Activate off: the foreground stays where it was.
    hk.Activate = false;
    focusOther();
    hk.DoHotKey(-3);

    EXPECT_EQ(indexes, (std::vector<int>{7, -3}));
    ASSERT_EQ(foregroundSeen.size(), 2u);
    EXPECT_EQ(foregroundSeen[0], owner.hwnd());
    EXPECT_EQ(foregroundSeen[1], other.hwnd());
}

TEST_F(HookHotKey, WmHotKeyOnTheHiddenWindowReachesTheHandler) {
    THookHotKey hk(owner);
    hk.Activate = false;
    // The hidden window is a window of its own that is never shown.
    ASSERT_TRUE(IsWindow(hk.handle()));
    EXPECT_NE(hk.handle(), owner.hwnd());
    EXPECT_FALSE(IsWindowVisible(hk.handle()));

    std::vector<int> indexes;
    hk.OnHotKey = [&](int index) { indexes.push_back(index); };
    PostMessageW(hk.handle(), WM_HOTKEY, 3, MAKELPARAM(MOD_SHIFT | MOD_CONTROL, 'R'));
    PostMessageW(hk.handle(), WM_HOTKEY, 1, MAKELPARAM(MOD_SHIFT | MOD_CONTROL, 'C'));
    EXPECT_TRUE(pumpUntil([&] { return indexes.size() >= 2; }));
    EXPECT_EQ(indexes, (std::vector<int>{3, 1}));
}

TEST_F(HookHotKey, PressingARegisteredCombinationRaisesTheEvent) {
    owner.show();
    SetForegroundWindow(owner.hwnd());
    THookHotKey hk(owner);
    hk.Activate = false;
    std::vector<int> indexes;
    hk.OnHotKey = [&](int index) { indexes.push_back(index); };
    ASSERT_TRUE(hk.AddHotKey(4, static_cast<uint16_t>(0x6000 | VK_F9)));  // Shift+Ctrl+F9

    auto press = [] {
        keybd_event(VK_CONTROL, 0, 0, 0);
        keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(VK_F9, 0, 0, 0);
        keybd_event(VK_F9, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    };
    press();
    EXPECT_TRUE(pumpUntil([&] { return !indexes.empty(); }));
    EXPECT_EQ(indexes, (std::vector<int>{4}));

    // Once removed, the same press no longer arrives.
    ASSERT_TRUE(hk.RemoveHotKey(4));
    press();
    pumpFor(300);
    EXPECT_EQ(indexes.size(), 1u);
}

TEST_F(HookHotKey, AHandlerErrorIsReportedAndLaterHotKeysStillArrive) {
    THookHotKey hk(owner);
    hk.Activate = false;
    std::vector<int> indexes;
    hk.OnHotKey = [&](int index) {
        indexes.push_back(index);
        if (index == 1) throw std::runtime_error("clipboard busy");
    };
    MessageBoxCatcher boxes;
    PostMessageW(hk.handle(), WM_HOTKEY, 1, 0);
    EXPECT_TRUE(pumpUntil([&] { return !boxes.texts.empty(); }, 5000));
    PostMessageW(hk.handle(), WM_HOTKEY, 2, 0);
    EXPECT_TRUE(pumpUntil([&] { return indexes.size() >= 2; }));

    EXPECT_EQ(indexes, (std::vector<int>{1, 2}));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], L"clipboard busy");
    EXPECT_FALSE(boxes.watchdogFired());
}

// ---------------------------------------------------------------- PrintScreen

namespace {

// Records the system calls of the PrintScreen keys in order.
struct FakeSystem {
    HWND window = nullptr;
    std::vector<std::string> calls;

    std::string who(HWND w) const { return w == window ? "W" : "?"; }
    PrintScreenSystem make() {
        PrintScreenSystem s;
        s.registerHotKey = [this](HWND w, int id, UINT mods, UINT vk) {
            calls.push_back("register " + who(w) + " " + std::to_string(id) + " " + std::to_string(mods) + " " +
                            std::to_string(vk));
            return TRUE;
        };
        s.unregisterHotKey = [this](HWND w, int id) {
            calls.push_back("unregister " + who(w) + " " + std::to_string(id));
            return TRUE;
        };
        s.keybdEvent = [this](BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) {
            calls.push_back("keybd " + std::to_string(vk) + " " + std::to_string(scan) + " " + std::to_string(flags) +
                            " " + std::to_string(extra));
        };
        return s;
    }
};

MSG hotKeyMsg(HWND w, WPARAM id, UINT mods, UINT vk) {
    MSG m{};
    m.hwnd = w;
    m.message = WM_HOTKEY;
    m.wParam = id;
    m.lParam = MAKELPARAM(mods, vk);
    return m;
}

struct PrintScreen : Forms {
    FakeSystem sys;
    PrintScreenState state;
    int stateAsked = 0, screen = 0, window = 0;
    PrintScreenHandlers handlers() {
        PrintScreenHandlers h;
        h.state = [this] {
            ++stateAsked;
            return state;
        };
        h.screenCapture = [this] { ++screen; };
        h.windowCapture = [this] { ++window; };
        return h;
    }
    // One message through a filter on `owner` with the fake system.
    PrintScreenAction run(const MSG& m) {
        sys.window = owner.hwnd();
        PrintScreenKeys keys(owner.hwnd(), handlers(), sys.make());
        bool handled = true;
        PrintScreenAction a = keys.filter(m, handled);
        EXPECT_FALSE(handled);
        return a;
    }
    MSG press(int id) { return hotKeyMsg(owner.hwnd(), id, id == 1112 ? MOD_ALT : 0, VK_SNAPSHOT); }
};

}  // namespace

TEST_F(PrintScreen, RegistersBothKeysOnItsWindowAndDropsThem) {
    sys.window = owner.hwnd();
    PrintScreenKeys keys(owner.hwnd(), handlers(), sys.make());
    keys.registerKeys();
    keys.unregisterKeys();
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"register W 1111 0 44", "register W 1112 1 44", "unregister W 1111",
                                                   "unregister W 1112"}));

    // With the real system calls the keys are really held, and given back.
    PrintScreenKeys real(owner.hwnd(), handlers());
    real.registerKeys();
    EXPECT_FALSE(isFree(probe.hwnd(), 0, VK_SNAPSHOT));
    EXPECT_FALSE(isFree(probe.hwnd(), MOD_ALT, VK_SNAPSHOT));
    real.unregisterKeys();
    EXPECT_TRUE(isFree(probe.hwnd(), 0, VK_SNAPSHOT));
    EXPECT_TRUE(isFree(probe.hwnd(), MOD_ALT, VK_SNAPSHOT));
}

TEST_F(PrintScreen, TakenOverKeysRunTheirCapture) {
    // Always scope: whichever program is active.
    state.hookHotKeyChecked = true;
    state.hookPrintScreenKey = true;
    state.hookAltPrintScreenKey = true;
    EXPECT_EQ(run(press(1111)), PrintScreenAction::ScreenCapture);
    EXPECT_EQ(run(press(1112)), PrintScreenAction::WindowCapture);
    EXPECT_EQ(screen, 1);
    EXPECT_EQ(window, 1);

    // Active-only scope while the program is active.
    state = {};
    state.notHookHotKeyChecked = true;
    state.applicationActive = true;
    state.hookAltPrintScreenKey = true;
    EXPECT_EQ(run(press(1112)), PrintScreenAction::WindowCapture);
    EXPECT_EQ(window, 2);
    EXPECT_EQ(screen, 1);
    EXPECT_TRUE(sys.calls.empty()) << "a taken-over key must stay registered";
}

TEST_F(PrintScreen, KeysNotTakenOverAreHandedBackToTheSystem) {
    // Default settings.
    EXPECT_EQ(run(press(1111)), PrintScreenAction::HandBack);
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"unregister W 1111", "keybd 44 0 0 0", "register W 1111 0 44"}));
    sys.calls.clear();

    // Active-only scope with both settings on, another program active.
    state.notHookHotKeyChecked = true;
    state.applicationActive = false;
    state.hookPrintScreenKey = true;
    state.hookAltPrintScreenKey = true;
    EXPECT_EQ(run(press(1112)), PrintScreenAction::HandBack);
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"unregister W 1112", "keybd 44 1 0 0", "register W 1112 1 44"}));
    sys.calls.clear();

    // Always scope, but only PrintScreen is taken over.
    state = {};
    state.hookHotKeyChecked = true;
    state.hookPrintScreenKey = true;
    EXPECT_EQ(run(press(1112)), PrintScreenAction::HandBack);
    EXPECT_EQ(run(press(1111)), PrintScreenAction::ScreenCapture);
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"unregister W 1112", "keybd 44 1 0 0", "register W 1112 1 44"}));
    EXPECT_EQ(screen, 1);
    EXPECT_EQ(window, 0);
}

TEST_F(PrintScreen, OtherMessagesAreLeftAlone) {
    state.hookHotKeyChecked = true;
    state.hookPrintScreenKey = true;
    MSG key{};
    key.hwnd = owner.hwnd();
    key.message = WM_KEYDOWN;
    key.wParam = VK_SNAPSHOT;
    EXPECT_EQ(run(key), PrintScreenAction::None);
    EXPECT_EQ(stateAsked, 0) << "the state is only needed for hot keys";
    EXPECT_EQ(run(hotKeyMsg(owner.hwnd(), 1, MOD_SHIFT | MOD_CONTROL, 'C')), PrintScreenAction::None);
    EXPECT_EQ(run(hotKeyMsg(owner.hwnd(), 1111, 0, 'P')), PrintScreenAction::None);
    EXPECT_EQ(run(hotKeyMsg(owner.hwnd(), 1113, 0, VK_SNAPSHOT)), PrintScreenAction::None);
    EXPECT_EQ(screen + window, 0);
    EXPECT_TRUE(sys.calls.empty());
}

TEST_F(PrintScreen, AFailingCaptureIsReportedAndTheFilterGoesOn) {
    state.hookHotKeyChecked = true;
    state.hookPrintScreenKey = true;
    sys.window = owner.hwnd();
    PrintScreenHandlers h = handlers();
    h.screenCapture = [this] {
        ++screen;
        throw std::runtime_error("no screen");
    };
    PrintScreenKeys keys(owner.hwnd(), h, sys.make());
    MessageBoxCatcher boxes;
    bool handled = true;
    EXPECT_NO_THROW(keys.filter(press(1111), handled));
    EXPECT_FALSE(handled);
    EXPECT_NO_THROW(keys.filter(press(1111), handled));
    EXPECT_EQ(screen, 2);
    EXPECT_EQ(boxes.texts, (std::vector<std::wstring>{L"no screen", L"no screen"}));
    EXPECT_FALSE(boxes.watchdogFired());
}

TEST_F(PrintScreen, AsApplicationFilterItSeesHotKeysAlsoInsideModalLoops) {
    state.hookHotKeyChecked = true;
    state.hookPrintScreenKey = true;
    sys.window = tk::app().handle();
    PrintScreenKeys keys(tk::app().handle(), handlers(), sys.make());
    int dispatchedToApp = 0;
    tk::app().onMessage = [&](MSG& m, bool& handled) {
        keys.filter(m, handled);
        // The message goes on to be dispatched: count what reaches the loop after the filter.
        if (!handled && m.message == WM_HOTKEY) ++dispatchedToApp;
    };
    PostMessageW(tk::app().handle(), WM_HOTKEY, 1111, MAKELPARAM(0, VK_SNAPSHOT));
    EXPECT_TRUE(pumpUntil([&] { return screen == 1; }));

    // The same inside one of the program's own modal windows.
    TestForm dialog;
    ASSERT_TRUE(dialog.create(300, 300));
    int ticks = 0;
    tk::Timer t(dialog, 20, [&] {
        if (++ticks == 1) PostMessageW(tk::app().handle(), WM_HOTKEY, 1111, MAKELPARAM(0, VK_SNAPSHOT));
        if (screen == 2 || ticks > 100) dialog.setModalResult(IDOK);
    });
    dialog.showModal();
    tk::app().onMessage = nullptr;
    EXPECT_EQ(screen, 2);
    EXPECT_EQ(dispatchedToApp, 2);
}

TEST_F(PrintScreen, ARealHandBackLeavesTheKeyRegisteredAndDoesNotComeBack) {
    owner.show();
    SetForegroundWindow(owner.hwnd());
    PrintScreenKeys keys(owner.hwnd(), handlers());  // real system calls
    keys.registerKeys();
    ASSERT_FALSE(isFree(probe.hwnd(), 0, VK_SNAPSHOT));
    std::vector<WPARAM> hotKeys;
    tk::app().onMessage = [&](MSG& m, bool& handled) {
        if (m.message != WM_HOTKEY) return;
        hotKeys.push_back(m.wParam);
        // A key that kept coming back would never let the loop end: stop
        // handing it back after a few rounds so the test fails instead.
        if (hotKeys.size() < 5) keys.filter(m, handled);
    };
    PostMessageW(owner.hwnd(), WM_HOTKEY, 1111, MAKELPARAM(0, VK_SNAPSHOT));
    pumpFor(400);
    tk::app().onMessage = nullptr;
    keybd_event(VK_SNAPSHOT, 0, KEYEVENTF_KEYUP, 0);  // the user lets go of the key
    pumpFor(50);
    // The synthesized press went to the system, not back to us as a hot key.
    EXPECT_EQ(hotKeys, (std::vector<WPARAM>{1111}));
    EXPECT_FALSE(isFree(probe.hwnd(), 0, VK_SNAPSHOT));
    EXPECT_FALSE(isFree(probe.hwnd(), MOD_ALT, VK_SNAPSHOT));
    keys.unregisterKeys();
    EXPECT_EQ(screen + window, 0);
}
