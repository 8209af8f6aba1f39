#include "hotkeys/print_screen_win.h"

#include <utility>

#include "toolkit/application_win.h"

namespace hueloom::hotkeys {

PrintScreenSystem PrintScreenSystem::real() {
    PrintScreenSystem s;
    s.registerHotKey = [](HWND w, int id, UINT mods, UINT vk) { return RegisterHotKey(w, id, mods, vk); };
    s.unregisterHotKey = [](HWND w, int id) { return UnregisterHotKey(w, id); };
    s.keybdEvent = [](BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) { keybd_event(vk, scan, flags, extra); };
    return s;
}

PrintScreenKeys::PrintScreenKeys(HWND window, PrintScreenHandlers handlers, PrintScreenSystem system)
    : window_(window), handlers_(std::move(handlers)), system_(std::move(system)) {}

void PrintScreenKeys::registerKeys() {
    system_.registerHotKey(window_, kPrintScreenId, 0, vk::kSnapshot);
    system_.registerHotKey(window_, kAltPrintScreenId, kModAlt, vk::kSnapshot);
}

void PrintScreenKeys::unregisterKeys() {
    system_.unregisterHotKey(window_, kPrintScreenId);
    system_.unregisterHotKey(window_, kAltPrintScreenId);
}

PrintScreenAction PrintScreenKeys::filter(const MSG& msg, bool& handled) {
    handled = false;
    // Most messages are not hot keys: don't ask for the state then.
    if (msg.message != kWmHotKey) return PrintScreenAction::None;
    const PrintScreenState state = handlers_.state ? handlers_.state() : PrintScreenState{};
    const PrintScreenOutcome out =
        printScreenFilter(msg.message, msg.wParam, static_cast<uintptr_t>(msg.lParam), state);
    switch (out.action) {
    case PrintScreenAction::None: break;
    case PrintScreenAction::ScreenCapture:
        if (handlers_.screenCapture) tk::app().guarded(handlers_.screenCapture);
        break;
    case PrintScreenAction::WindowCapture:
        if (handlers_.windowCapture) tk::app().guarded(handlers_.windowCapture);
        break;
    case PrintScreenAction::HandBack:
        // While our registration is gone the synthesized press reaches the
        // system's own PrintScreen handling instead of coming back to us.
        system_.unregisterHotKey(window_, out.id);
        system_.keybdEvent(vk::kSnapshot, out.scanCode, 0, 0);
        system_.registerHotKey(window_, out.id, out.modifiers, vk::kSnapshot);
        break;
    }
    handled = false;
    return out.action;
}

}  // namespace hueloom::hotkeys
