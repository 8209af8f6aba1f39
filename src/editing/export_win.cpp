#include "editing/export_win.h"

#include <dlgs.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <stdexcept>

#include "image/codecs/jpeg_writer.h"
#include "image/codecs/png_decoder.h"
#include "image/codecs/png_writer.h"
#include "image/bmp.h"
#include "image/win/dib_win.h"
#include "image/file_io.h"
#include "image/image_error.h"
#include "image/wmf_header.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "core/texts.h"

namespace hueloom::editing {

namespace {

std::filesystem::path pathOf(const std::wstring& fileName) { return std::filesystem::path(fileName); }

std::wstring lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

}  // namespace

// ------------------------------------------------------------- metafiles

EnhMetaFile recordMetafile(int width, int height, const std::function<void(HDC)>& draw, const wchar_t* file) {
    tk::WindowDC screen(nullptr);
    const RECT frame{0, 0, pixelsToHundredthsMm(width, GetDeviceCaps(screen, HORZSIZE), GetDeviceCaps(screen, HORZRES)),
                     pixelsToHundredthsMm(height, GetDeviceCaps(screen, VERTSIZE), GetDeviceCaps(screen, VERTRES))};
    HDC dc = CreateEnhMetaFileW(screen, file, &frame, nullptr);
    if (!dc) throw image::ImageError(hueloom::text("export.1"));
    try {
        draw(dc);
    } catch (...) {
        DeleteEnhMetaFile(CloseEnhMetaFile(dc));
        throw;
    }
    EnhMetaFile emf(CloseEnhMetaFile(dc));
    if (!emf) throw image::ImageError(hueloom::text("export.2"));
    return emf;
}

EnhMetaFile workingImageMetafile(ImageOutputHost& host, const wchar_t* file) {
    const image::Dib* image = host.workingImage();
    if (!image || image->isNull()) return {};
    const int w = image->width(), h = image->height();
    if (host.colourListMode())
        return recordMetafile(
            w, h, [&](HDC dc) { host.drawColourList(dc, w, h); }, file);
    // One pixel wider and higher than the picture, as the metafile has
    // always been recorded. A 32-bit picture goes in as 24 bits: its fourth
    // byte is no alpha, but readers that take it for one (Inkscape) would
    // draw nothing.
    const image::Dib flat = image->bitsPerPixel() == 32 ? image::toBpp24(*image) : image::Dib();
    const image::Dib& drawn = flat.isNull() ? *image : flat;
    return recordMetafile(
        w, h, [&](HDC dc) { image::drawDib(dc, drawn, 0, 0, w + 1, h + 1); }, file);
}

// ---------------------------------------------------------------- writers

void writeWorkingImageMetafileFile(ImageOutputHost& host, const std::wstring& fileName) {
    const std::filesystem::path target = pathOf(fileName);
    image::writeFileThrough(target, [&](const std::filesystem::path& temp) {
        DWORD expected = 0;
        try {
            // Closed (and the file let go) before it takes the target's place.
            EnhMetaFile emf = workingImageMetafile(host, temp.c_str());
            ENHMETAHEADER header{};
            if (emf && GetEnhMetaFileHeader(emf.get(), sizeof header, &header)) expected = header.nBytes;
        } catch (const image::ImageError&) {
            throw image::FileError(image::FileError::Action::Write, target, static_cast<int>(GetLastError()));
        }
        // The system may close a metafile whose records did not all reach the
        // disk: a file shorter than the metafile says ran out of room.
        std::error_code ec;
        const std::uintmax_t written = std::filesystem::file_size(temp, ec);
        if (ec || expected == 0 || written != expected)
            throw image::FileError(image::FileError::Action::Write, target, ERROR_DISK_FULL);
    });
}

void writeBitmapFile(const image::Dib& image, const std::wstring& fileName) { image::saveBmp(image, pathOf(fileName)); }

void writeJpegFile(const image::Dib& image, int jpgQuality, const std::wstring& fileName) {
    codecs::saveJpeg(image, std::clamp(jpgQuality, 1, 100), pathOf(fileName));
}

void writePngFile(const image::Dib& image, int pngQuality, const std::wstring& fileName) {
    codecs::PngWriter writer;
    writer.setCompressionLevel(codecs::pngLevelForQuality(pngQuality));
    writer.save(image, pathOf(fileName));
}

void writeMetafileFile(HENHMETAFILE emf, int width, int height, const std::wstring& fileName) {
    std::vector<std::uint8_t> bytes;
    if (lower(fileName).ends_with(L".wmf")) {
        const auto header = image::placeableWmfHeader(width, height, 96);
        tk::WindowDC screen(nullptr);
        const UINT size = GetWinMetaFileBits(emf, 0, nullptr, MM_ANISOTROPIC, screen);
        if (size == 0) throw image::ImageError(hueloom::text("export.3"));
        bytes.resize(header.size() + size);
        std::memcpy(bytes.data(), header.data(), header.size());
        if (GetWinMetaFileBits(emf, size, bytes.data() + header.size(), MM_ANISOTROPIC, screen) != size)
            throw image::ImageError(hueloom::text("export.4"));
    } else {
        const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
        if (size == 0) throw image::ImageError(hueloom::text("export.5"));
        bytes.resize(size);
        if (GetEnhMetaFileBits(emf, size, bytes.data()) != size) throw image::ImageError(hueloom::text("export.6"));
    }
    image::writeFileBytes(pathOf(fileName), bytes);
}

// ---------------------------------------------------------------- dialog

namespace {

constexpr int kPreviewId = 1201;
constexpr int kPreviewTextId = 1202;
constexpr int kStc32 = 0x045f;

// An in-memory dialog template: the standard controls go where the stc32
// placeholder is, the preview to its right.
class DialogTemplate {
public:
    DialogTemplate() {
        DLGTEMPLATE t{};
        t.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL | DS_SETFONT;
        t.cdit = 0;
        t.cx = 140;
        t.cy = 124;
        put(&t, sizeof t);
        word(0);  // no menu
        word(0);  // default class
        word(0);  // no title
        word(9);  // font size
        text(L"MS Shell Dlg");
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD cls, const wchar_t* caption) {
        align();
        DLGITEMTEMPLATE it{};
        it.style = style | WS_CHILD | WS_VISIBLE;
        it.x = x;
        it.y = y;
        it.cx = cx;
        it.cy = cy;
        it.id = id;
        put(&it, sizeof it);
        word(0xFFFF);
        word(cls);
        text(caption);
        word(0);  // no creation data
        reinterpret_cast<DLGTEMPLATE*>(data_.data())->cdit++;
    }
    HGLOBAL global() const {
        // Fixed memory: the dialog takes the handle as the template's address.
        HGLOBAL g = GlobalAlloc(GMEM_FIXED, data_.size() * sizeof(WORD));
        if (!g) throw std::runtime_error(hueloom::text("export.7"));
        std::memcpy(reinterpret_cast<void*>(g), data_.data(), data_.size() * sizeof(WORD));
        return g;
    }
    const void* data() const { return data_.data(); }

private:
    void put(const void* p, size_t bytes) {
        const auto* w = static_cast<const WORD*>(p);
        data_.insert(data_.end(), w, w + bytes / sizeof(WORD));
    }
    void word(WORD w) { data_.push_back(w); }
    void text(const wchar_t* s) {
        for (; *s; ++s) word(static_cast<WORD>(*s));
        word(0);
    }
    void align() {
        if (data_.size() % 2) word(0);
    }
    std::vector<WORD> data_;
};

DialogTemplate previewTemplate() {
    DialogTemplate t;
    // As tall as the preview, so the preview moves right of the standard
    // controls but not below them.
    t.item(SS_LEFT, 0, 0, 4, 124, kStc32, 0x0082, L"");
    t.item(SS_LEFT | SS_NOPREFIX, 8, 6, 120, 10, kPreviewTextId, 0x0082, L"");
    t.item(SS_OWNERDRAW, 8, 18, 120, 100, kPreviewId, 0x0082, L"");
    return t;
}

// A picture file as a metafile the preview can draw at any size, and its
// size in pixels; an empty metafile when it cannot be read.
EnhMetaFile loadPreview(const std::wstring& file, SIZE& size) {
    size = {};
    std::error_code ec;
    if (file.empty() || !std::filesystem::is_regular_file(pathOf(file), ec)) return {};
    const std::wstring name = lower(file);
    try {
        if (name.ends_with(L".emf")) {
            EnhMetaFile emf(GetEnhMetaFileW(file.c_str()));
            ENHMETAHEADER h{};
            if (!emf || !GetEnhMetaFileHeader(emf.get(), sizeof h, &h)) return {};
            size = {h.rclBounds.right - h.rclBounds.left + 1, h.rclBounds.bottom - h.rclBounds.top + 1};
            return emf;
        }
        const auto bytes = image::readFileBytes(pathOf(file), 64u << 20);
        if (name.ends_with(L".wmf")) {
            if (bytes.size() <= 22 || bytes[0] != 0xD7 || bytes[1] != 0xCD || bytes[2] != 0xC6 || bytes[3] != 0x9A)
                return {};
            auto s16 = [&](size_t at) { return static_cast<short>(bytes[at] | (bytes[at + 1] << 8)); };
            const int inch = static_cast<unsigned short>(s16(14));
            if (inch == 0) return {};
            const int w = MulDiv(s16(10) - s16(6), 96, inch), h = MulDiv(s16(12) - s16(8), 96, inch);
            if (w <= 0 || h <= 0) return {};
            METAFILEPICT mfp{MM_ANISOTROPIC, MulDiv(w, 2540, 96), MulDiv(h, 2540, 96), nullptr};
            EnhMetaFile emf(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - 22), bytes.data() + 22, nullptr, &mfp));
            if (emf) size = {w, h};
            return emf;
        }
        image::Dib dib;
        if (name.ends_with(L".bmp"))
            dib = image::readBmp(bytes);
        else if (name.ends_with(L".png"))
            dib = codecs::decodePng(bytes);
        if (dib.isNull()) {
            // JPEG and anything else the system's picture loader reads.
            HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
            if (!g || bytes.empty()) {
                if (g) GlobalFree(g);
                return {};
            }
            std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
            GlobalUnlock(g);
            IStream* stream = nullptr;
            if (FAILED(CreateStreamOnHGlobal(g, TRUE, &stream))) {
                GlobalFree(g);
                return {};
            }
            IPicture* pic = nullptr;
            HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&pic));
            stream->Release();
            if (FAILED(hr) || !pic) return {};
            OLE_XSIZE_HIMETRIC hw = 0;
            OLE_YSIZE_HIMETRIC hh = 0;
            pic->get_Width(&hw);
            pic->get_Height(&hh);
            tk::WindowDC screen(nullptr);
            const int w = MulDiv(hw, GetDeviceCaps(screen, LOGPIXELSX), 2540);
            const int h = MulDiv(hh, GetDeviceCaps(screen, LOGPIXELSY), 2540);
            EnhMetaFile emf;
            if (w > 0 && h > 0) {
                emf = recordMetafile(w, h, [&](HDC dc) { pic->Render(dc, 0, 0, w, h, 0, hh, hw, -hh, nullptr); });
                size = {w, h};
            }
            pic->Release();
            return emf;
        }
        size = {dib.width(), dib.height()};
        return recordMetafile(dib.width(), dib.height(), [&](HDC dc) { image::drawDib(dc, dib, 0, 0); });
    } catch (const std::exception&) {
        size = {};
        return {};
    }
}

}  // namespace

