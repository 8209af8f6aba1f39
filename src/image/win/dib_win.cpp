#include "image/win/dib_win.h"

#include <cstring>

#include "image/image_error.h"
#include "core/texts.h"

namespace hueloom::image {

DibInfo dibInfo(const Dib& dib) {
    DibInfo info;
    BITMAPINFOHEADER& h = info.header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = dib.width();
    h.biHeight = dib.height();  // bottom-up, as the Dib stores its rows
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(dib.bitCount());
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(dib.imageSize());
    if (dib.hasPalette()) {
        const auto& pal = dib.palette();
        h.biClrUsed = static_cast<DWORD>(pal.size());
        for (size_t i = 0; i < pal.size() && i < 256; ++i)
            info.colours[i] = RGBQUAD{pal[i].blue, pal[i].green, pal[i].red, 0};
    } else if (dib.bitsPerPixel() == 16) {
        // 5-6-5 needs explicit masks; 15 bits (5-5-5) is the BI_RGB default.
        h.biCompression = BI_BITFIELDS;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
        std::memcpy(info.colours, info.masks, sizeof info.masks);
    }
    return info;
}

tk::Bitmap createBitmap(const Dib& dib) {
    if (dib.isNull()) return {};
    DibInfo info = dibInfo(dib);
    void* bits = nullptr;
    tk::Bitmap bmp(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) throw ImageError(outOfMemoryMessage(dib.width(), dib.height()));
    std::memcpy(bits, dib.bits(), dib.imageSize());
    return bmp;
}

Dib dibFromBitmap(HBITMAP bitmap) {
    // A DIB section keeps its own format and palette; a device-dependent
    // bitmap comes back at 32 bits. GetDIBits returns the rows bottom-up as
    // the Dib stores them, whichever way the section itself is stored.
    int bpp = 32;
    int w = 0, h = 0;
    UINT colours = 0;
    DIBSECTION ds{};
    if (GetObjectW(bitmap, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmBits) {
        bpp = ds.dsBmih.biBitCount;
        if (bpp == 16 && !(ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0)) bpp = 15;
        w = ds.dsBm.bmWidth;
        h = std::abs(ds.dsBm.bmHeight);
        if (bpp <= 8) colours = ds.dsBmih.biClrUsed ? ds.dsBmih.biClrUsed : (1u << bpp);
    } else {
        BITMAP bm{};
        if (!GetObjectW(bitmap, sizeof bm, &bm)) throw ImageError(hueloom::text("dib.1"));
        w = bm.bmWidth;
        h = bm.bmHeight;
    }
    Dib dib(w, h, bpp);
    if (bpp <= 8) {
        // Palette sections: indices and colour table as they are stored
        // (GetDIBits may map a 1-bit section's colours to black and white).
        tk::MemoryDC mem;
        RGBQUAD table[256];
        UINT n;
        {
            tk::Select sel(mem, bitmap);
            n = GetDIBColorTable(mem, 0, colours, table);
        }
        std::vector<RgbQuad> pal;
        for (UINT i = 0; i < n; ++i) pal.push_back({table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, 0});
        if (!pal.empty()) dib.setPalette(std::move(pal));
        const uint8_t* src = static_cast<const uint8_t*>(ds.dsBm.bmBits);
        const size_t stride = static_cast<size_t>(ds.dsBm.bmWidthBytes);
        const bool topDown = ds.dsBmih.biHeight < 0;
        for (int y = 0; y < h; ++y)
            std::memcpy(dib.scanLine(y), src + static_cast<size_t>(topDown ? y : h - 1 - y) * stride, dib.rowBytes());
        return dib;
    }
    DibInfo info = dibInfo(dib);
    tk::WindowDC screen(nullptr);
    if (!GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), dib.bits(), reinterpret_cast<BITMAPINFO*>(&info.header),
                   DIB_RGB_COLORS))
        throw ImageError(hueloom::text("dib.2"));
    return dib;
}

Dib copyScreen(const RECT& area) {
    int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) throw ImageError(hueloom::text("dib.3"));
    Dib dib = withPictureMemory(w, h, [&] { return Dib(w, h, 32); });
    DibInfo info = dibInfo(dib);
    void* bits = nullptr;
    tk::Bitmap section(CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) throw ImageError(outOfMemoryMessage(w, h));
    {
        tk::WindowDC screen(nullptr);
        tk::MemoryDC mem(screen);
        tk::Select sel(mem, section);
        if (!BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY | CAPTUREBLT))
            throw ImageError(hueloom::text("dib.4"));
        GdiFlush();
    }
    std::memcpy(dib.bits(), bits, dib.imageSize());
    return dib;
}

void drawDib(HDC dc, const Dib& dib, int x, int y, int w, int h) {
    if (dib.isNull()) return;
    DibInfo info = dibInfo(dib);
    if (w < 0) w = dib.width();
    if (h < 0) h = dib.height();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, w, h, 0, 0, dib.width(), dib.height(), dib.bits(), info.get(), DIB_RGB_COLORS, SRCCOPY);
}

void drawDibPart(HDC dc, const Dib& dib, const RECT& part) {
    if (dib.isNull()) return;
    const int w = part.right - part.left, h = part.bottom - part.top;
    if (w <= 0 || h <= 0) return;
    DibInfo info = dibInfo(dib);
    // A bottom-up DIB counts its source rows from the bottom.
    SetDIBitsToDevice(dc, part.left, part.top, static_cast<DWORD>(w), static_cast<DWORD>(h), part.left,
                      dib.height() - part.bottom, 0, static_cast<UINT>(dib.height()), dib.bits(), info.get(),
                      DIB_RGB_COLORS);
}

}  // namespace hueloom::image
