#include "editing/clipboard_win.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <stdexcept>
#include <vector>

#include "image/bmp.h"
#include "image/codecs/png_decoder.h"
#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/clipboard_win.h"
#include "toolkit/gdi_win.h"
#include "core/texts.h"

namespace hueloom::editing {

namespace {

const char* cannotOpen() { return hueloom::text("clipboard.1"); }
const char* unsupported() { return hueloom::text("clipboard.2"); }

// Opens the clipboard for the scope of `session`, or throws the message the
// user sees when another program holds it.
void openClipboard(std::optional<tk::Clipboard>& session, HWND owner) {
    try {
        session.emplace(owner);
    } catch (const std::runtime_error&) {
        throw std::runtime_error(cannotOpen());
    }
}

tk::Palette paletteOf(const image::Dib& image) {
    const auto& pal = image.palette();
    std::vector<BYTE> mem(sizeof(LOGPALETTE) + pal.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(mem.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(pal.size());
    for (size_t i = 0; i < pal.size(); ++i) lp->palPalEntry[i] = PALETTEENTRY{pal[i].red, pal[i].green, pal[i].blue, 0};
    return tk::Palette(CreatePalette(lp));
}

// The clipboard takes over `handle` when this succeeds.
void hand(UINT format, HANDLE handle) {
    if (!handle || !SetClipboardData(format, handle)) throw std::runtime_error(hueloom::text("clipboard.3"));
}

// The picture as a packed DIB (a bitmap file without its file header), for
// programs that read the clipboard without our bitmap handle: under Wine a
// bitmap handle is of no use outside this process. Without a colour profile,
// as the clipboard's plain DIB is read.
void handPackedDib(const image::Dib& image) {
    const std::vector<std::uint8_t> file = image::writeBmp(image, false);
    constexpr size_t kFileHeader = 14;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size() - kFileHeader);
    void* p = mem ? GlobalLock(mem) : nullptr;
    if (!p) {
        if (mem) GlobalFree(mem);
        throw image::ImageError(hueloom::text("clipboard.4"));
    }
    std::memcpy(p, file.data() + kFileHeader, file.size() - kFileHeader);
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_DIB, mem)) {
        GlobalFree(mem);
        throw std::runtime_error(hueloom::text("clipboard.5"));
    }
}

}  // namespace

void ImageClipboard::mnuCopyBMPClick() {
    const image::Dib* image = host_.workingImage();
    if (!image || image->isNull()) return;
    tk::Bitmap bitmap = image::createBitmap(*image);
    tk::Palette palette;
    if (image->hasPalette()) {
        palette = paletteOf(*image);
        if (!palette) throw image::ImageError(hueloom::text("clipboard.6"));
    }
    std::optional<tk::Clipboard> clip;
    openClipboard(clip, host_.owner());
    clip->empty();
    hand(CF_BITMAP, bitmap.get());
    bitmap.release();
    if (palette) {
        hand(CF_PALETTE, palette.get());
        palette.release();
    }
    handPackedDib(*image);
}

void ImageClipboard::mnuCopyEMFClick() {
    EnhMetaFile emf = workingImageMetafile(host_);
    if (!emf) return;
    std::optional<tk::Clipboard> clip;
    openClipboard(clip, host_.owner());
    clip->empty();
    EnhMetaFile copy(CopyEnhMetaFileW(emf.get(), nullptr));
    hand(CF_ENHMETAFILE, copy.get());
    copy.release();
}

