#include "toolkit/gdi_win.h"

#include "core/dpi.h"
#include "core/texts.h"

namespace tk {

Font makeFont(int pixels, int dpi, int weight, bool underline) {
    return Font(CreateFontW(-hueloom::scale(pixels, dpi), 0, 0, 0, weight, 0, underline, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                            0, hueloom::wideText("gdi.1")));
}

Region copyRegion(HRGN src) {
    Region r(CreateRectRgn(0, 0, 0, 0));
    if (src) CombineRgn(r, src, nullptr, RGN_COPY);
    return r;
}

Region windowRegion(HWND hwnd) {
    Region r(CreateRectRgn(0, 0, 0, 0));
    int kind = GetWindowRgn(hwnd, r);
    if (kind == ERROR) r.reset();
    return r;
}

DibSection::DibSection(int width, int height, int bpp) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bpp);
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bmp_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bmp_) {
        bits_ = static_cast<BYTE*>(bits);
        w_ = width;
        h_ = height;
        stride_ = ((width * bpp + 31) / 32) * 4;
    }
}

COLORREF resolveColour(unsigned value) {
    if (value & 0x80000000u) return GetSysColor(static_cast<int>(value & 0xFF));
    if (value == 0x1FFFFFFFu) return RGB(0, 0, 0);  // clNone
    if (value == 0x20000000u) return GetSysColor(COLOR_WINDOW);  // clDefault
    return static_cast<COLORREF>(value & 0x00FFFFFFu);
}

}  // namespace tk
