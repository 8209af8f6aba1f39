// Capture commands: the whole screen, the active window, a rectangle chosen
// on a frozen copy of the screen. Each hides the program, waits SleepTime,
// grabs the pixels (optionally with the pointer's cursor) and makes them the
// working image in the image layout.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include <commdlg.h>

#include "main/magnify_win.h"
#include "capture/cursors_win.h"
#include "capture/grab_win.h"
#include "capture/rect_overlay_win.h"
#include "capture/selection.h"
#include "image/bmp.h"
#include "image/win/dib_win.h"
#include "image/image_error.h"
#include "toolkit/application_win.h"
#include "toolkit/monitors_win.h"
#include "toolkit/trace_win.h"
#include "dialogs/infobox/info_box_win.h"
#include "core/texts.h"

namespace hueloom::app {

using hueloom::image::Dib;

namespace {

const wchar_t* captureInfo() { return hueloom::wideText("main.capture.1"); }

}  // namespace

void TfrmMagnify::mnuScreenCaptureClick() {
    DoCapture(CaptureKind::Screen);
    setText(hueloom::wideText("main.capture.2"));
}

void TfrmMagnify::mnuWindowCaptureClick() {
    DoCapture(CaptureKind::Window);
    setText(hueloom::wideText("main.capture.3"));
}

void TfrmMagnify::DoCapture(CaptureKind kind) {
    if (overlayOpen_) return;
    // Hide the program and give the other windows time to repaint; the
    // layout changes to the image layout while nothing of it is on show.
    tk::app().showTaskbarButton(false);
    ShowWindow(hwnd_, SW_HIDE);
    colourListMode_ = false;
    StopMagnifier();
    tk::app().processMessages();
    tk::trace("capture-hidden");
    // A negative delay (the options accept any integer) waits not at all.
    Sleep(static_cast<DWORD>(std::max(0, settings.SleepTime)));

    Dib image;
    struct ShowAgain {
        TfrmMagnify* self;
        ~ShowAgain() {
            tk::app().showTaskbarButton(true);
            ShowWindow(self->hwnd(), SW_SHOW);
        }
    };
    {
        ShowAgain showAgain{this};
        hueloom::Rect area;
        auto grab = [&](HWND window) {
            RECT r{};
            GetWindowRect(window, &r);
            area = {r.left, r.top, r.right, r.bottom};
            return capture::grabWindow(window, settings.flgCursorCapture);
        };
        switch (kind) {
        case CaptureKind::Screen: image = grab(GetDesktopWindow()); break;
        case CaptureKind::Window: image = grab(GetForegroundWindow()); break;
        case CaptureKind::Rectangle: image = captureRectangle(area); break;
        }
        tk::trace("capture-grabbed");
        prepareCapture(image, area);
        tk::trace("capture-prepared");
        setWorkingImage(std::move(image));
        ForgetUndo();
    }
    tk::trace("capture-shown");

    if (!settings.message(settings::Message::CaptureNote)) {
        RECT r = bounds();
        settings.message(settings::Message::CaptureNote) = hueloom::dialogs::ShowInfoBox(
            hueloom::wideText("main.capture.4"), captureInfo(), r.right, r.top, true, settings.ActiveColor);
    }
    reapplySwitches();
}

void TfrmMagnify::mnuRectCaptureClick() {
    if (RectCaptureBusy || savePictureDialogOpen) return;
    tk::app().setTitle(L"Hueloom");
    RECT r = bounds();
    hueloom::capture::ShowRectCaptureInstructions(settings, r.right, r.top);
    DoCapture(CaptureKind::Rectangle);
    setText(hueloom::wideText("main.capture.5"));
}

Dib TfrmMagnify::captureRectangle(hueloom::Rect& area) {
    RectCaptureBusy = true;
    struct Done {
        TfrmMagnify* f;
        ~Done() {
            f->RectCaptureBusy = false;
            f->overlayOpen_ = false;
        }
    } done{this};
    // The frozen copy covers every monitor and includes the cursor when
    // flgCursorCapture is on; the selection comes back in screen coordinates.
    const hueloom::Rect desktop = tk::virtualScreen();
    Dib screen = capture::grabScreenRect(desktop, settings.flgCursorCapture);
    overlayOpen_ = true;
    std::optional<hueloom::Rect> sel = capture::SelectRectangle(screen, desktop, settings);
    if (!sel) return Dib();
    area = *sel;
    return hueloom::capture::cutRect(screen, hueloom::screenToClient(*sel, desktop));
}

// ------------------------------------------------------------------ cursors

void TfrmMagnify::applyCaptureCursor() { Image1.setCursor(hueloom::capture::cursorForIndex(settings.CaptureCursor)); }

void TfrmMagnify::mnuLoadCursorClick() {
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{sizeof(ofn)};
    ofn.hwndOwner = hwnd_;
    const std::wstring filter = std::wstring(hueloom::wideText("main.capture.6")) + L'\0' + L"*.cur;*.ani" + L'\0';
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = L"cur";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn)) return;
    // A file that is no cursor leaves the slot empty: the arrow shows.
    Image1.setCursor(hueloom::capture::loadFileCursor(file));
}

void TfrmMagnify::Image1MouseDown(int button, int x, int y, WPARAM keys) {
    if (busy()) return;
    if (button == MK_LBUTTON && !(keys & MK_SHIFT)) {
        selectionMouseDown(x, y);
        return;
    }
    HCURSOR c = GetCursor();
    if (!(keys & MK_SHIFT) || !c) return;
    if (hasWorkingImage()) {
        TakeSnapshot();
        setWorkingImage(samePicture(capture::stampCursor(workingImage_, c, x, y)));
    } else if (model_.sample() && view_) {
        // The magnifier's view: snapshot it and draw; the next sampling step
        // draws over it again.
        hueloom::image::saveBmp(hueloom::image::dibFromBitmap(view_.handle()), std::filesystem::path(undoPath()));
        UndoAvailable = true;
        capture::stampCursor(view_.handle(), c, x, y);
    }
    ScrollBox1.invalidate();
    Image1.invalidate();
}

}  // namespace hueloom::app
