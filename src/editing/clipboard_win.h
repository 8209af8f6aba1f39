// The working image on the clipboard: copy as a bitmap (with its palette
// when it has one), copy as an enhanced metafile, and paste of a bitmap or
// metafile picture. Other programs see what the system derives from these
// (a DIB from the bitmap, a metafile picture from the enhanced metafile).
//
// The main window keeps one ImageClipboard beside its ImageExport:
//     void mnuCopyBMPClick() { clipboard_.mnuCopyBMPClick(); }   // etc.
#pragma once
#include <windows.h>

#include "image/dib.h"
#include "editing/export_win.h"

namespace hueloom::editing {

class ImageClipboard {
public:
    explicit ImageClipboard(ImageOutputHost& host) : host_(host) {}

    // "コピー・BMP": an independent copy of the working image as CF_BITMAP,
    // plus a copy of its palette as CF_PALETTE for palette images. Does
    // nothing without a working image.
    void mnuCopyBMPClick();
    // "コピー・EMF": the working image recorded as the metafile writer
    // records it (the swatch grid in colour-list mode), as CF_ENHMETAFILE.
    void mnuCopyEMFClick();
    // "ペースト" (Ctrl+V): nothing while the magnifier runs; otherwise clears
    // the undo state and replaces the working image by the clipboard's
    // bitmap, then by its metafile picture (which wins when both are there).
    void mnuPasteClick();

    // Whether paste has something to take (the menu state of "ペースト").
    static bool canPaste();

private:
    ImageOutputHost& host_;
};

// Pixel size of an enhanced metafile: its picture frame converted with its
// reference device's pixels per millimetre. Throws when it has no usable size.
SIZE metafilePixelSize(HENHMETAFILE emf);
// The metafile played into a white 32-bit picture of metafilePixelSize,
// into the rectangle (0, 0)–(width − 1, height − 1).
image::Dib pictureFromMetafile(HENHMETAFILE emf);

}  // namespace hueloom::editing
