#include "toolkit/controls/control_win.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/application_win.h"

namespace tk {

// ---------------------------------------------------------------- Control

bool Control::create(const wchar_t* cls, HWND parent, int x, int y, int w, int h, DWORD style, DWORD exStyle) {
    registerClass(cls, CS_DBLCLKS);
    return createWindow(cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, exStyle, x, y, w, h, parent);
}

LRESULT Control::wndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDC pdc(hwnd_);
        RECT rc = clientRect();
        if (doubleBuffered_) {
            MemoryDC mem(pdc);
            Bitmap bmp(CreateCompatibleBitmap(pdc, std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
            Select sel(mem, bmp);
            paint(mem, rc);
            BitBlt(pdc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
        } else {
            paint(pdc, rc);
        }
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT rc = clientRect();
        paint(reinterpret_cast<HDC>(wp), rc);
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

void paintParentBehind(HWND child, HDC dc) {
    HWND parent = GetParent(child);
    POINT org{0, 0};
    MapWindowPoints(child, parent, &org, 1);
    SavedDC saved(dc);
    SetViewportOrgEx(dc, -org.x, -org.y, nullptr);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
}

}  // namespace tk
