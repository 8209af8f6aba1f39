// The selection on the working image and the commands on it: crop to it,
// fill it, pixelate it. The selection is made as on the rectangle capture's
// overlay (the same state machine, look and keys), in the picture's pixels.
#include <windows.h>

#include "main/magnify_win.h"
#include "capture/selection.h"
#include "dialogs/options/option_win.h"
#include "editing/region_edits.h"
#include "image/image_error.h"
#include "toolkit/application_win.h"

namespace hueloom::app {

using hueloom::image::Dib;

bool TfrmMagnify::canSelect() const {
    return model_.layout() == Layout::Image && hasWorkingImage() && !colourListMode_ && !busy();
}

std::optional<hueloom::Rect> TfrmMagnify::selectedRect() const {
    if (!hasWorkingImage() || colourListMode_ || selection_.state() != capture::selShown) return std::nullopt;
    const hueloom::Rect r = editing::clipToPicture(selection_.rect(), workingImage_.width(), workingImage_.height());
    if (r.width() <= 0) return std::nullopt;
    return r;
}

void TfrmMagnify::clearSelection() {
    if (selection_.state() == capture::selEmpty && !selectionLabel_.visible()) return;
    selection_.startOver();
    selectionLabel_.hide();
    Image1.invalidate();
}

void TfrmMagnify::selectionMouseDown(int x, int y) {
    if (!canSelect()) return;
    const hueloom::Rect before = selection_.rect();
    const unsigned repaints = selection_.repaints();
    if (selection_.state() == capture::selShown) {
        // A press away from the rectangle and its edges starts a new one.
        if (!selectedRect() || capture::hitZone(selection_.rect(), x, y) < 0) selection_.startOver();
        selection_.mouseMove(x, y);  // picks what the drag does
    }
    selection_.mouseDown(MouseButton::Left, x, y);
    SetCapture(Image1.hwnd());
    showSelection(before, repaints, false);
}

void TfrmMagnify::selectionMouseMove(int x, int y) {
    if (!canSelect() || GetCapture() != Image1.hwnd()) return;
    const hueloom::Rect before = selection_.rect();
    const unsigned repaints = selection_.repaints();
    selection_.mouseMove(x, y);
    showSelection(before, repaints, selection_.state() == capture::selTracking && selection_.grabZone() == 4);
}

void TfrmMagnify::selectionMouseUp(int x, int y) {
    if (GetCapture() != Image1.hwnd()) return;
    ReleaseCapture();
    if (!canSelect()) return;
    const hueloom::Rect before = selection_.rect();
    const unsigned repaints = selection_.repaints();
    selection_.mouseUp(x, y);
    showSelection(before, repaints, false);
}

bool TfrmMagnify::selectionKey(WORD vk) {
    if (!canSelect() || selection_.state() == capture::selEmpty) return false;
    if (vk == VK_ESCAPE) {
        clearSelection();
        return true;
    }
    const capture::Key key = capture::keyOfVirtualKey(vk);
    if (key == capture::Key::Other || key == capture::Key::Return) return false;
    const hueloom::Rect before = selection_.rect();
    const unsigned repaints = selection_.repaints();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    selection_.keyDown(key, GetKeyState(VK_SHIFT) < 0, ctrl);
    selection_.keyUp(key);  // each press is a step of its own: the label shows at once
    showSelection(before, repaints, !ctrl);
    return true;
}

void TfrmMagnify::showSelection(const hueloom::Rect& before, unsigned repaintsBefore, bool move) {
    const int w = workingImage_.width(), h = workingImage_.height();
    // Drawn and resized at the picture's edges, moved back onto it.
    selection_.setRect(move ? editing::keepOnPicture(selection_.rect(), w, h)
                            : editing::clipToPicture(selection_.rect(), w, h));
    if (!(before == selection_.rect()) || repaintsBefore != selection_.repaints()) Image1.invalidate();
    const std::optional<hueloom::Rect> r = selectedRect();
    if (!selection_.labelVisible() || !r) {
        selectionLabel_.hide();
        return;
    }
    selectionLabel_.setCaption(tk::widen(capture::sizeLabelText(*r), CP_UTF8));
    const hueloom::Point p =
        capture::placeSizeLabel(*r, selectionLabel_.width(), selectionLabel_.height(), std::max(w, 1), std::max(h, 1));
    selectionLabel_.setBounds(p.x, p.y, selectionLabel_.width(), selectionLabel_.height());
    selectionLabel_.show();
    selectionLabel_.invalidate();
}

void TfrmMagnify::drawSelection(HDC dc, const RECT& part) {
    if (selection_.state() == capture::selEmpty || colourListMode_) return;
    const RECT r = tk::toRECT(selection_.rect());
    if (selection_.view() == capture::View::Masked && selectedRect()) {
        // As on the rectangle capture's overlay: the rest of the picture
        // dimmed by the mask colour (AND), the rectangle's own border black.
        tk::SavedDC saved(dc);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        tk::Brush mask(CreateSolidBrush(tk::resolveColour(settings.MaskColor)));
        SelectObject(dc, mask);
        constexpr DWORD kDestAndPattern = 0x00A000C9;  // DPa
        PatBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, kDestAndPattern);
        SelectClipRgn(dc, nullptr);
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (selection_.focusVisible()) DrawFocusRect(dc, &r);
}

// ------------------------------------------------------------------ commands

void TfrmMagnify::mnuImgCropClick() {
    const std::optional<hueloom::Rect> r = selectedRect();
    if (!r || busy()) return;
    hueloom::image::withPictureMemory(r->width(), r->height(), [&] {
        Dib cut = capture::cutRect(workingImage_, *r);
        TakeSnapshot();
        setWorkingImage(samePicture(std::move(cut)));
    });
}

void TfrmMagnify::editSelection(const std::function<void(Dib&, const hueloom::Rect&)>& edit) {
    // The menu's commands wait while another runs (unlessBusy); a filter on
    // the part comes here from within its own run.
    const std::optional<hueloom::Rect> r = selectedRect();
    if (!r) return;
    hueloom::image::withPictureMemory(workingImage_.width(), workingImage_.height(), [&] {
        const bool widen = workingImage_.bitsPerPixel() != 24 && workingImage_.bitsPerPixel() != 32;
        Dib wide = widen ? editing::editable(workingImage_) : Dib();
        TakeSnapshot();
        if (widen) {
            edit(wide, *r);
            setWorkingImage(samePicture(std::move(wide)), true);
        } else {
            edit(workingImage_, *r);  // in place: no second picture
            ++pictureVersion_;
            writeAheadSoon();
            Image1.invalidate();
        }
    });
}

void TfrmMagnify::mnuImgFillClick() {
    const COLORREF c = tk::resolveColour(settings.fillColor());
    editSelection([c](Dib& picture, const hueloom::Rect& r) {
        editing::fillRect(picture, r, GetRValue(c), GetGValue(c), GetBValue(c));
    });
}

void TfrmMagnify::mnuImgPixelateClick() {
    const int block = settings.mosaicSize();
    editSelection([block](Dib& picture, const hueloom::Rect& r) { editing::pixelate(picture, r, block); });
}

void TfrmMagnify::mnuImgFillColorClick() {
    unsigned colour = settings.fillColor();
    if (hueloom::dialogs::ChooseColorDialog(hwnd_, colour)) settings.FillColor = colour;
}

}  // namespace hueloom::app
