// Between the portable Dib and GDI: DIB sections made from a Dib (what the
// image control shows and what GDI draws into), Dibs read back from any
// bitmap, and screen copies.
#pragma once
#include <windows.h>

#include "image/dib.h"
#include "toolkit/gdi_win.h"

namespace hueloom::image {

// The BITMAPINFO (header and colour table) describing a Dib.
struct DibInfo {
    BITMAPINFOHEADER header{};
    RGBQUAD colours[256]{};
    DWORD masks[3]{};  // bit fields of the 15/16-bit formats
    const BITMAPINFO* get() const { return reinterpret_cast<const BITMAPINFO*>(&header); }
};
DibInfo dibInfo(const Dib& dib);

// A DIB section holding a copy of the Dib (same format and palette).
tk::Bitmap createBitmap(const Dib& dib);

// Reads any bitmap (device-dependent or DIB section) into a Dib. A DIB
// section keeps its own format; a device-dependent bitmap comes back at
// 32 bits per pixel. Throws ImageError on failure.
Dib dibFromBitmap(HBITMAP bitmap);

// Copies a rectangle of the screen (screen coordinates) into a 32-bit Dib.
Dib copyScreen(const RECT& area);

// Draws the Dib at (x, y) in its own size, or stretched to w × h.
void drawDib(HDC dc, const Dib& dib, int x, int y, int w = -1, int h = -1);
// Draws the part `part` of the Dib (picture coordinates, top-down) at the same
// place of a device whose origin is the picture's top-left corner.
void drawDibPart(HDC dc, const Dib& dib, const RECT& part);

}  // namespace hueloom::image
