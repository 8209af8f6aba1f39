// THookHotKey: turns system-wide hot keys into an event. It owns a hidden
// window of its own, registers key combinations for that window with the
// system, and raises OnHotKey with the registration identifier whenever the
// system posts WM_HOTKEY for one of them, whichever program is active.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>

namespace tk {
class Window;
}

namespace hueloom::hotkeys {

class THookHotKey {
public:
    // `owner` is the window brought to the front when Activate is on. Its
    // handle is looked up each time, so the owner may re-create its window.
    explicit THookHotKey(tk::Window& owner);
    virtual ~THookHotKey();
    THookHotKey(const THookHotKey&) = delete;
    THookHotKey& operator=(const THookHotKey&) = delete;

    // Registers `shortcut` (low byte the key, $2000 Shift, $4000 Ctrl,
    // $8000 Alt) under the identifier `index`. An earlier registration under
    // the same identifier is dropped first, so the combination it replaces no
    // longer reaches the program. False when the system refuses (the
    // combination is held elsewhere, or the key is invalid).
    bool AddHotKey(int index, uint16_t shortcut);
    // Drops the registration `index`; false when there is none.
    bool RemoveHotKey(int index);

    // Called for every WM_HOTKEY of the hidden window. With a handler set:
    // brings the owner to the front first when Activate is on, then calls
    // OnHotKey(index). Without a handler nothing happens at all.
    virtual void DoHotKey(int index);

    // Bring the owner window to the front before raising OnHotKey.
    bool Activate = true;
    std::function<void(int index)> OnHotKey;

    // The hidden window that receives the hot keys.
    HWND handle() const;

private:
    class HiddenWindow;
    tk::Window& owner_;
    std::unique_ptr<HiddenWindow> window_;
    std::set<int> registered_;  // identifiers to drop on destruction
};

}  // namespace hueloom::hotkeys