namespace {

// The registered format browsers, office programs and screenshot tools put a
// PNG file under (Wine offers an X program's image/png as it).
UINT pngFormat() {
    static const UINT format = RegisterClipboardFormatW(L"PNG");
    return format;
}

// A format on the clipboard that paste cannot read: the message names it and
// why, and the picture on show stays.
[[noreturn]] void unreadable(const char* format, const std::string& why) {
    throw image::ImageError(std::string(hueloom::text("clipboard.7")) + format + hueloom::text("clipboard.8") + why);
}

// The bytes of a clipboard memory object, copied while the clipboard is open.
std::vector<std::uint8_t> clipboardBytes(UINT format, const char* name) {
    HANDLE mem = GetClipboardData(format);
    const SIZE_T size = mem ? GlobalSize(mem) : 0;
    const auto* p = mem ? static_cast<const std::uint8_t*>(GlobalLock(mem)) : nullptr;
    if (!p || size == 0) {
        if (p) GlobalUnlock(mem);
        unreadable(name, hueloom::text("clipboard.9"));
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.assign(p, p + size);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(mem);
        throw image::ImageError(hueloom::text("clipboard.10"));
    }
    GlobalUnlock(mem);
    return bytes;
}

// The background transparent pixels are laid over: the image area's colour.
image::Dib overBackground(const image::Dib& rgba, ImageOutputHost& host) {
    const COLORREF back = tk::resolveColour(host.settings().ImgBKColor);
    return image::compositeOver(rgba, GetRValue(back), GetGValue(back), GetBValue(back));
}

}  // namespace

bool ImageClipboard::canPaste() {
    return IsClipboardFormatAvailable(CF_DIBV5) || IsClipboardFormatAvailable(CF_DIB) ||
           IsClipboardFormatAvailable(pngFormat()) || IsClipboardFormatAvailable(CF_BITMAP) ||
           IsClipboardFormatAvailable(CF_METAFILEPICT) || IsClipboardFormatAvailable(CF_ENHMETAFILE);
}

SIZE metafilePixelSize(HENHMETAFILE emf) {
    ENHMETAHEADER h{};
    if (!GetEnhMetaFileHeader(emf, sizeof h, &h)) throw image::ImageError(unsupported());
    if (h.szlMillimeters.cx <= 0 || h.szlMillimeters.cy <= 0 || h.szlDevice.cx <= 0 || h.szlDevice.cy <= 0)
        throw image::ImageError(unsupported());
    const long long fw = static_cast<long long>(h.rclFrame.right) - h.rclFrame.left;
    const long long fh = static_cast<long long>(h.rclFrame.bottom) - h.rclFrame.top;
    const long long w = fw * h.szlDevice.cx / (h.szlMillimeters.cx * 100LL);
    const long long ht = fh * h.szlDevice.cy / (h.szlMillimeters.cy * 100LL);
    // A picture the user could actually work with; a corrupt frame must not
    // ask for gigabytes.
    if (w <= 0 || ht <= 0 || w > 32767 || ht > 32767 || w * ht > (64LL << 20)) throw image::ImageError(unsupported());
    return {static_cast<LONG>(w), static_cast<LONG>(ht)};
}

// The clipboard's packed DIB as a picture. It is memory of its own, valid in
// any process (a bitmap handle made by another program is not), and it is
// checked as a bitmap file is: a malformed one gives a message, not a crash.
// A V5 header's alpha (bV5AlphaMask) is kept in the fourth byte and told.
image::Dib pictureFromPackedDib(std::span<const std::uint8_t> packed, bool* hasAlpha) {
    const std::size_t size = packed.size();
    if (size < 12) throw image::ImageError(unsupported());
    auto get = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= std::uint32_t(at + i < size ? packed[at + i] : 0) << (8 * i);
        return v;
    };
    const std::uint32_t header = get(0, 4);
    const bool core = header == 12;
    const int width = static_cast<int>(core ? get(4, 2) : static_cast<std::int32_t>(get(4, 4)));
    const int height = static_cast<int>(core ? get(6, 2) : static_cast<std::int32_t>(get(8, 4)));
    constexpr std::size_t kFileHeader = 14;
    std::vector<std::uint8_t> file(kFileHeader);
    try {
        file.insert(file.end(), packed.begin(), packed.end());
    } catch (const std::bad_alloc&) {
        throw image::ImageError(image::outOfMemoryMessage(width, height < 0 ? -height : height));
    }
    // Where the pixels start: after the header, the masks of a 40-byte
    // header with bit fields, and the colour table.
    const std::uint32_t bits = core ? get(10, 2) : get(14, 2);
    const std::uint32_t used = core ? 0 : get(32, 4);
    const std::uint64_t colours = bits <= 8 ? (used ? used : (1u << bits)) : used;
    const std::uint64_t masks = (!core && header == 40 && get(16, 4) == 3) ? 12 : 0;
    const std::uint64_t offBits = kFileHeader + std::uint64_t{header} + masks + colours * (core ? 3 : 4);
    file[0] = 'B';
    file[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        file[2 + i] = static_cast<std::uint8_t>(file.size() >> (8 * i));
        file[10 + i] = static_cast<std::uint8_t>(std::min<std::uint64_t>(offBits, 0xFFFFFFFFu) >> (8 * i));
    }
    if (hasAlpha) *hasAlpha = bits == 32 && header >= 56 && get(52, 4) == 0xFF000000u;
    return image::withPictureMemory(width, height < 0 ? -height : height, [&] { return image::readBmp(file); });
}

