// PrintScreen and Alt+PrintScreen: registered system-wide on the application
// window for the whole run; an application-wide message filter decides on
// every press whether the program captures or hands the key back to the
// system, which then performs its own snapshot.
#pragma once
#include <windows.h>

#include <functional>

#include "hotkeys/hotkeys.h"

namespace hueloom::hotkeys {

// The system calls used for the registrations and the hand-back; tests put
// their own in place to watch them.
struct PrintScreenSystem {
    std::function<BOOL(HWND, int id, UINT modifiers, UINT vk)> registerHotKey;
    std::function<BOOL(HWND, int id)> unregisterHotKey;
    std::function<void(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra)> keybdEvent;

    // RegisterHotKey, UnregisterHotKey and keybd_event.
    static PrintScreenSystem real();
};

// What the owner of the keys supplies: the current state (asked only when a
// PrintScreen hot key arrives) and the two capture commands.
struct PrintScreenHandlers {
    std::function<PrintScreenState()> state;
    std::function<void()> screenCapture;  // PrintScreen taken over
    std::function<void()> windowCapture;  // Alt+PrintScreen taken over
};

class PrintScreenKeys {
public:
    // `window` is the window the keys are registered on: the application
    // window.
    PrintScreenKeys(HWND window, PrintScreenHandlers handlers, PrintScreenSystem system = PrintScreenSystem::real());

    // Registers 1111 (PrintScreen) and 1112 (Alt+PrintScreen). Results are
    // not looked at: a key held by another program stays with it.
    void registerKeys();
    // Drops both registrations.
    void unregisterKeys();

    // The application message filter: looks at one message taken from the
    // queue. A PrintScreen hot key is either captured (taken over) or handed
    // back: unregistered, pressed again for the system with keybd_event
    // (scan code 0 for PrintScreen, 1 for Alt+PrintScreen), registered
    // again. `handled` is always left false so the message is dispatched as
    // usual. A failing capture is reported and does not leave the filter.
    // Returns what was done, for the caller's and the tests' information.
    PrintScreenAction filter(const MSG& msg, bool& handled);

    HWND window() const { return window_; }

private:
    HWND window_;
    PrintScreenHandlers handlers_;
    PrintScreenSystem system_;
};

}  // namespace hueloom::hotkeys
