#include "hotkeys/hotkeys.h"

#include "core/shortcut_text.h"

namespace hueloom::hotkeys {

HotKeyRegistration toRegistration(uint16_t shortcut) {
    unsigned modifiers = 0;
    if (shortcut & kShortcutAlt) modifiers |= kModAlt;
    if (shortcut & kShortcutCtrl) modifiers |= kModControl;
    if (shortcut & kShortcutShift) modifiers |= kModShift;
    return {modifiers, static_cast<unsigned>(shortcut & ~(kShortcutShift | kShortcutCtrl | kShortcutAlt) & 0xFFFF)};
}

std::optional<HotKeyScope> initialScope(const std::string& text) {
    if (text == "Off") return HotKeyScope::ActiveOnly;
    if (text == "On") return HotKeyScope::Always;
    return std::nullopt;
}

void dispatchHotKey(int index, HotKeyCommands& commands) {
    if (commands.savePictureDialogOpen()) return;
    switch (index) {
    case kHotKeyGetColor: commands.copyColour(); break;
    case kHotKeyScreenCapture: commands.screenCapture(); break;
    case kHotKeyWindowCapture: commands.windowCapture(); break;
    case kHotKeyRectCapture:
        commands.setActivate(true);
        commands.rectCapture();
        break;
    default: break;
    }
}

bool isTakenOver(int id, const PrintScreenState& s) {
    const bool scopeAllows = s.hookHotKeyChecked || (s.notHookHotKeyChecked && s.applicationActive);
    if (id == kPrintScreenId) return scopeAllows && s.hookPrintScreenKey;
    if (id == kAltPrintScreenId) return scopeAllows && s.hookAltPrintScreenKey;
    return false;
}

PrintScreenOutcome printScreenFilter(uint32_t message, uintptr_t wParam, uintptr_t lParam,
                                     const PrintScreenState& state) {
    PrintScreenOutcome out;
    if (message != kWmHotKey || ((lParam >> 16) & 0xFFFF) != vk::kSnapshot) return out;
    if (wParam == static_cast<uintptr_t>(kPrintScreenId)) {
        out.id = kPrintScreenId;
        out.modifiers = 0;
        out.scanCode = 0;
        out.action = isTakenOver(out.id, state) ? PrintScreenAction::ScreenCapture : PrintScreenAction::HandBack;
    } else if (wParam == static_cast<uintptr_t>(kAltPrintScreenId)) {
        out.id = kAltPrintScreenId;
        out.modifiers = kModAlt;
        out.scanCode = 1;
        out.action = isTakenOver(out.id, state) ? PrintScreenAction::WindowCapture : PrintScreenAction::HandBack;
    }
    return out;
}

}  // namespace hueloom::hotkeys
