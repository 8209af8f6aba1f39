#include "core/shortcut_text.h"

#include "core/ansi_text.h"

namespace hueloom {

namespace {

const char* fixedName(uint8_t key) {
    switch (key) {
    case vk::kBack: return "BkSp";
    case vk::kTab: return "Tab";
    case vk::kReturn: return "Enter";
    case vk::kEscape: return "Esc";
    case vk::kSpace: return "Space";
    case vk::kPrior: return "PgUp";
    case vk::kNext: return "PgDn";
    case vk::kEnd: return "End";
    case vk::kHome: return "Home";
    case vk::kLeft: return "Left";
    case vk::kUp: return "Up";
    case vk::kRight: return "Right";
    case vk::kDown: return "Down";
    case vk::kInsert: return "Ins";
    case vk::kDelete: return "Del";
    default: return nullptr;
    }
}

}  // namespace

std::string keyName(uint8_t key, const KeyNameFn& platformName) {
    if (key == 0) return {};
    if (key >= vk::k0 && key <= vk::k0 + 9) return std::string(1, static_cast<char>(key));
    if (key >= vk::kA && key <= vk::kA + 25) return std::string(1, static_cast<char>(key));
    if (key >= vk::kNumpad0 && key <= vk::kNumpad0 + 9)
        return std::string(1, static_cast<char>('0' + (key - vk::kNumpad0)));
    if (key >= vk::kF1 && key <= vk::kF24) {
        std::string name(1, 'F');
        name += std::to_string(key - vk::kF1 + 1);
        return name;
    }
    if (const char* name = fixedName(key)) return name;
    if (platformName) return platformName(key);
    return {};
}

std::string shortcutToText(uint16_t shortcut, const KeyNameFn& platformName) {
    const std::string name = keyName(static_cast<uint8_t>(shortcut & 0xFF), platformName);
    if (name.empty()) return {};
    std::string text;
    if (shortcut & kShortcutShift) text += "Shift+";
    if (shortcut & kShortcutCtrl) text += "Ctrl+";
    if (shortcut & kShortcutAlt) text += "Alt+";
    return text + name;
}

uint16_t parseShortcut(std::string_view text, const KeyNameFn& platformName) {
    uint16_t modifiers = 0;
    for (;;) {
        if (startsWithIgnoreCase(text, "Shift+")) {
            modifiers |= kShortcutShift;
            text.remove_prefix(6);
        } else if (startsWithIgnoreCase(text, "^")) {
            modifiers |= kShortcutCtrl;
            text.remove_prefix(1);
        } else if (startsWithIgnoreCase(text, "Ctrl+")) {
            modifiers |= kShortcutCtrl;
            text.remove_prefix(5);
        } else if (startsWithIgnoreCase(text, "Alt+")) {
            modifiers |= kShortcutAlt;
            text.remove_prefix(4);
        } else {
            break;
        }
    }
    if (text.empty()) return 0;
    for (unsigned key = 1; key <= 0xFF; ++key) {
        const std::string name = keyName(static_cast<uint8_t>(key), platformName);
        if (!name.empty() && equalsIgnoreCase(text, name)) return static_cast<uint16_t>(key | modifiers);
    }
    return 0;
}

}  // namespace hueloom
