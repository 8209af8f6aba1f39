#include "hotkeys/hook_hotkey_win.h"

#include "hotkeys/hotkeys.h"
#include "toolkit/application_win.h"
#include "toolkit/form_win.h"

namespace hueloom::hotkeys {

// A hidden top-level tool window; never shown, it only receives WM_HOTKEY.
class THookHotKey::HiddenWindow : public tk::Window {
public:
    explicit HiddenWindow(THookHotKey& owner) : owner_(owner) {
        registerClass(L"THookHotKeyWindow");
        createWindow(L"THookHotKeyWindow", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr);
    }

    LRESULT wndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_HOTKEY) {
            const int index = static_cast<int>(wp);
            // A failing handler is reported like any failed command; the
            // window stays and later hot keys arrive as before.
            tk::app().guarded([&] { owner_.DoHotKey(index); });
            return 0;
        }
        return defaultProc(msg, wp, lp);
    }

private:
    THookHotKey& owner_;
};

THookHotKey::THookHotKey(tk::Window& owner) : owner_(owner), window_(std::make_unique<HiddenWindow>(*this)) {}

THookHotKey::~THookHotKey() {
    if (HWND h = handle()) {
        for (int id : registered_) UnregisterHotKey(h, id);
    }
    window_.reset();
}

HWND THookHotKey::handle() const { return window_ ? window_->hwnd() : nullptr; }

bool THookHotKey::AddHotKey(int index, uint16_t shortcut) {
    HWND h = handle();
    if (!h) return false;
    // The system may keep a second registration under the same identifier
    // next to the first one, or refuse re-registering the same combination;
    // dropping the old one first avoids both. Unregistering an identifier
    // that is not registered does nothing.
    UnregisterHotKey(h, index);
    registered_.erase(index);
    const HotKeyRegistration r = toRegistration(shortcut);
    if (!RegisterHotKey(h, index, r.modifiers, r.virtualKey)) return false;
    registered_.insert(index);
    return true;
}

bool THookHotKey::RemoveHotKey(int index) {
    HWND h = handle();
    if (!h) return false;
    registered_.erase(index);
    return UnregisterHotKey(h, index) != FALSE;
}

void THookHotKey::DoHotKey(int index) {
    if (!OnHotKey) return;
    if (Activate && owner_.hwnd()) SetForegroundWindow(owner_.hwnd());
    OnHotKey(index);
}

}  // namespace hueloom::hotkeys
