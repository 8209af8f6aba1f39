#include "capture/grab_win.h"

#include <algorithm>
#include <cstring>

#include "image/image_error.h"
#include "toolkit/gdi_win.h"

namespace hueloom::capture {

HCURSOR pointerCursor(DWORD ownThread) {
    POINT p;
    GetCursorPos(&p);
    HWND w = WindowFromPoint(p);
    DWORD thread = GetWindowThreadProcessId(w, nullptr);
    if (thread == ownThread) return nullptr;
    DWORD self = GetCurrentThreadId();
    if (thread && thread != self && AttachThreadInput(self, thread, TRUE)) {
        HCURSOR c = GetCursor();
        AttachThreadInput(self, thread, FALSE);
        return c;
    }
    return GetCursor();
}

image::Dib grabWindow(HWND window, bool drawCursor, DWORD ownThread) {
    RECT r{};
    GetWindowRect(window, &r);
    const int w = std::max(0L, r.right - r.left), h = std::max(0L, r.bottom - r.top);
    if (w == 0 || h == 0) return image::Dib();
    tk::DibSection section(w, h, 32);
    if (!section) throw image::ImageError("画像を作成できません (メモリ不足)");
    {
        tk::WindowDC src(window, tk::WindowDC::Whole);
        tk::MemoryDC mem(src);
        tk::Select sel(mem, section.handle());
        BitBlt(mem, 0, 0, w, h, src, 0, 0, SRCCOPY | CAPTUREBLT);
        POINT p;
        if (drawCursor && GetCursorPos(&p) && PtInRect(&r, p)) {
            if (HCURSOR c = pointerCursor(ownThread)) {
                ICONINFO ii{};
                if (GetIconInfo(c, &ii)) {
                    // GetIconInfo hands us copies of the cursor's bitmaps.
                    tk::Bitmap mask(ii.hbmMask), colour(ii.hbmColor);
                    DrawIconEx(mem, p.x - r.left - static_cast<int>(ii.xHotspot),
                               p.y - r.top - static_cast<int>(ii.yHotspot), c, 32, 32, 0, nullptr, DI_NORMAL);
                }
            }
        }
        GdiFlush();
    }
    // Top-down section rows → the Dib (bottom-up storage, rows by scanLine).
    image::Dib dib(w, h, 32);
    for (int y = 0; y < h; ++y) std::memcpy(dib.scanLine(y), section.row(y), dib.rowBytes());
    return dib;
}

}  // namespace hueloom::capture
