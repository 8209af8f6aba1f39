// Printing the working image on one page: at its size on the screen, shrunk
// to the printable area when larger, centred. PagePrinter wraps the system's
// printers; ImagePrint is the menu command.
//
// The main window keeps one ImagePrint beside its ImageExport:
//     void mnuPrintImageClick() { print_.mnuPrintImageClick(); }
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "image/dib.h"
#include "editing/export_win.h"

namespace hueloom::editing {

// Draws the image as 24-bit colour (palette images in their palette's
// colours) stretched into `target` of a page.
void drawImageOnPage(HDC page, const image::Dib& image, const PrintPlacement& target);

class PagePrinter {
public:
    struct PrinterInfo {
        std::wstring name;
        DWORD attributes = 0;
    };

    PagePrinter() { refresh(); }
    ~PagePrinter();
    PagePrinter(const PagePrinter&) = delete;
    PagePrinter& operator=(const PagePrinter&) = delete;

    // Enumerates the local and connected printers again.
    void refresh();
    const std::vector<PrinterInfo>& printers() const { return printers_; }
    // The system announced changed settings: re-read the printers and drop
    // the cached device when the list differs.
    void settingsChanged();

    // The printer chosen in a confirmed print dialog (takes the DC over;
    // the device mode is copied).
    void select(HDC printerDc, const DEVMODEW* devMode);
    // Each query throws when there is no printer to ask.
    SIZE pageSize() const;  // HORZRES, VERTRES
    SIZE resolution() const;  // LOGPIXELSX, LOGPIXELSY
    int scale() const;  // the device mode's scale when valid, else 100
    HDC canvas() const;
    void beginDoc(const std::wstring& title);
    void endDoc();
    void abortDoc();
    bool printing() const { return printing_; }

    // Dialog state kept between runs (device mode and names of the printer
    // chosen last); owned global memory handles.
    HGLOBAL devModeHandle = nullptr;
    HGLOBAL devNamesHandle = nullptr;

private:
    void check() const;
    std::vector<PrinterInfo> printers_;
    HDC dc_ = nullptr;
    std::vector<BYTE> devMode_;
    bool printing_ = false;
};

class ImagePrint {
public:
    static constexpr const wchar_t* kJobTitle = L"Hueloom Print Image";

    explicit ImagePrint(ImageOutputHost& host) : host_(host) {}

    // "画像を印刷": print dialog, then one job with the image on one page.
    // Throws "no printer" before any dialog when none is installed.
    void mnuPrintImageClick();
    // Runs the standard print dialog; on OK the chosen printer becomes
    // Printer's device. False when cancelled.
    bool PrintDialog1Execute();
    // Prints the working image through Printer's current device.
    void printWorkingImage();

    PagePrinter Printer;

private:
    ImageOutputHost& host_;
};

}  // namespace hueloom::editing
