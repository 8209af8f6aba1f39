// A window's client area as drawn by WM_PRINTCLIENT into a 32-bit DIB, for
// checking pixels in the Windows-side tests.
#pragma once
#include <windows.h>

#include <algorithm>

#include "toolkit/gdi_win.h"

class ClientSnapshot {
public:
    explicit ClientSnapshot(HWND h) {
        RECT rc;
        GetClientRect(h, &rc);
        dib_ = tk::DibSection(rc.right, rc.bottom, 32);
        tk::MemoryDC mem(nullptr);
        tk::Select sel(mem, dib_.handle());
        SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.get()), PRF_CLIENT);
        GdiFlush();
    }
    int width() const { return dib_.width(); }
    int height() const { return dib_.height(); }
    COLORREF at(int x, int y) const {
        const BYTE* p = dib_.row(y) + x * 4;
        return RGB(p[2], p[1], p[0]);
    }
    // Pixels of one colour, in the whole picture or inside r.
    int count(COLORREF c) const { return count(c, RECT{0, 0, width(), height()}); }
    int count(COLORREF c, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }
    // Smallest and largest x and y of the pixels of one colour (inclusive);
    // {width, height, -1, -1} when there are none.
    RECT box(COLORREF c) const {
        RECT r{width(), height(), -1, -1};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (at(x, y) == c) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x);
                    r.bottom = std::max<LONG>(r.bottom, y);
                }
        return r;
    }

private:
    tk::DibSection dib_;
};
