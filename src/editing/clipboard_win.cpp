#include "editing/clipboard_win.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "image/bmp.h"
#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/clipboard_win.h"
#include "toolkit/gdi_win.h"

namespace hueloom::editing {

namespace {

constexpr const char* kCannotOpen = "クリップボードを開くことができません";
constexpr const char* kUnsupported = "未対応のクリップボード データです";

// Opens the clipboard for the scope of `session`, or throws the message the
// user sees when another program holds it.
void openClipboard(std::optional<tk::Clipboard>& session, HWND owner) {
    try {
        session.emplace(owner);
    } catch (const std::runtime_error&) {
        throw std::runtime_error(kCannotOpen);
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
    if (!handle || !SetClipboardData(format, handle))
        throw std::runtime_error("クリップボードにデータを設定できません");
}

// The picture as a packed DIB (a bitmap file without its file header), for
// programs that read the clipboard without our bitmap handle: under Wine a
// bitmap handle is of no use outside this process.
void handPackedDib(const image::Dib& image) {
    const std::vector<std::uint8_t> file = image::writeBmp(image);
    constexpr size_t kFileHeader = 14;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, file.size() - kFileHeader);
    void* p = mem ? GlobalLock(mem) : nullptr;
    if (!p) {
        if (mem) GlobalFree(mem);
        throw image::ImageError("メモリが不足しています");
    }
    std::memcpy(p, file.data() + kFileHeader, file.size() - kFileHeader);
    GlobalUnlock(mem);
    if (!SetClipboardData(CF_DIB, mem)) {
        GlobalFree(mem);
        throw std::runtime_error("クリップボードにデータを設定できません");
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
        if (!palette) throw image::ImageError("パレットを作成できません");
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

bool ImageClipboard::canPaste() {
    return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP) ||
           IsClipboardFormatAvailable(CF_METAFILEPICT);
}

SIZE metafilePixelSize(HENHMETAFILE emf) {
    ENHMETAHEADER h{};
    if (!GetEnhMetaFileHeader(emf, sizeof h, &h)) throw image::ImageError(kUnsupported);
    if (h.szlMillimeters.cx <= 0 || h.szlMillimeters.cy <= 0 || h.szlDevice.cx <= 0 || h.szlDevice.cy <= 0)
        throw image::ImageError(kUnsupported);
    const long long fw = static_cast<long long>(h.rclFrame.right) - h.rclFrame.left;
    const long long fh = static_cast<long long>(h.rclFrame.bottom) - h.rclFrame.top;
    const long long w = fw * h.szlDevice.cx / (h.szlMillimeters.cx * 100LL);
    const long long ht = fh * h.szlDevice.cy / (h.szlMillimeters.cy * 100LL);
    // A picture the user could actually work with; a corrupt frame must not
    // ask for gigabytes.
    if (w <= 0 || ht <= 0 || w > 32767 || ht > 32767 || w * ht > (64LL << 20)) throw image::ImageError(kUnsupported);
    return {static_cast<LONG>(w), static_cast<LONG>(ht)};
}

// The clipboard's packed DIB as a picture. It is memory of its own, valid in
// any process (a bitmap handle made by another program is not), and it is
// checked as a bitmap file is: a malformed one gives a message, not a crash.
image::Dib pictureFromPackedDib(HANDLE mem) {
    const SIZE_T size = mem ? GlobalSize(mem) : 0;
    const auto* p = mem ? static_cast<const std::uint8_t*>(GlobalLock(mem)) : nullptr;
    if (!p || size < 12) {
        if (p) GlobalUnlock(mem);
        throw image::ImageError(kUnsupported);
    }
    // The picture's size, for the message when it does not fit in memory.
    auto at = [&](std::size_t i, int bytes) {
        std::int64_t v = 0;
        for (int k = 0; k < bytes; ++k) v |= std::int64_t(i + k < size ? p[i + k] : 0) << (8 * k);
        return v;
    };
    const bool coreHeader = at(0, 4) == 12;
    const int width = static_cast<int>(coreHeader ? at(4, 2) : static_cast<std::int32_t>(at(4, 4)));
    const int height = static_cast<int>(coreHeader ? at(6, 2) : static_cast<std::int32_t>(at(8, 4)));
    constexpr std::size_t kFileHeader = 14;
    std::vector<std::uint8_t> file;
    try {
        file.resize(kFileHeader + size);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(mem);
        throw image::ImageError(image::outOfMemoryMessage(width, height < 0 ? -height : height));
    }
    std::memcpy(file.data() + kFileHeader, p, size);
    GlobalUnlock(mem);
    auto get = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= std::uint32_t(at + i < size ? file[kFileHeader + at + i] : 0) << (8 * i);
        return v;
    };
    // Where the pixels start: after the header, the masks of a 40-byte
    // header with bit fields, and the colour table.
    const std::uint32_t header = get(0, 4);
    const bool core = header == 12;
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
    host_.forgetUndo();

    if (IsClipboardFormatAvailable(CF_DIB)) {
        image::Dib picture;
        {
            std::optional<tk::Clipboard> clip;
            openClipboard(clip, host_.owner());
            picture = pictureFromPackedDib(GetClipboardData(CF_DIB));
        }
        host_.replaceWorkingImage(std::move(picture));
        return;
    }

    if (IsClipboardFormatAvailable(CF_BITMAP)) {
        image::Dib picture;
        {
            std::optional<tk::Clipboard> clip;
            openClipboard(clip, host_.owner());
            HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
            // A DIB section keeps its own format and colour table; a device
            // bitmap comes back in true colour, so the CF_PALETTE that may
            // come with it has nothing left to add.
            if (bitmap) picture = image::dibFromBitmap(bitmap);
        }
        if (!picture.isNull()) host_.replaceWorkingImage(std::move(picture));
    }

    if (IsClipboardFormatAvailable(CF_METAFILEPICT) || IsClipboardFormatAvailable(CF_ENHMETAFILE)) {
        EnhMetaFile copy;
        {
            std::optional<tk::Clipboard> clip;
            openClipboard(clip, host_.owner());
            HENHMETAFILE emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
            if (!emf) throw image::ImageError(kUnsupported);
            copy.reset(CopyEnhMetaFileW(emf, nullptr));
            if (!copy) throw image::ImageError(kUnsupported);
        }
        host_.replaceWorkingImage(pictureFromMetafile(copy.get()));
    }
}

}  // namespace hueloom::editing
