#include "editing/output.h"

#include <algorithm>
#include <cwctype>

namespace hueloom::editing {

namespace {

std::wstring lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

}  // namespace

ExportFormat exportFormatFor(const std::wstring& fileName) {
    const size_t dot = fileName.rfind(L'.');
    if (dot == std::wstring::npos) return ExportFormat::None;
    const std::wstring ext = lower(fileName.substr(dot));
    if (ext == L".bmp") return ExportFormat::Bmp;
    if (ext == L".jpg") return ExportFormat::Jpeg;
    if (ext == L".png") return ExportFormat::Png;
    if (ext == L".emf") return ExportFormat::Emf;
    if (ext == L".wmf") return ExportFormat::Wmf;
    return ExportFormat::None;
}

std::wstring imageFolderOf(const std::wstring& fileName) {
    const size_t cut = fileName.find_last_of(L"\\:");
    if (cut == std::wstring::npos) return {};
    if (fileName[cut] == L':') return fileName.substr(0, cut + 1);
    // "C:\x.png" and "\x.png": the root keeps its backslash.
    if (cut == 0 || (cut == 2 && fileName[1] == L':')) return fileName.substr(0, cut + 1);
    return fileName.substr(0, cut);
}

PrintPlacement printPlacement(int imageWidth, int imageHeight, int screenDpiX, int screenDpiY, int printerDpiX,
                              int printerDpiY, int scalePercent, int pageWidth, int pageHeight) {
    if (scalePercent <= 0) scalePercent = 100;
    if (screenDpiX <= 0) screenDpiX = 96;
    if (screenDpiY <= 0) screenDpiY = 96;
    const double fx = static_cast<double>(printerDpiX * 100 / scalePercent) / screenDpiX;
    const double fy = static_cast<double>(printerDpiY * 100 / scalePercent) / screenDpiY;
    double w = static_cast<int>(imageWidth * fx);
    double h = static_cast<int>(imageHeight * fy);
    if (pageWidth > 0 && pageHeight > 0) {
        const double r = std::max(w / pageWidth, h / pageHeight);
        if (r > 1.0) {
            w = static_cast<int>(w / r);
            h = static_cast<int>(h / r);
        }
    }
    PrintPlacement p;
    p.width = static_cast<int>(w);
    p.height = static_cast<int>(h);
    p.x = (pageWidth - p.width) / 2;
    p.y = (pageHeight - p.height) / 2;
    return p;
}

}  // namespace hueloom::editing
