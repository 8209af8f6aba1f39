#include "toolkit/dpi_win.h"

#include "core/dpi.h"

namespace tk {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using DpiForSystem = UINT(WINAPI*)();

struct DpiFunctions {
    DpiForWindow forWindow = nullptr;
    DpiForSystem forSystem = nullptr;
    DpiFunctions() {
        if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
            forWindow =
                reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForWindow")));
            forSystem =
                reinterpret_cast<DpiForSystem>(reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForSystem")));
        }
    }
};

const DpiFunctions& functions() {
    static const DpiFunctions f;
    return f;
}

}  // namespace

int windowDpi(HWND hwnd) {
    const DpiFunctions& f = functions();
    UINT dpi = 0;
    if (hwnd && f.forWindow) dpi = f.forWindow(hwnd);
    if (!dpi && f.forSystem) dpi = f.forSystem();
    if (!dpi) {
        HDC screen = GetDC(nullptr);
        if (screen) {
            dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
            ReleaseDC(nullptr, screen);
        }
    }
    return dpi ? static_cast<int>(dpi) : hueloom::kBaseDpi;
}

}  // namespace tk
