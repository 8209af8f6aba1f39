#pragma once
// Platform-free parts of the hot keys: the modifier mapping for the system's
// hot-key registration, the choice of the initial scope, the dispatch of the
// four hot keys, and the PrintScreen / Alt+PrintScreen take-over rule.

#include <cstdint>
#include <optional>
#include <string>

#include "core/shortcut_text.h"

namespace hueloom::hotkeys {

// The system's hot-key modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT).
enum HotKeyModifier : unsigned { kModAlt = 1, kModControl = 2, kModShift = 4 };

inline constexpr uint32_t kWmHotKey = 0x0312;

// Identifiers of the two PrintScreen registrations on the application window.
enum PrintScreenId : int { kPrintScreenId = 1111, kAltPrintScreenId = 1112 };

// Hot-key indexes; each is also the registration identifier in the always scope.
enum HotKeyIndex : int { kHotKeyGetColor = 1, kHotKeyScreenCapture, kHotKeyWindowCapture, kHotKeyRectCapture };

// Arguments for RegisterHotKey.
struct HotKeyRegistration {
    unsigned modifiers;  // kModAlt | kModControl | kModShift
    unsigned virtualKey;  // the shortcut without its three modifier bits
};

// Shortcut word ($2000 Shift, $4000 Ctrl, $8000 Alt, key in the low bits) ->
// RegisterHotKey arguments. An empty shortcut gives (0, 0), passed on as is.
HotKeyRegistration toRegistration(uint16_t shortcut);

enum class HotKeyScope { ActiveOnly, Always };

// The scope chosen at start-up by the HookHotKey text: exactly "Off" or "On"
// (letter case counts). Any other text chooses nothing: the menu keeps its
// initial active-only check and nothing is registered.
std::optional<HotKeyScope> initialScope(const std::string& hookHotKeyText);

// What the main window offers to the hot-key dispatch.
class HotKeyCommands {
public:
    virtual ~HotKeyCommands() = default;
    virtual bool savePictureDialogOpen() = 0;
    virtual void copyColour() = 0;  // pmnuIroCopyClick
    virtual void screenCapture() = 0;
    virtual void windowCapture() = 0;
    virtual void rectCapture() = 0;
    // Sets HookHotKey1.Activate (bring the main window forward on later keys).
    virtual void setActivate(bool on) = 0;
};

// HookHotKey1HotKey: runs the command of hot key `index` (1..4); nothing for
// any other index or while the save-picture dialog is open. Index 4 first
// sets Activate to true.
void dispatchHotKey(int index, HotKeyCommands& commands);

// State the PrintScreen filter looks at.
struct PrintScreenState {
    bool hookHotKeyChecked = false;  // mnuHookHotKey ("always")
    bool notHookHotKeyChecked = false;  // mnuNotHookHotKey ("active-only")
    bool applicationActive = false;  // this program is the active application
    bool hookPrintScreenKey = false;  // setting HookPrintScreenKey
    bool hookAltPrintScreenKey = false;  // setting HookAltPrintScreenKey
};

// Whether PrintScreen (id 1111) or Alt+PrintScreen (id 1112) is taken over
// by the program: the scope allows it (always, or active-only while the
// program is active) and the key's own setting is on. False for other ids.
bool isTakenOver(int id, const PrintScreenState& state);

enum class PrintScreenAction {
    None,  // not a PrintScreen hot key
    ScreenCapture,  // run the screen-capture command
    WindowCapture,  // run the active-window-capture command
    HandBack,  // give the key back to the system (see below)
};

struct PrintScreenOutcome {
    PrintScreenAction action = PrintScreenAction::None;
    int id = 0;  // 1111 or 1112 when the message matched
    unsigned modifiers = 0;  // registration modifiers of that id (0 / kModAlt)
    uint8_t scanCode = 0;  // scan code for keybd_event when handing back (0 / 1)
};

// The application-wide message filter's decision for one message. A message
// matches when it is WM_HOTKEY, wParam is 1111 or 1112 and the high word of
// lParam is VK_SNAPSHOT. Handing back means: UnregisterHotKey(id);
// keybd_event(VK_SNAPSHOT, scanCode, 0, 0); RegisterHotKey(id, modifiers,
// VK_SNAPSHOT). The filter always lets the message be dispatched normally.
PrintScreenOutcome printScreenFilter(uint32_t message, uintptr_t wParam, uintptr_t lParam,
                                     const PrintScreenState& state);

}  // namespace hueloom::hotkeys
