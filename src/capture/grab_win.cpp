#include "capture/grab_win.h"

#include <algorithm>
#include <cstring>

#include "image/image_error.h"
#include "image/win/dib_win.h"
#include "toolkit/gdi_win.h"

namespace hueloom::capture {

namespace {

// The hot spot of `cursor` ((0, 0) when it cannot be read).
POINT hotSpot(HCURSOR cursor) {
    ICONINFO ii{};
    if (!GetIconInfo(cursor, &ii)) return {0, 0};
    tk::Bitmap mask(ii.hbmMask), colour(ii.hbmColor);  // copies made for us
    return {static_cast<LONG>(ii.xHotspot), static_cast<LONG>(ii.yHotspot)};
}

void drawCursor(HDC dc, HCURSOR cursor, int x, int y) {
    const POINT hot = hotSpot(cursor);
    DrawIconEx(dc, x - hot.x, y - hot.y, cursor, 32, 32, 0, nullptr, DI_NORMAL);
}

}  // namespace

HCURSOR pointerCursor() {
    POINT p;
    GetCursorPos(&p);
    HWND w = WindowFromPoint(p);
    DWORD thread = GetWindowThreadProcessId(w, nullptr);
    DWORD self = GetCurrentThreadId();
    if (thread == self) return nullptr;
    if (thread && AttachThreadInput(self, thread, TRUE)) {
        HCURSOR c = GetCursor();
        AttachThreadInput(self, thread, FALSE);
        return c;
    }
    return GetCursor();
}

// Copies r (screen coordinates) from `src`, where r's top-left corner lies at
// srcOrigin, and draws the pointer's cursor in when asked and inside r.
image::Dib grabFrom(HDC src, POINT srcOrigin, const RECT& r, bool withCursor) {
    const int w = std::max(0L, r.right - r.left), h = std::max(0L, r.bottom - r.top);
    if (w == 0 || h == 0) return image::Dib();
    tk::DibSection section(w, h, 32);
    if (!section) throw image::ImageError(image::outOfMemoryMessage(w, h));
    {
        tk::MemoryDC mem(src);
        tk::Select sel(mem, section.handle());
        BitBlt(mem, 0, 0, w, h, src, srcOrigin.x, srcOrigin.y, SRCCOPY | CAPTUREBLT);
        if (withCursor) {
            POINT p;
            GetCursorPos(&p);
            if (PtInRect(&r, p))
                if (HCURSOR c = pointerCursor()) drawCursor(mem, c, p.x - r.left, p.y - r.top);
        }
        GdiFlush();
    }
    // Top-down section rows → the Dib (bottom-up storage, rows by scanLine).
    image::Dib dib(w, h, 32);
    for (int y = 0; y < h; ++y) std::memcpy(dib.scanLine(y), section.row(y), dib.rowBytes());
    return dib;
}

image::Dib grabWindow(HWND window, bool withCursor) {
    RECT r{};
    GetWindowRect(window, &r);
    tk::WindowDC src(window, tk::WindowDC::Whole);
    return grabFrom(src, POINT{0, 0}, r, withCursor);
}

image::Dib grabScreenRect(const Rect& area, bool withCursor) {
    // The screen's DC spans every monitor in screen coordinates.
    tk::WindowDC src(nullptr);
    return grabFrom(src, POINT{area.left, area.top}, RECT{area.left, area.top, area.right, area.bottom}, withCursor);
}

void stampCursor(HBITMAP target, HCURSOR cursor, int x, int y) {
    tk::MemoryDC mem;
    tk::Select sel(mem, target);
    drawCursor(mem, cursor, x, y);
    GdiFlush();
}

image::Dib stampCursor(const image::Dib& picture, HCURSOR cursor, int x, int y) {
    tk::Bitmap bmp = image::createBitmap(picture);
    stampCursor(bmp.get(), cursor, x, y);
    return image::dibFromBitmap(bmp.get());
}

}  // namespace hueloom::capture
