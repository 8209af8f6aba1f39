// Writing the working image out: the picture save dialog (with a preview of
// the file under selection), the BMP / JPEG / PNG / EMF / WMF writers and the
// save command that ties them together. Also the piece the clipboard copy
// shares with the metafile writer: the working image recorded as an enhanced
// metafile.
//
// Everything the commands need from the main window comes through
// ImageOutputHost, so the window's menu handlers are one-liners:
//
//     ImageExport export_{host};        // one for the window's lifetime
//     void mnuImgSaveClick() { export_.mnuImgSaveClick(); }
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editing/output.h"
#include "image/dib.h"
#include "settings/settings.h"
#include "toolkit/file_types_win.h"
#include "toolkit/gdi_win.h"

namespace hueloom::editing {

// What the image output commands (save, clipboard, print) need from the
// window that owns the working image.
class ImageOutputHost {
public:
    virtual ~ImageOutputHost() = default;

    // Owner of dialogs and message boxes; its window rectangle places the
    // information boxes (left = its left + width, top = its top).
    virtual HWND owner() = 0;
    // The working image, or null when there is none.
    virtual const image::Dib* workingImage() = 0;
    // True while the working image is the picture of the picked-colour list.
    virtual bool colourListMode() = 0;
    // Draws the swatch grid of the picked-colour list as vectors (filled
    // rectangles) into `dc`, laid out for a picture of width × height.
    virtual void drawColourList(HDC dc, int width, int height) = 0;
    // The running settings (InitialDirImg, JPGQuality, PNGQuality, Msg_ID3,
    // ActiveColor for the information boxes).
    virtual settings::Settings& settings() = 0;
    // Hot-key scope: true while "いつでも有効" is checked. Switching runs the
    // scope command as if its menu item had been clicked.
    virtual bool systemWideHotKeys() = 0;
    virtual void setSystemWideHotKeys(bool on) = 0;
    // Raised for the time the picture save dialog is open.
    virtual void setSavePictureDialogOpen(bool open) = 0;
    // Paste: ignored while the magnifier runs; clears UndoAvailable; the
    // pasted picture replaces the working image and ends colour-list mode.
    virtual bool magnifierRunning() = 0;
    virtual void forgetUndo() = 0;
    virtual void replaceWorkingImage(image::Dib image) = 0;
};

// ------------------------------------------------------------- metafiles

using EnhMetaFile = tk::EnhMetaFile;

// Records a width × height picture into an enhanced metafile whose reference
// device is the screen and whose frame is that size in hundredths of a
// millimetre at the screen's physical resolution. `draw` paints it. With a
// `file`, the system writes the records into it as they come (nothing of the
// metafile is kept in memory).
EnhMetaFile recordMetafile(int width, int height, const std::function<void(HDC)>& draw, const wchar_t* file = nullptr);

// The working image as a metafile: the swatch grid in colour-list mode,
// otherwise the bitmap stretched to (0, 0)–(width + 1, height + 1).
EnhMetaFile workingImageMetafile(ImageOutputHost& host, const wchar_t* file = nullptr);

// ---------------------------------------------------------------- writers

// Each writer throws (ImageError or std::runtime_error, text in UTF-8) when
// the file cannot be written.
void writeBitmapFile(const image::Dib& image, const std::wstring& fileName);
void writeJpegFile(const image::Dib& image, int jpgQuality, const std::wstring& fileName);
// pngQuality is the PNGQuality setting (0..3; others give zlib's default).
void writePngFile(const image::Dib& image, int pngQuality, const std::wstring& fileName);
// An enhanced metafile as it is, or for a ".wmf" name a placeable Windows
// metafile (22-byte header, 96 units per inch, then the metafile converted
// in the anisotropic mapping mode against the screen).
void writeMetafileFile(HENHMETAFILE emf, int width, int height, const std::wstring& fileName);
// The working image's enhanced metafile recorded straight into the file,
// through the atomic writer: a big picture is not held once more as a
// metafile in memory and again as the file's bytes.
void writeWorkingImageMetafileFile(ImageOutputHost& host, const std::wstring& fileName);

// ---------------------------------------------------------------- dialog

// The platform's save dialog with a preview pane on the right showing the
// picture file under selection and its size.
class TSavePictureDialog {
public:
    using FilterEntry = tk::FileType;

    std::wstring Title;
    std::wstring DefaultExt;
    std::wstring FileName;
    std::wstring InitialDir;
    std::vector<FilterEntry> Filter;
    int FilterIndex = 1;  // counted from 1
    // Called on every change of the selection in the running dialog.
    std::function<void()> OnSelectionChange;
    // Called once the running dialog is ready (the dialog's own window).
    std::function<void(HWND)> OnShow;

    // Runs the dialog modally; true when a name was confirmed (FileName then
    // holds it, FilterIndex the filter chosen last).
    bool Execute(HWND owner);

    // The running dialog's window, or null.
    HWND handle() const { return dialog_; }
    // Sets the default extension, at once in the running dialog too.
    void setDefaultExt(const std::wstring& ext);
    // The filter chosen right now (while running), else FilterIndex.
    int currentFilterIndex() const;
    // The file the preview shows (empty when none) and the text below it.
    const std::wstring& previewFile() const { return previewFile_; }
    const std::wstring& previewText() const { return previewText_; }

private:
    static UINT_PTR CALLBACK hookProc(HWND, UINT, WPARAM, LPARAM);
    void selectionChanged(HWND hook);
    void drawPreview(const DRAWITEMSTRUCT& di);

    HWND dialog_ = nullptr;
    HWND hook_ = nullptr;
    const OPENFILENAMEW* ofn_ = nullptr;
    std::wstring previewFile_, previewText_;
    EnhMetaFile preview_;  // the picture under selection, as a metafile
    SIZE previewSize_{};
    wchar_t defExtBuffer_[16] = {};  // what the running dialog was given
};

// ---------------------------------------------------------------- command

class ImageExport {
public:
    explicit ImageExport(ImageOutputHost& host);

    // "画像の保存": the whole save command (no-image box, hot-key scope,
    // dialog, writer, confirmation, InitialDirImg).
    void mnuImgSaveClick();
    // Sets the default extension from the filter chosen in the running dialog.
    void SavePictureDialog1SelectionChange();
    // Writes the working image to `fileName` in the format its extension
    // names, then confirms; false (nothing written) for an unknown extension.
    bool saveAs(const std::wstring& fileName);

    TSavePictureDialog SavePictureDialog1;

private:
    void confirmSaved(const std::wstring& fileName);
    POINT boxPosition() const;

    ImageOutputHost& host_;
};

}  // namespace hueloom::editing