image::Dib pictureFromMetafile(HENHMETAFILE emf) {
    const SIZE size = metafilePixelSize(emf);
    image::Dib white(size.cx, size.cy, 32);
    std::fill(white.bits(), white.bits() + white.imageSize(), 0xFF);
    for (int y = 0; y < white.height(); ++y) {  // the unused fourth byte stays 0
        std::uint8_t* row = white.scanLine(y);
        for (int x = 0; x < white.width(); ++x) row[x * 4 + 3] = 0;
    }
    tk::Bitmap canvas = image::createBitmap(white);
    {
        tk::MemoryDC mem;
        tk::Select sel(mem, canvas);
        const RECT target{0, 0, size.cx - 1, size.cy - 1};
        PlayEnhMetaFile(mem, emf, &target);
        GdiFlush();
    }
    return image::dibFromBitmap(canvas);
}

void ImageClipboard::mnuPasteClick() {
    if (host_.magnifierRunning()) return;
    // The richest format first: a DIB with alpha and colour space, a plain
    // DIB, a PNG file, a bitmap, a metafile. A format that is there but
    // cannot be read is reported as it is; the next one is not tried in its
    // place, so the picture on show stays.
    std::optional<image::Dib> picture;
    std::optional<tk::Clipboard> clip;
    auto open = [&] {
        if (!clip) openClipboard(clip, host_.owner());
    };
    auto fromDib = [&](UINT format, const char* name) {
        open();
        bool alpha = false;
        try {
            image::Dib dib = pictureFromPackedDib(clipboardBytes(format, name), &alpha);
            picture = alpha ? overBackground(dib, host_) : std::move(dib);
        } catch (const image::ImageError& e) {
            unreadable(name, e.what());
        }
    };
    if (IsClipboardFormatAvailable(CF_DIBV5)) {
        fromDib(CF_DIBV5, "DIBV5");
    } else if (IsClipboardFormatAvailable(CF_DIB)) {
        fromDib(CF_DIB, "DIB");
    } else if (IsClipboardFormatAvailable(pngFormat())) {
        open();
        const std::vector<std::uint8_t> png = clipboardBytes(pngFormat(), "PNG");
        try {
            image::Dib dib = codecs::decodePng(png);
            // With an alpha channel or tRNS: over the image area's colour.
            const bool alpha = codecs::pngHasTransparency(png);
            picture = alpha ? overBackground(codecs::decodePngRgba(png), host_) : std::move(dib);
        } catch (const image::ImageError& e) {
            unreadable("PNG", e.what());
        }
    } else if (IsClipboardFormatAvailable(CF_BITMAP)) {
        open();
        // A DIB section keeps its own format and colour table; a device
        // bitmap comes back in true colour, so the CF_PALETTE that may come
        // with it has nothing left to add.
        HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        if (!bitmap) unreadable("BITMAP", hueloom::text("clipboard.11"));
        picture = image::dibFromBitmap(bitmap);
    } else if (IsClipboardFormatAvailable(CF_METAFILEPICT) || IsClipboardFormatAvailable(CF_ENHMETAFILE)) {
        open();
        HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
        if (!emf) throw image::ImageError(unsupported());
        EnhMetaFile copy(CopyEnhMetaFileW(emf, nullptr));
        if (!copy) throw image::ImageError(unsupported());
        clip.reset();
        picture = pictureFromMetafile(copy.get());
    }
    clip.reset();
    if (!picture || picture->isNull()) return;
    host_.forgetUndo();
    host_.replaceWorkingImage(std::move(*picture));
}

}  // namespace hueloom::editing
