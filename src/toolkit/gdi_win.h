// RAII owners for GDI objects, device contexts and regions. Nothing in the
// program calls DeleteObject, ReleaseDC or DeleteDC by hand.
#pragma once
#include <windows.h>
#include <utility>

#include "core/geometry.h"

namespace tk {

// The program's rectangle as the system's (both: right and bottom exclusive).
inline RECT toRECT(const hueloom::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Owns a handle and frees it with `Free`, the system's routine for its kind.
template <typename H, auto Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    void reset(H h = nullptr) {
        if (h_) Free(h_);
        h_ = h;
    }
    // Gives up ownership, e.g. to SetWindowRgn, which takes the region over.
    H release() { return std::exchange(h_, nullptr); }
    H get() const { return h_; }
    operator H() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

// Owns any GDI object (HBITMAP, HBRUSH, HPEN, HFONT, HRGN, HPALETTE).
template <typename H>
using Gdi = Owned<H, &DeleteObject>;
// Owns an enhanced metafile.
using EnhMetaFile = Owned<HENHMETAFILE, &DeleteEnhMetaFile>;

using Bitmap = Gdi<HBITMAP>;
using Brush = Gdi<HBRUSH>;
using Pen = Gdi<HPEN>;
using Font = Gdi<HFONT>;
using Region = Gdi<HRGN>;
using Palette = Gdi<HPALETTE>;

// The program's font: "ＭＳ Ｐゴシック" in the Shift-JIS character set,
// `pixels` high (character height) at 96 dpi, scaled to `dpi` (the dpi of
// the window it is for, tk::windowDpi), of the given weight.
Font makeFont(int pixels, int dpi, int weight, bool underline = false);

// A copy of a region (regions are mutable, so sharing one is never safe).
Region copyRegion(HRGN src);
// The window's current region, or an empty Region when it has none.
Region windowRegion(HWND hwnd);

// DC from GetDC / GetWindowDC, released for the same window it came from.
class WindowDC {
public:
    enum Kind { Client, Whole };
    explicit WindowDC(HWND hwnd, Kind kind = Client)
        : hwnd_(hwnd), dc_(kind == Client ? GetDC(hwnd) : GetWindowDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Memory DC compatible with another DC (or the screen).
// A DC of the whole display (every monitor, in screen coordinates), kept
// for as long as its owner reads the screen.
class DisplayDC {
public:
    DisplayDC() : dc_(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
    ~DisplayDC() {
        if (dc_) DeleteDC(dc_);
    }
    DisplayDC(const DisplayDC&) = delete;
    DisplayDC& operator=(const DisplayDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDC {
public:
    explicit MemoryDC(HDC ref = nullptr) : dc_(CreateCompatibleDC(ref)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    operator HDC() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class Select {
public:
    Select(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Select() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the whole DC state (mode, colours, origin, clipping) for a scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~SavedDC() {
        if (id_) RestoreDC(dc_, id_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int id_;
};

// A 24- or 32-bit top-down DIB section with direct pixel access.
class DibSection {
public:
    DibSection() = default;
    DibSection(int width, int height, int bpp = 24);
    DibSection(DibSection&&) noexcept = default;
    DibSection& operator=(DibSection&&) noexcept = default;
    HBITMAP handle() const { return bmp_.get(); }
    HBITMAP releaseHandle() {
        bits_ = nullptr;
        return bmp_.release();
    }
    int width() const { return w_; }
    int height() const { return h_; }
    int stride() const { return stride_; }
    BYTE* bits() const { return bits_; }
    BYTE* row(int y) const { return bits_ + static_cast<size_t>(y) * stride_; }
    explicit operator bool() const { return bits_ != nullptr; }

private:
    Bitmap bmp_;
    BYTE* bits_ = nullptr;
    int w_ = 0, h_ = 0, stride_ = 0;
};

inline COLORREF toColorRef(unsigned rgb) { return static_cast<COLORREF>(rgb); }

// Resolves a colour value of the settings file (00BBGGRR, or $80000000 plus
// a system colour index) to the colour the system currently draws it in.
COLORREF resolveColour(unsigned value);

}  // namespace tk
