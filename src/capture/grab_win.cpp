#include "capture/grab_win.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/parallel.h"
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

// Draws `cursor` into a 32-bit picture with its hot spot at (x, y): only the
// cursor's square goes through a bitmap.
void drawCursorInto(image::Dib& dib, HCURSOR cursor, int x, int y) {
    const POINT hot = hotSpot(cursor);
    x -= static_cast<int>(hot.x);
    y -= static_cast<int>(hot.y);
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = std::min(dib.width(), x + 32), bottom = std::min(dib.height(), y + 32);
    if (left >= right || top >= bottom) return;
    tk::DibSection part(right - left, bottom - top, 32);
    if (!part) return;
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
    for (int row = top; row < bottom; ++row) std::memcpy(part.row(row - top), dib.scanLine(row) + left * 4, bytes);
    {
        tk::MemoryDC mem;
        tk::Select sel(mem, part.handle());
        DrawIconEx(mem, x - left, y - top, cursor, 32, 32, 0, nullptr, DI_NORMAL);
        GdiFlush();
    }
    for (int row = top; row < bottom; ++row) std::memcpy(dib.scanLine(row) + left * 4, part.row(row - top), bytes);
}

// Copies r (screen coordinates) from the DC of `window` (the screen's for
// none), where r's top-left corner lies at srcOrigin, and draws the
// pointer's cursor in when asked and inside r.
//
// The pixels come in bands, two threads each with a DC and a band bitmap of
// its own: while one thread waits for the display to hand over a band, the
// other puts the band before into the picture. A band's bitmap is used again
// for the next, so the memory the display copies into stays warm.
constexpr int kBand = 64;  // rows: 1 MB at 3840 pixels

image::Dib grabFrom(HWND window, tk::WindowDC::Kind kind, POINT srcOrigin, const RECT& r, bool withCursor) {
    const int w = std::max(0L, r.right - r.left), h = std::max(0L, r.bottom - r.top);
    if (w == 0 || h == 0) return image::Dib();
    image::Dib dib(w, h, 32);
    const int bands = (h + kBand - 1) / kBand;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    auto work = [&] {
        tk::WindowDC src(window, kind);
        tk::DibSection band(w, std::min(kBand, h), 32);
        if (!src.get() || !band) {
            failed = true;
            return;
        }
        tk::MemoryDC mem(src);
        tk::Select sel(mem, band.handle());
        for (int b; (b = next++) < bands;) {
            const int top = b * kBand, rows = std::min(kBand, h - top);
            BitBlt(mem, 0, 0, w, rows, src, srcOrigin.x, srcOrigin.y + top, SRCCOPY | CAPTUREBLT);
            GdiFlush();
            for (int y = 0; y < rows; ++y) std::memcpy(dib.scanLine(top + y), band.row(y), dib.rowBytes());
        }
    };
    runOnThreads(bands > 1 ? 2 : 1, work);
    if (failed && next.load() <= bands) throw image::ImageError(image::outOfMemoryMessage(w, h));
    if (withCursor) {
        POINT p;
        GetCursorPos(&p);
        if (PtInRect(&r, p))
            if (HCURSOR c = pointerCursor()) drawCursorInto(dib, c, p.x - r.left, p.y - r.top);
    }
    return dib;
}

image::Dib grabWindow(HWND window, bool withCursor) {
    RECT r{};
    GetWindowRect(window, &r);
    return grabFrom(window, tk::WindowDC::Whole, POINT{0, 0}, r, withCursor);
}

image::Dib grabScreenRect(const Rect& area, bool withCursor) {
    // The screen's DC spans every monitor in screen coordinates.
    return grabFrom(nullptr, tk::WindowDC::Client, POINT{area.left, area.top},
                    RECT{area.left, area.top, area.right, area.bottom}, withCursor);
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
