// The rules of image output that need no window: the file format a chosen
// name asks for, the folder the save dialog remembers, metafile units and
// where the printed image goes on the page.
#pragma once
#include <string>

namespace hueloom::editing {

enum class ExportFormat { None, Bmp, Jpeg, Png, Emf, Wmf };

// Format by the file name's extension (from its last dot, any case):
// .bmp .jpg .png .emf .wmf; anything else, or none, is None.
ExportFormat exportFormatFor(const std::wstring& fileName);

// Folder part of a chosen file name as InitialDirImg keeps it: up to the last
// '\' or ':', without the trailing '\' unless it is a drive root.
std::wstring imageFolderOf(const std::wstring& fileName);

// Pixels of a device of `devicePixels` pixels across `deviceMm` millimetres,
// in hundredths of a millimetre (integer arithmetic, truncated).
constexpr int pixelsToHundredthsMm(int pixels, int deviceMm, int devicePixels) {
    return devicePixels <= 0 ? 0 : static_cast<int>(static_cast<long long>(pixels) * deviceMm * 100 / devicePixels);
}

// Where the image goes on the page, in printer pixels.
struct PrintPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PrintPlacement&) const = default;
};

// The size rule: the image at its screen size (screen dpi → printer dpi,
// corrected by the driver's scale in percent), shrunk with its aspect kept
// when it does not fit the page, never enlarged, centred.
PrintPlacement printPlacement(int imageWidth, int imageHeight, int screenDpiX, int screenDpiY, int printerDpiX,
                              int printerDpiY, int scalePercent, int pageWidth, int pageHeight);

}  // namespace hueloom::editing
