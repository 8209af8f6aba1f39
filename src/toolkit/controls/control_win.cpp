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
        RECT clip;
        if (GetClipBox(pdc, &clip) == NULLREGION || clip.right <= clip.left || clip.bottom <= clip.top) return 0;
        if (doubleBuffered_ && !paintsOver(clip)) {
            // The buffer covers only what is to be painted: a control as
            // large as a big picture would otherwise need a second picture.
            const int w = clip.right - clip.left, h = clip.bottom - clip.top;
            MemoryDC mem(pdc);
            Bitmap bmp(CreateCompatibleBitmap(pdc, w, h));
            Select sel(mem, bmp);
            SetViewportOrgEx(mem, -clip.left, -clip.top, nullptr);
            paint(mem, rc);
            SetViewportOrgEx(mem, 0, 0, nullptr);
            BitBlt(pdc, clip.left, clip.top, w, h, mem, 0, 0, SRCCOPY);
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