void TSavePictureDialog::setDefaultExt(const std::wstring& ext) {
    DefaultExt = ext;
    if (!dialog_) return;
    SendMessageW(dialog_, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(DefaultExt.c_str()));
    // Some dialog implementations read the default extension from the
    // buffer they were started with when they close: keep it current too.
    lstrcpynW(defExtBuffer_, DefaultExt.c_str(), static_cast<int>(std::size(defExtBuffer_)));
}

int TSavePictureDialog::currentFilterIndex() const {
    if (dialog_) {
        const LRESULT sel = SendDlgItemMessageW(dialog_, cmb1, CB_GETCURSEL, 0, 0);
        if (sel >= 0) return static_cast<int>(sel) + 1;
        if (ofn_) return static_cast<int>(ofn_->nFilterIndex);
    }
    return FilterIndex;
}

bool TSavePictureDialog::Execute(HWND owner) {
    const std::wstring filter = tk::fileTypeFilter(Filter);
    std::vector<wchar_t> file(4 * MAX_PATH, L'\0');
    lstrcpynW(file.data(), FileName.c_str(), static_cast<int>(file.size()));
    lstrcpynW(defExtBuffer_, DefaultExt.c_str(), static_cast<int>(std::size(defExtBuffer_)));

    const DialogTemplate tpl = previewTemplate();
    struct GlobalOwner {
        HGLOBAL g;
        ~GlobalOwner() { GlobalFree(g); }
    } tplMem{tpl.global()};

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = reinterpret_cast<HINSTANCE>(tplMem.g);
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = defExtBuffer_;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR |
                OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
    ofn.lpfnHook = hookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    ofn_ = &ofn;
    const BOOL ok = GetSaveFileNameW(&ofn);
    const DWORD error = ok ? 0 : CommDlgExtendedError();
    ofn_ = nullptr;
    dialog_ = hook_ = nullptr;
    preview_.reset();
    previewFile_.clear();
    previewText_.clear();
    if (!ok) {
        if (error != 0) throw std::runtime_error(hueloom::text("export.8") + std::to_string(error) + ")");
        return false;
    }
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

UINT_PTR CALLBACK TSavePictureDialog::hookProc(HWND hook, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lp);
        SetWindowLongPtrW(hook, DWLP_USER, ofn->lCustData);
        auto* self = reinterpret_cast<TSavePictureDialog*>(ofn->lCustData);
        self->hook_ = hook;
        self->dialog_ = GetParent(hook);
        // FALSE: the keyboard focus stays where the dialog puts it, in the
        // file name box. TRUE would move it to our template's first control,
        // and a name typed at once would go nowhere.
        return FALSE;
    }
    auto* self = reinterpret_cast<TSavePictureDialog*>(GetWindowLongPtrW(hook, DWLP_USER));
    if (!self) return 0;
    switch (msg) {
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const OFNOTIFYW*>(lp);
        if (n->hdr.code == CDN_INITDONE) {
            self->dialog_ = GetParent(hook);
            if (self->OnShow) tk::app().guarded([&] { self->OnShow(self->dialog_); });
        } else if (n->hdr.code == CDN_SELCHANGE) {
            self->selectionChanged(hook);
        }
        return 0;
    }
    case WM_DRAWITEM:
        if (wp == kPreviewId) {
            self->drawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        return 0;
    case WM_DESTROY: self->dialog_ = self->hook_ = nullptr; return 0;
    }
    return 0;
}

