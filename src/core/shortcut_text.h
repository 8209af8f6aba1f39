#pragma once
// Shortcut values and their text form ("Shift+Ctrl+C").
//
// A shortcut is 16 bits: the virtual-key code in the low byte, plus
// kShortcutShift, kShortcutCtrl and kShortcutAlt. 0 means "no key".

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace hueloom {

inline constexpr uint16_t kShortcutShift = 0x2000;
inline constexpr uint16_t kShortcutCtrl = 0x4000;
inline constexpr uint16_t kShortcutAlt = 0x8000;

// The virtual-key codes the program names itself (same numbers as the
// platform's VK_ constants).
// '0'..'9' are k0 + 0..9, 'A'..'Z' kA + 0..25, the numeric pad's digits
// kNumpad0 + 0..9, F1..F24 kF1 + 0..23; kPrior is Page Up, kNext Page Down,
// kSnapshot PrintScreen.
namespace vk {
// clang-format off
enum VirtualKey : uint8_t {
    kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kEscape = 0x1B, kSpace = 0x20,
    kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24,
    kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
    kSnapshot = 0x2C, kInsert = 0x2D, kDelete = 0x2E,
    k0 = 0x30, kA = 0x41, kNumpad0 = 0x60, kF1 = 0x70, kF24 = 0x87,
};
// clang-format on
}  // namespace vk

// Supplies the platform's name for a key the program does not name itself
// (on Windows from GetKeyNameText); an empty result means "no name". An empty
// function names no such key.
using KeyNameFn = std::function<std::string(uint8_t virtualKey)>;

// The name of a key alone: "A", "7" (also for the numeric-pad 7), "F12",
// "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End", "Home",
// "Left", "Up", "Right", "Down", "Ins", "Del", else platformName(key).
// Empty for key 0 or a key without a name.
std::string keyName(uint8_t virtualKey, const KeyNameFn& platformName = {});

// Shortcut -> text: "Shift+", "Ctrl+", "Alt+" (in this order, for the
// modifiers present) and the key's name. Empty when the shortcut has no key
// or its key has no name. 24643 -> "Shift+Ctrl+C".
std::string shortcutToText(uint16_t shortcut, const KeyNameFn& platformName = {});

// Text -> shortcut. Modifier prefixes in any order and letter case ("^" counts
// as "Ctrl+"), then the name of a key in any letter case; the first key code
// (1..255) whose name matches wins, so "7" is the main-keyboard 7. Text that
// names no key, and empty text, give 0.
uint16_t parseShortcut(std::string_view text, const KeyNameFn& platformName = {});

}  // namespace hueloom
