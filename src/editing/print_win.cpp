#include "editing/print_win.h"

#include <cderr.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "core/texts.h"

namespace hueloom::editing {

namespace {

// A printing failure, with the system's own text for it when it gives one.
[[noreturn]] void fail(const char* what) {
    const DWORD code = GetLastError();
    throw std::runtime_error(code ? std::string(what) + "\n" + tk::systemErrorText(code) : std::string(what));
}
const char* noPrinter() { return hueloom::text("print.1"); }
}  // namespace

void drawImageOnPage(HDC page, const image::Dib& image, const PrintPlacement& target) {
    if (image.isNull()) return;
    const image::Dib rgb = toBpp24(image);
    const image::DibInfo info = dibInfo(rgb);
    const int old = SetStretchBltMode(page, COLORONCOLOR);
    const int lines = StretchDIBits(page, target.x, target.y, target.width, target.height, 0, 0, rgb.width(),
                                    rgb.height(), rgb.bits(), info.get(), DIB_RGB_COLORS, SRCCOPY);
    if (old) SetStretchBltMode(page, old);
    if (lines == 0 || lines == static_cast<int>(GDI_ERROR)) throw image::ImageError(hueloom::text("print.2"));
}

// ------------------------------------------------------------ PagePrinter

PagePrinter::~PagePrinter() {
    if (printing_) AbortDoc(dc_);
    if (dc_) DeleteDC(dc_);
    if (devModeHandle) GlobalFree(devModeHandle);
    if (devNamesHandle) GlobalFree(devNamesHandle);
}

void PagePrinter::refresh() {
    printers_.clear();
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return;
    std::vector<BYTE> buf(needed);
    if (!EnumPrintersW(flags, nullptr, 4, buf.data(), needed, &needed, &count)) return;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buf.data());
    for (DWORD i = 0; i < count; ++i)
        printers_.push_back({info[i].pPrinterName ? info[i].pPrinterName : L"", info[i].Attributes});
}

void PagePrinter::settingsChanged() {
    const auto before = printers_;
    refresh();
    const bool same =
        before.size() == printers_.size() &&
        std::equal(before.begin(), before.end(), printers_.begin(), [](const PrinterInfo& a, const PrinterInfo& b) {
            return a.name == b.name && a.attributes == b.attributes;
        });
    if (!same && !printing_) {
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
        devMode_.clear();
    }
}

void PagePrinter::select(HDC printerDc, const DEVMODEW* devMode) {
    if (printing_) throw std::runtime_error(hueloom::text("print.3"));
    if (dc_) DeleteDC(dc_);
    dc_ = printerDc;
    devMode_.clear();
    if (devMode) {
        const auto* p = reinterpret_cast<const BYTE*>(devMode);
        devMode_.assign(p, p + devMode->dmSize + devMode->dmDriverExtra);
    }
}

void PagePrinter::check() const {
    if (!dc_) throw std::runtime_error(noPrinter());
}

SIZE PagePrinter::pageSize() const {
    check();
    return {GetDeviceCaps(dc_, HORZRES), GetDeviceCaps(dc_, VERTRES)};
}

SIZE PagePrinter::resolution() const {
    check();
    return {GetDeviceCaps(dc_, LOGPIXELSX), GetDeviceCaps(dc_, LOGPIXELSY)};
}

int PagePrinter::scale() const {
    check();
    if (devMode_.size() < sizeof(DEVMODEW) - sizeof(DWORD) * 8) return 100;
    const auto* dm = reinterpret_cast<const DEVMODEW*>(devMode_.data());
    if ((dm->dmFields & DM_SCALE) && dm->dmScale > 0) return dm->dmScale;
    return 100;
}

HDC PagePrinter::canvas() const {
    check();
    return dc_;
}

void PagePrinter::beginDoc(const std::wstring& title) {
    check();
    if (printing_) throw std::runtime_error(hueloom::text("print.4"));
    DOCINFOW di{};
    di.cbSize = sizeof di;
    di.lpszDocName = title.c_str();
    if (StartDocW(dc_, &di) <= 0) fail(hueloom::text("print.5"));
    printing_ = true;
    if (StartPage(dc_) <= 0) {
        const DWORD code = GetLastError();
        abortDoc();
        SetLastError(code);
        fail(hueloom::text("print.6"));
    }
}

void PagePrinter::endDoc() {
    if (!printing_) return;
    SetLastError(0);
    const bool pageOk = EndPage(dc_) > 0;
    const bool docOk = pageOk && EndDoc(dc_) > 0;
    if (!pageOk) AbortDoc(dc_);
    printing_ = false;
    if (!docOk) fail(hueloom::text("print.7"));
}

void PagePrinter::abortDoc() {
    if (!printing_) return;
    AbortDoc(dc_);
    printing_ = false;
}

// ------------------------------------------------------------- ImagePrint

bool ImagePrint::PrintDialog1Execute() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = host_.owner();
    pd.hDevMode = Printer.devModeHandle;
    pd.hDevNames = Printer.devNamesHandle;
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    const BOOL ok = PrintDlgW(&pd);
    // The dialog may have replaced the handles it was given.
    Printer.devModeHandle = pd.hDevMode;
    Printer.devNamesHandle = pd.hDevNames;
    if (!ok) {
        const DWORD error = CommDlgExtendedError();
        if (pd.hDC) DeleteDC(pd.hDC);
        if (error == PDERR_NODEFAULTPRN || error == PDERR_PRINTERNOTFOUND) throw std::runtime_error(noPrinter());
        if (error != 0) throw std::runtime_error(hueloom::text("print.8") + std::to_string(error) + ")");
        return false;
    }
    const DEVMODEW* dm = pd.hDevMode ? static_cast<const DEVMODEW*>(GlobalLock(pd.hDevMode)) : nullptr;
    try {
        Printer.select(pd.hDC, dm);
    } catch (...) {
        if (dm) GlobalUnlock(pd.hDevMode);
        DeleteDC(pd.hDC);
        throw;
    }
    if (dm) GlobalUnlock(pd.hDevMode);
    return true;
}

void ImagePrint::printWorkingImage() {
    const image::Dib* image = host_.workingImage();
    if (!image || image->isNull()) return;
    int sx = 96, sy = 96;
    {
        tk::WindowDC screen(nullptr);
        sx = GetDeviceCaps(screen, LOGPIXELSX);
        sy = GetDeviceCaps(screen, LOGPIXELSY);
    }
    const SIZE res = Printer.resolution();
    const int scale = Printer.scale();
    const SIZE page = Printer.pageSize();
    const PrintPlacement target =
        printPlacement(image->width(), image->height(), sx, sy, res.cx, res.cy, scale, page.cx, page.cy);
    Printer.beginDoc(kJobTitle);
    try {
        drawImageOnPage(Printer.canvas(), *image, target);
    } catch (...) {
        Printer.abortDoc();
        throw;
    }
    Printer.endDoc();
}

void ImagePrint::mnuPrintImageClick() {
    // Without a printer the system's dialog could only complain; say so
    // ourselves and start nothing.
    Printer.refresh();
    if (Printer.printers().empty()) throw std::runtime_error(noPrinter());
    if (!PrintDialog1Execute()) return;
    printWorkingImage();
}

}  // namespace hueloom::editing