void TSavePictureDialog::selectionChanged(HWND hook) {
    wchar_t path[4 * MAX_PATH] = {};
    const LRESULT n = SendMessageW(GetParent(hook), CDM_GETFILEPATH, std::size(path), reinterpret_cast<LPARAM>(path));
    const std::wstring file = n > 0 ? std::wstring(path) : std::wstring();
    if (file != previewFile_) {
        previewFile_ = file;
        preview_ = loadPreview(file, previewSize_);
        if (preview_) {
            wchar_t text[64];
            wsprintfW(text, L"%d x %d", static_cast<int>(previewSize_.cx), static_cast<int>(previewSize_.cy));
            previewText_ = text;
        } else {
            previewText_.clear();
        }
        SetDlgItemTextW(hook, kPreviewTextId, previewText_.c_str());
        InvalidateRect(GetDlgItem(hook, kPreviewId), nullptr, TRUE);
    }
    if (OnSelectionChange) tk::app().guarded(OnSelectionChange);
}

void TSavePictureDialog::drawPreview(const DRAWITEMSTRUCT& di) {
    const RECT rc = di.rcItem;
    FillRect(di.hDC, &rc, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(di.hDC, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
    if (!preview_ || previewSize_.cx <= 0 || previewSize_.cy <= 0) return;
    // Fitted into the pane with its aspect kept, never enlarged.
    const int aw = rc.right - rc.left - 4, ah = rc.bottom - rc.top - 4;
    if (aw <= 0 || ah <= 0) return;
    int w = previewSize_.cx, h = previewSize_.cy;
    if (w > aw || h > ah) {
        if (static_cast<long long>(w) * ah > static_cast<long long>(h) * aw) {
            h = std::max(1, MulDiv(h, aw, w));
            w = aw;
        } else {
            w = std::max(1, MulDiv(w, ah, h));
            h = ah;
        }
    }
    const RECT target{rc.left + 2 + (aw - w) / 2, rc.top + 2 + (ah - h) / 2, 0, 0};
    RECT box{target.left, target.top, target.left + w, target.top + h};
    PlayEnhMetaFile(di.hDC, preview_.get(), &box);
}

// ---------------------------------------------------------------- command

ImageExport::ImageExport(ImageOutputHost& host) : host_(host) {
    SavePictureDialog1.Title = hueloom::wideText("export.9");
    SavePictureDialog1.DefaultExt = L"jpg";
    SavePictureDialog1.FileName = L"Untitled";
    SavePictureDialog1.Filter = {
        {hueloom::wideText("export.10"), L"*.jpg;*.bmp;*.png;*.emf;*.wmf"},
        {L"Jpeg Files (*.jpg)", L"*.jpg"},
        {L"Bitmap Files (*.bmp)", L"*.bmp"},
        {L"PNG Files (*.png)", L"*.png"},
        {hueloom::wideText("export.11"), L"*.emf"},
        {hueloom::wideText("export.12"), L"*.wmf"},
    };
    SavePictureDialog1.FilterIndex = 1;
    SavePictureDialog1.OnSelectionChange = [this] { SavePictureDialog1SelectionChange(); };
}

void ImageExport::SavePictureDialog1SelectionChange() {
    static const wchar_t* const kExt[] = {nullptr, L"jpg", L"jpg", L"bmp", L"png", L"emf", L"wmf"};
    const int index = SavePictureDialog1.currentFilterIndex();
    if (index >= 1 && index <= 6) SavePictureDialog1.setDefaultExt(kExt[index]);
}

POINT ImageExport::boxPosition() const {
    RECT r{};
    GetWindowRect(host_.owner(), &r);
    return {r.left + (r.right - r.left), r.top};
}

void ImageExport::mnuImgSaveClick() {
    auto& s = host_.settings();
    const image::Dib* image = host_.workingImage();
    if (!image || image->isNull()) {
        const POINT at = boxPosition();
        hueloom::dialogs::ShowInfoBox(hueloom::wideText("export.13"), L"No image!", at.x, at.y, false, s.ActiveColor);
        return;
    }

    std::wstring fileName;
    {
        // The system-wide hot keys stay quiet while the dialog is open.
        struct Scope {
            ImageOutputHost& host;
            bool switched;
            ~Scope() {
                host.setSavePictureDialogOpen(false);
                if (switched) host.setSystemWideHotKeys(true);
            }
        } scope{host_, host_.systemWideHotKeys()};
        if (scope.switched) host_.setSystemWideHotKeys(false);
        host_.setSavePictureDialogOpen(true);

        SavePictureDialog1.InitialDir = tk::widen(s.InitialDirImg);
        if (!SavePictureDialog1.Execute(host_.owner())) return;
        fileName = SavePictureDialog1.FileName;
        SavePictureDialog1.FileName = L"Untitled";
        SavePictureDialog1.FilterIndex = 1;
    }

    // The folder is remembered whether or not the file could be written.
    struct RememberFolder {
        settings::Settings& s;
        const std::wstring& file;
        ~RememberFolder() { s.InitialDirImg = tk::narrow(imageFolderOf(file)); }
    } remember{s, fileName};
    saveAs(fileName);
}

bool ImageExport::saveAs(const std::wstring& fileName) {
    const ExportFormat format = exportFormatFor(fileName);
    if (format == ExportFormat::None) return false;
    const image::Dib* image = host_.workingImage();
    if (!image || image->isNull()) throw image::ImageError("No image!");
    const auto& s = host_.settings();
    switch (format) {
    case ExportFormat::Bmp: writeBitmapFile(*image, fileName); break;
    case ExportFormat::Jpeg: writeJpegFile(*image, s.JPGQuality, fileName); break;
    case ExportFormat::Png: writePngFile(*image, s.PNGQuality, fileName); break;
    case ExportFormat::Emf: writeWorkingImageMetafileFile(host_, fileName); break;
    case ExportFormat::Wmf: {
        EnhMetaFile emf = workingImageMetafile(host_);
        writeMetafileFile(emf.get(), image->width(), image->height(), fileName);
        break;
    }
    case ExportFormat::None: break;
    }
    confirmSaved(fileName);
    return true;
}

void ImageExport::confirmSaved(const std::wstring& fileName) {
    auto& s = host_.settings();
    if (s.message(settings::Message::SavedNote)) return;
    const POINT at = boxPosition();
    s.message(settings::Message::SavedNote) = hueloom::dialogs::ShowInfoBox(
        L"Hueloom", L"< " + fileName + L" >" + hueloom::wideText("export.14"), at.x, at.y, true, s.ActiveColor);
}

}  // namespace hueloom::editing
